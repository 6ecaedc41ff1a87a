// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal.h"

#include "failure.h"
#include "snapshot.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace vantro {
namespace {

constexpr char kMagic[8] = {'V', 'N', 'T', 'J', 'R', 'N', 'L', '1'};
constexpr quint32 kVersion = 2;
constexpr quint32 kOpenFlag = 1;
constexpr quint32 kClosedStateFlag = 2;
constexpr qint64 kHeaderSizeV1 = 48;
constexpr qint64 kEntryFixed = 24; // length field + fixed payload fields
constexpr qint64 kChecksumSize = 4;
constexpr qint64 kGrowth = 64 * 1024;

qint64 roundUp(qint64 length)
{
    return (length + kGrowth - 1) / kGrowth * kGrowth;
}

void putLE(QByteArray &out, quint64 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

quint64 getLE(const char *at, int bytes)
{
    quint64 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | quint8(at[i]);
    return value;
}

bool writeAll(int fd, const char *bytes, qint64 length, qint64 offset)
{
    while (length > 0) {
        const ssize_t done = ::pwrite(fd, bytes, size_t(length), off_t(offset));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            if (done == 0)
                errno = ENOSPC;
            return false;
        }
        bytes += done;
        length -= done;
        offset += done;
    }
    return true;
}

SnapshotId getId(const char *at)
{
    return {getLE(at, 8), getLE(at + 8, 8), qint64(getLE(at + 16, 8))};
}

void putId(QByteArray &out, const SnapshotId &id)
{
    putLE(out, id.size, 8);
    putLE(out, id.inode, 8);
    putLE(out, quint64(id.mtimeNs), 8);
}

void putFileId(QByteArray &out, const QByteArray &fileId)
{
    out.append(fileId.left(kFileIdSize).leftJustified(kFileIdSize, '\0'));
}

QByteArray getFileId(const char *at)
{
    const QByteArray id(at, kFileIdSize);
    return id.count('\0') == kFileIdSize ? QByteArray() : id;
}

// Format 1 headers (48 bytes, no file ids) are still read, so that an older journal is replayed.
bool readHeader(QByteArrayView bytes, JournalContents &contents)
{
    if (bytes.size() < kHeaderSizeV1 || std::memcmp(bytes.data(), kMagic, 8) != 0)
        return false;
    const char *at = bytes.data();
    const quint64 version = getLE(at + 8, 4);
    const qint64 size = version == 1 ? kHeaderSizeV1 : kJournalHeaderSize;
    if ((version != 1 && version != kVersion) || bytes.size() < size ||
        getLE(at + size - 4, 4) != crc32(bytes.first(size - 4)))
        return false;
    contents.version = int(version);
    const quint64 flags = getLE(at + 12, 4);
    contents.openFlag = (flags & kOpenFlag) != 0;
    contents.snapshot = getId(at + 16);
    if (version == 1)
        return true;
    contents.snapshotFileId = getFileId(at + 40);
    contents.dictionaryFileId = getFileId(at + 60);
    if (flags & kClosedStateFlag) {
        contents.dictionaryAtClose = getId(at + 80);
        // -1 when the count was not known at the close.
        contents.keyCount = qint64(getLE(at + 104, 8));
        contents.entriesEndAtClose = qint64(getLE(at + 112, 8));
        contents.changeAtClose = quint32(getLE(at + 120, 4));
    }
    return true;
}

qint64 headerSizeOf(const JournalContents &contents)
{
    return contents.headerValid && contents.version == 1 ? kHeaderSizeV1 : kJournalHeaderSize;
}

// Reads the entry at offset; its total length, or 0 when none whole and sound starts there.
qint64 readEntry(QByteArrayView bytes, qint64 offset, JournalEntry &entry)
{
    const qint64 left = bytes.size() - offset;
    if (left < kEntryFixed + kChecksumSize)
        return 0;
    const char *at = bytes.data() + offset;
    const quint64 payload = getLE(at, 4);
    const quint64 keyLength = getLE(at + 16, 4);
    const quint64 dataLength = getLE(at + 20, 4);
    if (payload + 4 + kChecksumSize > quint64(left) ||
        payload != kEntryFixed - 4 + keyLength + dataLength)
        return 0;
    const qint64 total = qint64(payload) + 4 + kChecksumSize;
    if (getLE(at + total - kChecksumSize, 4) != crc32(bytes.sliced(offset, total - kChecksumSize)))
        return 0;
    const quint8 op = quint8(at[4]);
    if (op < quint8(JournalEntry::Op::Add) || op > quint8(JournalEntry::Op::Delete))
        return 0;
    entry.op = JournalEntry::Op(op);
    entry.msecsSinceEpoch = qint64(getLE(at + 8, 8));
    entry.key = QByteArray(at + kEntryFixed, qsizetype(keyLength));
    entry.data = QByteArray(at + kEntryFixed + keyLength, qsizetype(dataLength));
    return total;
}

constexpr qint64 kBlock = 512;

bool allZero(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == 0; });
}

