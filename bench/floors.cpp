#include "floors.h"

#include "benchdata.h"

#include <QFile>
#include <db.h>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace vantro::bench {
namespace {

DB *openFile(const QString &file)
{
    DB *dbp = nullptr;
    if (db_create(&dbp, nullptr, 0) != 0)
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

double putSyncFloor(const QString &file, const QList<QByteArray> &newKeys)
{
    DB *dbp = openFile(file);
    const QByteArray data("floor measurement data bytes");
    QList<double> times;
    for (const QByteArray &key : newKeys) {
        DBT dbKey = dbtOf(key);
        DBT dbData = dbtOf(data);
        times.append(secondsOf([&] {
            dbp->put(dbp, nullptr, &dbKey, &dbData, 0);
            dbp->sync(dbp, 0);
        }));
    }
    for (const QByteArray &key : newKeys) {
        DBT dbKey = dbtOf(key);
        dbp->del(dbp, nullptr, &dbKey, 0);
    }
    dbp->close(dbp, 0);
    return median(times);
}

double barePutSeconds(const QString &file, const QList<KeyData> &pairs)
{
    QFile::remove(file);
    return secondsOf([&] {
        DB *dbp = openFile(file);
        for (const KeyData &pair : pairs) {
            DBT dbKey = dbtOf(pair.first);
            DBT dbData = dbtOf(pair.second);
            dbp->put(dbp, nullptr, &dbKey, &dbData, 0);
        }
        dbp->sync(dbp, 0);
        dbp->close(dbp, 0);
    });
}

double fdatasyncFloor(const QString &file, int runs)
{
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        std::abort();
    char block[4096] = {};
    const double seconds = medianSeconds(runs, [&] {
        block[0] = char(block[0] + 1);
        if (::pwrite(fd, block, sizeof block, 0) != ssize_t(sizeof block) || ::fdatasync(fd) != 0)
            std::abort();
    });
    ::close(fd);
    return seconds;
}

} // namespace vantro::bench
