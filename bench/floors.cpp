// SPDX-License-Identifier: GPL-3.0-or-later
#include "floors.h"

#include "benchdata.h"

#include <QFile>
#include <db.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace vantro::bench {
namespace {

DB *openFile(const QString &file, unsigned cacheBytes = 0)
{
    DB *dbp = nullptr;
    if (db_create(&dbp, nullptr, 0) != 0)
        std::abort();
    if (cacheBytes > 0 && dbp->set_cachesize(dbp, 0, cacheBytes, 1) != 0)
        std::abort();
    if (dbp->open(dbp, nullptr, QFile::encodeName(file).constData(), nullptr, DB_BTREE, DB_CREATE,
                  0664) != 0)
        std::abort();
    return dbp;
}

DBT dbtOf(const QByteArray &bytes)
{
    DBT dbt{};
    dbt.data = const_cast<char *>(bytes.constData());
    dbt.size = u_int32_t(bytes.size());
    return dbt;
}

} // namespace

PutSyncFloor::PutSyncFloor(const QString &file) : m_db(openFile(file)) {}

PutSyncFloor::~PutSyncFloor()
{
    for (const QByteArray &key : m_keys) {
        DBT dbKey = dbtOf(key);
        m_db->del(m_db, nullptr, &dbKey, 0);
    }
    m_db->close(m_db, 0);
}

double PutSyncFloor::secondsFor(const QByteArray &key)
{
    static const QByteArray data("floor measurement data");
    m_keys.append(key);
    DBT dbKey = dbtOf(key);
    DBT dbData = dbtOf(data);
    return secondsOf([&] {
        if (m_db->put(m_db, nullptr, &dbKey, &dbData, 0) != 0 || m_db->sync(m_db, 0) != 0)
            std::abort();
    });
}

FdatasyncFloor::FdatasyncFloor(const QString &file)
    : m_fd(::open(QFile::encodeName(file).constData(), O_RDWR | O_CREAT | O_TRUNC, 0644))
{
    if (m_fd < 0)
        std::abort();
}

FdatasyncFloor::~FdatasyncFloor()
{
    ::close(m_fd);
}

double FdatasyncFloor::seconds()
{
    return secondsOf([&] {
        m_block[0] = char(m_block[0] + 1);
        if (::pwrite(m_fd, m_block, sizeof m_block, 0) != ssize_t(sizeof m_block) ||
            ::fdatasync(m_fd) != 0)
            std::abort();
    });
}

double barePutSeconds(const QString &file, const QList<KeyData> &pairs, unsigned cacheBytes)
{
    QFile::remove(file);
    return secondsOf([&] {
        DB *dbp = openFile(file, cacheBytes);
        for (const KeyData &pair : pairs) {
            DBT dbKey = dbtOf(pair.first);
            DBT dbData = dbtOf(pair.second);
            dbp->put(dbp, nullptr, &dbKey, &dbData, 0);
        }
        dbp->sync(dbp, 0);
        dbp->close(dbp, 0);
    });
}

double bareWalkSeconds(const QString &file, qint64 &records, const QString &output)
{
    records = 0;
    return secondsOf([&] {
        DB *dbp = openFile(file);
        std::FILE *out =
            output.isEmpty() ? nullptr : std::fopen(QFile::encodeName(output).constData(), "w");
        DBC *cursor = nullptr;
        if (dbp->cursor(dbp, nullptr, &cursor, 0) != 0 || (!output.isEmpty() && !out))
            std::abort();
        DBT key{};
        DBT data{};
        while (cursor->get(cursor, &key, &data, DB_NEXT) == 0) {
            ++records;
            if (out) {
                std::fwrite(key.data, 1, key.size, out);
                std::fputc('\t', out);
                std::fwrite(data.data, 1, data.size, out);
                std::fputc('\n', out);
            }
        }
        cursor->close(cursor);
        dbp->close(dbp, 0);
        if (out && (std::fflush(out) != 0 || ::fdatasync(fileno(out)) != 0 || std::fclose(out)))
            std::abort();
    });
}

} // namespace vantro::bench