// The bytes at offset fail as an entry and no sound entry follows. A write cut short leaves some
// of the zeros it was written over: its checksum (written last), a whole 512-byte block inside
// it, or, for a header that itself crosses a block's end, the header's part after that end.
// An entry written whole and then damaged has none of these.
// Anything but the zeros that end the entries starts there.
bool payloadStarts(QByteArrayView bytes, qint64 offset)
{
    return bytes.size() - offset >= 4 && getLE(bytes.data() + offset, 4) != 0;
}

bool looksTorn(QByteArrayView bytes, qint64 offset)
{
    const qint64 left = bytes.size() - offset;
    if (left < kEntryFixed + kChecksumSize)
        return true;
    const char *at = bytes.data() + offset;
    const quint64 payload = getLE(at, 4);
    const quint64 keyLength = getLE(at + 16, 4);
    const quint64 dataLength = getLE(at + 20, 4);
    const qint64 headerBlockEnd = (offset / kBlock + 1) * kBlock;
    if (headerBlockEnd < offset + kEntryFixed &&
        allZero(bytes.sliced(headerBlockEnd, offset + kEntryFixed - headerBlockEnd)))
        return true;
    if (payload != kEntryFixed - 4 + keyLength + dataLength)
        return false;
    const qint64 end = offset + qint64(payload) + 4 + kChecksumSize;
    if (end > bytes.size() || allZero(bytes.sliced(end - kChecksumSize, kChecksumSize)))
        return true;
    for (qint64 block = headerBlockEnd; block + kBlock <= end; block += kBlock) {
        if (allZero(bytes.sliced(block, kBlock)))
            return true;
    }
    return false;
}

} // namespace

quint32 changeDigest(qint64 ctimeNs)
{
    const quint64 value = quint64(ctimeNs);
    const quint32 digest = quint32(value ^ (value >> 32) ^ (value >> 17));
    return digest == 0 ? 1 : digest;
}

// zlib's CRC-32 is the same checksum the journal has always carried, only faster.
quint32 crc32(QByteArrayView bytes, quint32 crc)
{
    const auto *at = reinterpret_cast<const Bytef *>(bytes.data());
    for (qsizetype left = bytes.size(); left > 0;) {
        const uInt chunk = uInt(qMin<qsizetype>(left, 1 << 30));
        crc = quint32(::crc32(crc, at, chunk));
        at += chunk;
        left -= chunk;
    }
    return crc;
}

JournalContents parseJournalHeader(QByteArrayView bytes)
{
    JournalContents contents;
    contents.headerValid = readHeader(bytes, contents);
    // Without a trustworthy header nobody can say the last program closed cleanly.
    if (!contents.headerValid)
        contents.openFlag = bytes.size() > 0;
    return contents;
}

