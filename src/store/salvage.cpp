// SPDX-License-Identifier: GPL-3.0-or-later
#include "salvage.h"

#include "snapshot.h"

#include <QSet>

#include <db.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantro {
namespace {

QByteArray salvageDump(const QByteArray &path, u_int32_t flags)
{
    DB *dbp = nullptr;
    if (db_create(&dbp, nullptr, 0) != 0)
        return {};
    char *buffer = nullptr;
    size_t length = 0;
    FILE *out = open_memstream(&buffer, &length);
    // What the library says about each bad page would only bury the one line that matters.
    char *noiseBuffer = nullptr;
    size_t noiseLength = 0;
    FILE *noise = open_memstream(&noiseBuffer, &noiseLength);
    dbp->set_errfile(dbp, noise);
    dbp->set_msgfile(dbp, noise);
    if (out)
        dbp->verify(dbp, path.constData(), nullptr, out, flags);
    else
        dbp->close(dbp, 0);
    if (noise)
        std::fclose(noise);
    std::free(noiseBuffer);
    if (!out)
        return {};
    std::fclose(out);
    QByteArray dump(buffer, qsizetype(length));
    std::free(buffer);
    return dump;
}

// The page size a B-tree's first page names, or 0 when it names none that can be.
quint32 pageSizeOf(const QByteArray &path)
{
    unsigned char meta[24];
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    const bool read = fd >= 0 && ::pread(fd, meta, sizeof meta, 0) == sizeof meta;
    if (fd >= 0)
        ::close(fd);
    quint32 size = 0;
    if (read)
        std::memcpy(&size, meta + 20, sizeof size);
    return size >= 512 && size <= 65536 && (size & (size - 1)) == 0 ? size : 0;
}

// A copy of the file at path whose first page is the metadata page of a new, empty B-tree of the
// same page size, naming every page the file holds: the salvage needs a readable first page to
// find the others, and a B-tree's root is always its second page.
QByteArray withFreshMetadata(const QByteArray &path, quint32 pageSize)
{
    QByteArray copy;
    const int created = createTemporaryBeside(path, copy, ".salvage-");
    if (created < 0)
        return {};
    ::close(created);
    ::unlink(copy.constData());
    DB *dbp = nullptr;
    if (db_create(&dbp, nullptr, 0) != 0)
        return {};
    dbp->set_pagesize(dbp, pageSize);
    const int opened =
        dbp->open(dbp, nullptr, copy.constData(), nullptr, DB_BTREE, DB_CREATE | DB_EXCL, 0600);
    if (dbp->close(dbp, 0) != 0 || opened != 0) {
        ::unlink(copy.constData());
        return {};
    }
    QByteArray meta(qsizetype(pageSize), '\0');
    const int to = ::open(copy.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    const int from = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    struct stat info
    {
    };
    bool done = to >= 0 && from >= 0 && ::fstat(from, &info) == 0 &&
                ::pread(to, meta.data(), pageSize, 0) == qint64(pageSize);
    const quint32 lastPage = quint32(info.st_size / pageSize) - 1;
    std::memcpy(meta.data() + 32, &lastPage, sizeof lastPage);
    char block[1 << 16];
    for (off_t at = 0; done;) {
        const ssize_t got = ::pread(from, block, sizeof block, at);
        if (got <= 0)
            break;
        done = ::pwrite(to, block, size_t(got), at) == got;
        at += got;
    }
    done = done && ::pwrite(to, meta.constData(), pageSize, 0) == qint64(pageSize);
    for (const int fd : {to, from})
        if (fd >= 0)
            ::close(fd);
    if (!done)
        ::unlink(copy.constData());
    return done ? copy : QByteArray();
}

} // namespace

QList<StoredPair> parseDump(const QByteArray &dump)
{
    QList<StoredPair> pairs;
    QSet<QByteArray> seen;
    bool inData = false;
    QByteArray key;
    bool haveKey = false;
    for (const QByteArray &line : dump.split('\n')) {
        if (line == "HEADER=END") {
            inData = true;
            haveKey = false;
        } else if (line == "DATA=END") {
            inData = false;
        } else if (inData && line.startsWith(' ')) {
            const QByteArray bytes = QByteArray::fromHex(line.mid(1));
            if (!haveKey) {
                key = bytes;
                haveKey = true;
            } else {
                haveKey = false;
                if (!key.isEmpty() && !seen.contains(key)) {
                    seen.insert(key);
                    pairs.append({key, bytes});
                }
            }
        }
    }
    return pairs;
}

QList<StoredPair> salvageRecords(const QByteArray &path, const QByteArray &likePath)
{
    QList<StoredPair> pairs = parseDump(salvageDump(path, DB_SALVAGE));
    if (pairs.isEmpty())
        pairs = parseDump(salvageDump(path, DB_SALVAGE | DB_AGGRESSIVE));
    if (!pairs.isEmpty())
        return pairs;
    // Nothing found at all: the first page itself may be what is damaged.
    quint32 pageSize = pageSizeOf(path);
    if (pageSize == 0)
        pageSize = pageSizeOf(likePath);
    const QByteArray copy = withFreshMetadata(path, pageSize ? pageSize : 4096);
    if (copy.isEmpty())
        return pairs;
    pairs = parseDump(salvageDump(copy, DB_SALVAGE));
    if (pairs.isEmpty())
        pairs = parseDump(salvageDump(copy, DB_SALVAGE | DB_AGGRESSIVE));
    ::unlink(copy.constData());
    return pairs;
}

} // namespace vantro
