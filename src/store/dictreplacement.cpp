// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictreplacement.h"

#include "snapshot.h"

#include <QDir>
#include <QFileInfo>

#include <db.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantro {
namespace {

constexpr const char *kInfix = ".new-";

QString systemText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

QString libraryText(int code)
{
    return QString::fromLocal8Bit(db_strerror(code));
}

DBT dbtOf(QByteArrayView bytes)
{
    DBT dbt{};
    dbt.data = const_cast<char *>(bytes.constData());
    dbt.size = u_int32_t(bytes.size());
    return dbt;
}

} // namespace

// The block of records waiting for the library's bulk put.
struct cDictDB::Replacement::Bulk
{
    QByteArray bytes = QByteArray(kBulkBytes, Qt::Uninitialized);
    DBT dbt{};
    void *at = nullptr;
    int pending = 0;
};

cDictDB::Replacement::Replacement(const QByteArray &dbPath)
    : m_dbPath(dbPath), m_bulk(std::make_unique<Bulk>())
{
}

cDictDB::Replacement::~Replacement()
{
    if (m_db)
        m_db->close(m_db, DB_NOSYNC);
    if (!m_finished && !m_path.isEmpty())
        ::unlink(m_path.constData());
}

void cDictDB::Replacement::removeStale(const QByteArray &dbPath)
{
    const QFileInfo db(QString::fromLocal8Bit(dbPath));
    const QString pattern = db.fileName() + QLatin1String(kInfix) + QStringLiteral("??????");
    const QDir dir = db.absoluteDir();
    for (const QString &name : dir.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System))
        ::unlink(QFile::encodeName(dir.filePath(name)).constData());
}

bool cDictDB::Replacement::create(QString *error)
{
    struct stat dictionary;
    if (::stat(m_dbPath.constData(), &dictionary) != 0)
        return failWith(error, systemText(errno));
    QByteArray name = m_dbPath + kInfix + "XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return failWith(error, systemText(errno));
    m_path = name;
    // The new file is the dictionary to be: the same mode, owner and group where allowed.
    const bool moded = ::fchmod(fd, dictionary.st_mode & 07777) == 0;
    const int modeError = errno;
    if (::fchown(fd, dictionary.st_uid, dictionary.st_gid) != 0) {
        // Where the owner cannot be kept the group may still be; where neither can, the file
        // keeps the process's own, as any new file would.
        const int groupKept = ::fchown(fd, uid_t(-1), dictionary.st_gid);
        static_cast<void>(groupKept);
    }
    ::close(fd);
    if (!moded)
        return failWith(error, systemText(modeError));

    if (const int ret = db_create(&m_db, nullptr, 0); ret != 0) {
        m_db = nullptr;
        return failWith(error, libraryText(ret));
    }
    m_db->set_cachesize(m_db, 0, kCacheBytes, 1);
    // An import gives an older dictionary page checksums, as every file made here has.
    m_db->set_flags(m_db, DB_CHKSUM);
    // The library says on the standard error stream that the empty file it is given has no
    // known format, and then creates the database in it as asked.
    m_db->set_errcall(m_db, [](const DB_ENV *, const char *, const char *) {});
    const int ret = m_db->open(m_db, nullptr, m_path.constData(), nullptr, DB_BTREE, DB_CREATE,
                               dictionary.st_mode & 0777);
    m_db->set_errcall(m_db, nullptr);
    return ret == 0 || failWith(error, libraryText(ret));
}

// Records go to the library a block at a time (its bulk put): one call per block rather than
// one per record, which is what a load of a million small records spends most of its calls on.
bool cDictDB::Replacement::put(QByteArrayView key, QByteArrayView data, QString *error)
{
    const int ret = putRecord(key, data);
    return ret == 0 || failWith(error, errorText(ret));
}

int cDictDB::Replacement::putRecord(QByteArrayView key, QByteArrayView data)
{
    Bulk &bulk = *m_bulk;
    if (bulk.pending == 0) {
        bulk.dbt = DBT{};
        bulk.dbt.data = bulk.bytes.data();
        bulk.dbt.ulen = u_int32_t(bulk.bytes.size());
        bulk.dbt.flags = DB_DBT_USERMEM | DB_DBT_BULK;
        DB_MULTIPLE_WRITE_INIT(bulk.at, &bulk.dbt);
    }
    // An empty view may hold no pointer at all; the library copies from it all the same.
    const char *keyBytes = key.isEmpty() ? "" : key.constData();
    const char *dataBytes = data.isEmpty() ? "" : data.constData();
    DB_MULTIPLE_KEY_WRITE_NEXT(bulk.at, &bulk.dbt, keyBytes, size_t(key.size()), dataBytes,
                               size_t(data.size()));
    if (bulk.at) {
        ++bulk.pending;
        return 0;
    }
    // The block is full: it goes first, and a record too large for an empty block goes alone.
    if (const int ret = putPending(); ret != 0)
        return ret;
    if (qsizetype(key.size() + data.size()) + 64 < bulk.bytes.size())
        return putRecord(key, data);
    DBT dbKey = dbtOf(key);
    DBT dbData = dbtOf(data);
    const int ret = m_db->put(m_db, nullptr, &dbKey, &dbData, 0);
    m_written += ret == 0 ? 1 : 0;
    return ret;
}

int cDictDB::Replacement::putPending()
{
    Bulk &bulk = *m_bulk;
    if (bulk.pending == 0)
        return 0;
    DBT ignored{};
    const int ret = m_db->put(m_db, nullptr, &bulk.dbt, &ignored, DB_MULTIPLE_KEY);
    m_written += ret == 0 ? bulk.pending : 0;
    bulk.pending = 0;
    return ret;
}

bool cDictDB::Replacement::finish(QString *error)
{
    int ret = putPending();
    if (ret == 0)
        ret = m_db->sync(m_db, 0);
    const int closed = m_db->close(m_db, 0);
    m_db = nullptr;
    if (ret == 0)
        ret = closed;
    if (ret != 0)
        return failWith(error, libraryText(ret));
    const int fd = ::open(m_path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0 || ::fdatasync(fd) != 0) {
        const int code = errno;
        if (fd >= 0)
            ::close(fd);
        return failWith(error, systemText(code));
    }
    ::close(fd);
    return true;
}

} // namespace vantro