JournalContents parseJournal(QByteArrayView bytes)
{
    JournalContents contents = parseJournalHeader(bytes);
    qint64 offset = headerSizeOf(contents);
    if (bytes.size() < offset)
        return contents;
    JournalEntry entry;
    for (;;) {
        if (const qint64 length = readEntry(bytes, offset, entry)) {
            contents.entries.append(entry);
            offset += length;
            continue;
        }
        // Not a sound entry: a torn tail unless a sound entry follows somewhere after it.
        qint64 next = offset + 1;
        while (next < bytes.size() && !readEntry(bytes, next, entry))
            ++next;
        if (next >= bytes.size()) {
            // Acknowledged before a clean close, or not the shape of an unfinished write: lost.
            if (offset < bytes.size() && payloadStarts(bytes, offset) &&
                (offset < contents.entriesEndAtClose || !looksTorn(bytes, offset)))
                ++contents.damagedEntries;
            break;
        }
        ++contents.damagedEntries;
        offset = next;
    }
    contents.validLength = offset;
    return contents;
}

QByteArray encodeJournalHeader(const JournalContents &header)
{
    const bool closedState = header.entriesEndAtClose > 0;
    QByteArray bytes(kMagic, sizeof kMagic);
    putLE(bytes, kVersion, 4);
    putLE(bytes, (header.openFlag ? kOpenFlag : 0) | (closedState ? kClosedStateFlag : 0), 4);
    putId(bytes, header.snapshot);
    putFileId(bytes, header.snapshotFileId);
    putFileId(bytes, header.dictionaryFileId);
    putId(bytes, closedState ? header.dictionaryAtClose : SnapshotId{});
    putLE(bytes, quint64(closedState ? header.keyCount : 0), 8);
    putLE(bytes, quint64(closedState ? header.entriesEndAtClose : 0), 8);
    putLE(bytes, closedState ? header.changeAtClose : 0, 4);
    putLE(bytes, crc32(bytes), 4);
    return bytes;
}

QByteArray encodeJournalHeader(const SnapshotId &snapshot, bool openFlag)
{
    JournalContents header;
    header.snapshot = snapshot;
    header.openFlag = openFlag;
    return encodeJournalHeader(header);
}

QByteArray encodeJournalEntry(const JournalEntry &entry)
{
    QByteArray bytes;
    bytes.reserve(kEntryFixed + entry.key.size() + entry.data.size() + kChecksumSize);
    putLE(bytes, quint64(kEntryFixed - 4 + entry.key.size() + entry.data.size()), 4);
    putLE(bytes, quint8(entry.op), 1);
    putLE(bytes, 0, 3);
    putLE(bytes, quint64(entry.msecsSinceEpoch), 8);
    putLE(bytes, quint64(entry.key.size()), 4);
    putLE(bytes, quint64(entry.data.size()), 4);
    bytes.append(entry.key);
    bytes.append(entry.data);
    putLE(bytes, crc32(bytes), 4);
    return bytes;
}

QString journalPath(const QString &dbPath)
{
    return dbPath + QStringLiteral("-journal");
}

QString operationName(JournalEntry::Op op)
{
    switch (op) {
    case JournalEntry::Op::Add:
        return QStringLiteral("add");
    case JournalEntry::Op::Save:
        return QStringLiteral("save");
    case JournalEntry::Op::Delete:
        return QStringLiteral("delete");
    }
    return QStringLiteral("?");
}

Journal::Journal(const QByteArray &path) : m_path(path) {}

Journal::~Journal()
{
    close();
}

// Anything but a regular file (a FIFO would block every program in open()) is refused.
QByteArray Journal::readBytes(const QByteArray &path, bool *exists, qint64 limit)
{
    QByteArray bytes;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info;
    const bool regular = fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (exists)
        *exists = fd >= 0;
    if (!regular) {
        if (fd >= 0)
            ::close(fd);
        return {};
    }
    char block[1 << 16];
    ssize_t done;
    while (
        bytes.size() < limit &&
        ((done = ::read(fd, block, size_t(qMin<qint64>(limit - bytes.size(), sizeof block)))) > 0 ||
         (done < 0 && errno == EINTR))) {
        if (done > 0)
            bytes.append(block, done);
    }
    ::close(fd);
    return bytes;
}

JournalContents Journal::read(const QByteArray &path, bool *exists)
{
    return parseJournal(readBytes(path, exists));
}

