// SPDX-License-Identifier: GPL-3.0-or-later
#include "verify.h"

#include "filelock.h"

#include <QFile>

#include <db.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantro {
namespace {

// Flags of a B-tree's metadata page (the library keeps their names to itself): a file that allows
// duplicate keys, numbers its records or holds several databases is not a dictionary.
constexpr quint32 kDuplicates = 0x001;
constexpr quint32 kRecordNumbers = 0x002 | 0x010;
constexpr quint32 kSortedDuplicates = 0x040;
constexpr quint32 kSubdatabases = 0x020;

quint32 readWord(const unsigned char *at, bool swapped)
{
    quint32 value;
    std::memcpy(&value, at, sizeof value);
    return swapped ? __builtin_bswap32(value) : value;
}

QString flagsRefusal(quint32 flags)
{
    if (flags & (kDuplicates | kSortedDuplicates))
        return QStringLiteral("a B-tree with duplicate keys");
    if (flags & kRecordNumbers)
        return QStringLiteral("a record-number database, not a B-tree of words");
    if (flags & kSubdatabases)
        return QStringLiteral("a file of several databases");
    return {};
}

QStringList linesOf(const char *text, size_t length)
{
    QStringList lines = QString::fromLocal8Bit(text, qsizetype(length)).split(QLatin1Char('\n'));
    lines.removeAll(QString());
    return lines;
}

// The library's check passes some first pages that its open then refuses (a flag or a checksum
// it reads only there): the file is opened as the program opens it, read-only.
bool opensAsTheProgramDoes(const QByteArray &path, QStringList &messages)
{
    DB *dbp = nullptr;
    if (db_create(&dbp, nullptr, 0) != 0)
        return true;
    dbp->set_errcall(dbp, [](const DB_ENV *, const char *, const char *) {});
    const int ret = dbp->open(dbp, nullptr, path.constData(), nullptr, DB_BTREE, DB_RDONLY, 0);
    dbp->close(dbp, 0);
    if (ret != 0)
        messages << QStringLiteral("the library refuses to open it: %1")
                        .arg(QString::fromLocal8Bit(db_strerror(ret)));
    return ret == 0;
}

// DB->verify consumes the handle and must be given one that was never opened. Its reports go to a
// memory stream so that the caller decides how much of them to show.
VerifyReport checkFile(const QByteArray &path)
{
    VerifyReport report;
    DB *dbp = nullptr;
    const int created = db_create(&dbp, nullptr, 0);
    if (created != 0) {
        report.messages
            << QStringLiteral("db_create: %1").arg(QString::fromLocal8Bit(db_strerror(created)));
        return report;
    }
    char *buffer = nullptr;
    size_t length = 0;
    FILE *sink = open_memstream(&buffer, &length);
    if (sink) {
        dbp->set_errfile(dbp, sink);
        dbp->set_msgfile(dbp, sink);
    }
    const int ret = dbp->verify(dbp, path.constData(), nullptr, nullptr, 0);
    if (sink) {
        std::fclose(sink);
        report.messages = linesOf(buffer, length);
        std::free(buffer);
    }
    if (ret == 0)
        report.verdict = opensAsTheProgramDoes(path, report.messages)
                             ? VerifyReport::Verdict::Consistent
                             : VerifyReport::Verdict::Damaged;
    else if (ret == DB_VERIFY_BAD || report.messages.isEmpty() == false)
        report.verdict = VerifyReport::Verdict::Damaged;
    if (ret != 0 && report.messages.isEmpty())
        report.messages << QString::fromLocal8Bit(db_strerror(ret));
    return report;
}

} // namespace

QString whyNotADictionary(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    struct stat info;
    unsigned char meta[64];
    QString why;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        why = QStringLiteral("not a regular file");
    else if (info.st_size == 0)
        why = QStringLiteral("the file is empty");
    else if (info.st_size < 512 || ::pread(fd, meta, sizeof meta, 0) != sizeof meta)
        why = QStringLiteral("the file is too short");
    ::close(fd);
    if (!why.isEmpty())
        return why;

    const quint32 magic = readWord(meta + 12, false);
    const bool swapped = magic == __builtin_bswap32(quint32(DB_BTREEMAGIC));
    if (magic != DB_BTREEMAGIC && !swapped)
        return magic == DB_HASHMAGIC || __builtin_bswap32(magic) == DB_HASHMAGIC
                   ? QStringLiteral("a hash database, not a B-tree")
                   : QStringLiteral("not a Berkeley DB B-tree file");
    const quint32 pageSize = readWord(meta + 20, swapped);
    if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
        return QStringLiteral("damaged header");
    if (const QString refusal = flagsRefusal(readWord(meta + 48, swapped)); !refusal.isEmpty())
        return refusal;
    const quint64 lastPage = readWord(meta + 32, swapped);
    if (info.st_size % pageSize != 0 || quint64(info.st_size) < (lastPage + 1) * pageSize)
        return QStringLiteral("truncated or damaged (its pages do not match its header)");
    return {};
}

VerifyReport verifyDictionary(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::stat(name.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return {VerifyReport::Verdict::NotADictionary, {QStringLiteral("not a regular file")}};
    FileLock lock;
    QString why;
    switch (lock.acquire(name, FileLock::Mode::Exclusive, &why)) {
    case FileLock::Result::Missing:
        return {VerifyReport::Verdict::Missing, {}};
    case FileLock::Result::Busy:
        return {VerifyReport::Verdict::Busy, {}};
    case FileLock::Result::Failed:
        return {VerifyReport::Verdict::Failed, {why}};
    case FileLock::Result::Locked:
        break;
    }
    if (::stat(name.constData(), &info) == 0 && info.st_size == 0)
        return {VerifyReport::Verdict::Empty, {}};
    if (const QString why = whyNotADictionary(name); !why.isEmpty())
        return {VerifyReport::Verdict::NotADictionary, {why}};
    return checkFile(name);
}

VerifyReport verifyLockedDictionary(const QByteArray &path)
{
    return checkFile(path);
}

} // namespace vantro