JournalContents Journal::readHeader(const QByteArray &path, bool *exists)
{
    return parseJournalHeader(readBytes(path, exists, kJournalHeaderSize));
}

// The header and the end of the entries as a clean close recorded them, when they can be trusted.
bool Journal::openClean(qint64 fileSize)
{
    QByteArray header(kJournalHeaderSize, '\0');
    if (::pread(m_fd, header.data(), size_t(header.size()), 0) != kJournalHeaderSize)
        return false;
    m_contents = parseJournalHeader(header);
    if (!m_contents.headerValid || m_contents.openFlag || m_contents.version != kVersion ||
        m_contents.entriesEndAtClose < kJournalHeaderSize ||
        m_contents.entriesEndAtClose > fileSize)
        return false;
    m_size = m_contents.validLength = m_contents.entriesEndAtClose;
    m_allocated = fileSize;
    return true;
}

bool Journal::open(const QByteArray &modeFrom, QString *error)
{
    close();
    m_fd = ::open(m_path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW,
                  modeFrom.isEmpty() ? 0664 : 0600);
    struct stat info;
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0)
        return fail(error);
    if (!S_ISREG(info.st_mode)) {
        close();
        return failWith(error, QStringLiteral("not a regular file"));
    }
    if (info.st_size == 0 && !modeFrom.isEmpty())
        takeModeOf(m_fd, modeFrom);
    if (openClean(info.st_size))
        return true;
    const QByteArray bytes = readBytes(m_path);
    m_contents = parseJournal(bytes);
    if (!m_contents.headerValid || m_contents.version != kVersion)
        return rewriteWhole(error) && cutTornTail(bytes, error);
    m_size = m_contents.validLength;
    m_allocated = qMax(m_size, qint64(bytes.size()));
    return cutTornTail(bytes, error);
}

// Zeros after the entries are room made by earlier appends; anything else is the torn tail of an
// entry, cut off so that no later append can come to lie next to a part of it.
bool Journal::cutTornTail(const QByteArray &bytes, QString *error)
{
    const QByteArrayView rest = QByteArrayView(bytes).sliced(qMin(m_size, bytes.size()));
    if (rest.size() > 0 && !std::all_of(rest.begin(), rest.end(), [](char c) { return c == 0; })) {
        if (::ftruncate(m_fd, off_t(m_size)) != 0 || ::fdatasync(m_fd) != 0)
            return fail(error);
        m_allocated = m_size;
    }
    return true;
}

// A damaged header or one of format 1: the sound entries are written under a fresh format 2
// header (naming no snapshot, so that the next snapshot replaces them) into a new file that is
// renamed over the old one, so that a crash meanwhile leaves one or the other whole.
bool Journal::rewriteWhole(QString *error)
{
    JournalContents fresh;
    fresh.openFlag = m_contents.openFlag;
    fresh.snapshot = m_contents.snapshot;
    QByteArray image = encodeJournalHeader(fresh);
    for (const JournalEntry &entry : m_contents.entries)
        image += encodeJournalEntry(entry);
    QByteArray temporary;
    const int fd = createTemporaryBeside(m_path, temporary);
    if (fd < 0)
        return fail(error);
    takeModeOf(fd, m_path);
    const bool written = writeAll(fd, image.constData(), image.size(), 0) && ::fdatasync(fd) == 0;
    if (!written || ::rename(temporary.constData(), m_path.constData()) != 0) {
        fail(error);
        ::close(fd);
        ::unlink(temporary.constData());
        return false;
    }
    // The rewritten journal must not vanish with a crash while the old one is gone.
    if (!syncDirectoryOf(m_path, error)) {
        ::close(fd);
        return false;
    }
    close();
    m_fd = fd;
    m_contents.headerValid = true;
    m_contents.version = int(kVersion);
    m_contents.snapshotFileId.clear();
    m_contents.dictionaryFileId.clear();
    m_contents.keyCount = -1;
    m_size = m_allocated = m_contents.validLength = image.size();
    return true;
}

void Journal::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool Journal::fail(QString *error)
{
    return failWith(error, QString::fromLocal8Bit(std::strerror(errno)));
}

bool Journal::failClosed(QString *error)
{
    return failWith(error, QStringLiteral("the journal is not open"));
}

bool Journal::writeHeader(QString *error)
{
    const QByteArray header = encodeJournalHeader(m_contents);
    return writeAll(m_fd, header.constData(), header.size(), 0) || fail(error);
}

bool Journal::setOpenFlag(bool open, QString *error)
{
    if (m_fd < 0)
        return failClosed(error);
    m_contents.openFlag = open;
    // An open session may change the file: the state recorded at the last close is void.
    if (open) {
        m_contents.keyCount = -1;
        m_contents.entriesEndAtClose = 0;
    }
    return writeHeader(error);
}

bool Journal::markClosed(const SnapshotId &dictionary, qint64 keyCount, QString *error)
{
    if (m_fd < 0)
        return failClosed(error);
    m_contents.openFlag = false;
    m_contents.dictionaryAtClose = dictionary;
    m_contents.changeAtClose = changeDigest(dictionary.ctimeNs);
    m_contents.keyCount = keyCount;
    m_contents.entriesEndAtClose = m_size;
    return writeHeader(error);
}

bool Journal::append(const JournalEntry &entry, qint64 *mark, QString *error)
{
    if (m_fd < 0)
        return failClosed(error);
    *mark = m_size;
    const qint64 at = m_size;
    QByteArray bytes = encodeJournalEntry(entry);
    const qint64 length = bytes.size();
    // The file grows by whole blocks of zeros that later entries overwrite: a flush that does
    // not change the file's size need not write its metadata, and costs about half as much.
    if (at + length > m_allocated)
        bytes.append(QByteArray(qsizetype(roundUp(at + length) - at - length), '\0'));
    if (!writeAll(m_fd, bytes.constData(), bytes.size(), at) || ::fdatasync(m_fd) != 0) {
        fail(error);
        // A partial entry fails its checksum anyway; zeroing it keeps the file tidy.
        const QByteArray zeros(qsizetype(length), '\0');
        if (writeAll(m_fd, zeros.constData(), length, at))
            ::fdatasync(m_fd);
        return false;
    }
    m_size = at + length;
    m_allocated = qMax(m_allocated, at + qint64(bytes.size()));
    return true;
}

bool Journal::truncateTo(qint64 length, QString *error)
{
    if (m_fd < 0)
        return failClosed(error);
    if (length < m_size) {
        const QByteArray zeros(qsizetype(m_size - length), '\0');
        if (!writeAll(m_fd, zeros.constData(), zeros.size(), length) || ::fdatasync(m_fd) != 0)
            return fail(error);
    }
    m_size = length;
    return true;
}

bool Journal::releaseRoom()
{
    if (m_fd < 0 || m_allocated <= m_size || ::ftruncate(m_fd, off_t(m_size)) != 0)
        return false;
    m_allocated = m_size;
    return true;
}

bool Journal::reset(const SnapshotId &snapshot, const QByteArray &snapshotFileId,
                    const QByteArray &dictionaryFileId, bool openFlag, QString *error)
{
    if (m_fd < 0)
        return failClosed(error);
    // The header goes first: should the program stop between the two steps, the old entries
    // are still there but tied to the new snapshot, which already holds every one of them.
    m_contents.snapshot = snapshot;
    m_contents.snapshotFileId = snapshotFileId;
    m_contents.dictionaryFileId = dictionaryFileId;
    m_contents.openFlag = openFlag;
    m_contents.keyCount = -1;
    m_contents.entriesEndAtClose = 0;
    m_contents.entries.clear();
    m_contents.damagedEntries = 0;
    if (!writeHeader(error) || ::ftruncate(m_fd, kJournalHeaderSize) != 0 || ::fdatasync(m_fd) != 0)
        return fail(error);
    m_size = m_allocated = m_contents.validLength = kJournalHeaderSize;
    return true;
}

} // namespace vantro
