#include "journal.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantro {
namespace {

constexpr char kMagic[8] = {'V', 'N', 'T', 'J', 'R', 'N', 'L', '1'};
constexpr quint32 kVersion = 1;
constexpr quint32 kOpenFlag = 1;
constexpr qint64 kEntryFixed = 24; // length field + fixed payload fields
constexpr qint64 kChecksumSize = 4;
constexpr qint64 kGrowth = 64 * 1024;

qint64 roundUp(qint64 length)
{
    return (length + kGrowth - 1) / kGrowth * kGrowth;
}

std::array<quint32, 256> makeCrcTable()
{
    std::array<quint32, 256> table{};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
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

bool readHeader(QByteArrayView bytes, JournalContents &contents)
{
    if (bytes.size() < kJournalHeaderSize || std::memcmp(bytes.data(), kMagic, 8) != 0)
        return false;
    const char *at = bytes.data();
    if (getLE(at + 44, 4) != crc32(bytes.first(44)) || getLE(at + 8, 4) != kVersion)
        return false;
    contents.openFlag = (getLE(at + 12, 4) & kOpenFlag) != 0;
    contents.snapshot.size = getLE(at + 16, 8);
    contents.snapshot.inode = getLE(at + 24, 8);
    contents.snapshot.mtimeNs = qint64(getLE(at + 32, 8));
    return true;
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

} // namespace

quint32 crc32(QByteArrayView bytes, quint32 crc)
{
    static const std::array<quint32, 256> table = makeCrcTable();
    crc = ~crc;
    for (const char byte : bytes)
        crc = table[(crc ^ quint8(byte)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

JournalContents parseJournal(QByteArrayView bytes)
{
    JournalContents contents;
    contents.headerValid = readHeader(bytes, contents);
    // Without a trustworthy header nobody can say the last program closed cleanly.
    if (!contents.headerValid)
        contents.openFlag = bytes.size() > 0;
    if (bytes.size() < kJournalHeaderSize)
        return contents;
    qint64 offset = kJournalHeaderSize;
    JournalEntry entry;
    while (const qint64 length = readEntry(bytes, offset, entry)) {
        contents.entries.append(entry);
        offset += length;
    }
    contents.validLength = offset;
    return contents;
}

QByteArray encodeJournalHeader(const SnapshotId &snapshot, bool openFlag)
{
    QByteArray header(kMagic, sizeof kMagic);
    putLE(header, kVersion, 4);
    putLE(header, openFlag ? kOpenFlag : 0, 4);
    putLE(header, snapshot.size, 8);
    putLE(header, snapshot.inode, 8);
    putLE(header, quint64(snapshot.mtimeNs), 8);
    putLE(header, 0, 4);
    putLE(header, crc32(header), 4);
    return header;
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

QByteArray Journal::readBytes(const QByteArray &path, bool *exists)
{
    QByteArray bytes;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (exists)
        *exists = fd >= 0;
    if (fd < 0)
        return {};
    char block[1 << 16];
    ssize_t done;
    while ((done = ::read(fd, block, sizeof block)) > 0 || (done < 0 && errno == EINTR)) {
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

bool Journal::open()
{
    close();
    const QByteArray bytes = readBytes(m_path);
    m_contents = parseJournal(bytes);
    m_fd = ::open(m_path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0664);
    if (m_fd < 0)
        return fail();
    if (!m_contents.headerValid) {
        m_size = 0;
        // A damaged header: keep the entries that are sound under a header that no snapshot
        // matches, so that the next snapshot replaces them.
        const QByteArray header = encodeJournalHeader({}, m_contents.openFlag);
        if (!writeAll(m_fd, header.constData(), header.size(), 0) ||
            (m_contents.validLength < kJournalHeaderSize &&
             ::ftruncate(m_fd, kJournalHeaderSize) != 0)) {
            return fail();
        }
        m_contents.validLength = qMax(m_contents.validLength, kJournalHeaderSize);
        m_contents.headerValid = true;
    }
    m_size = m_contents.validLength;
    m_allocated = qMax(m_size, qint64(bytes.size()));
    // Zeros after the entries are room made by earlier appends; anything else is the torn tail
    // of an entry, cut off so that no later append can come to lie next to a part of it.
    const QByteArrayView rest = QByteArrayView(bytes).sliced(qMin(m_size, bytes.size()));
    if (rest.size() > 0 && !std::all_of(rest.begin(), rest.end(), [](char c) { return c == 0; })) {
        if (::ftruncate(m_fd, off_t(m_size)) != 0 || ::fdatasync(m_fd) != 0)
            return fail();
        m_allocated = m_size;
    }
    return true;
}

void Journal::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool Journal::fail()
{
    m_error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

bool Journal::writeHeader()
{
    const QByteArray header = encodeJournalHeader(m_contents.snapshot, m_contents.openFlag);
    return writeAll(m_fd, header.constData(), header.size(), 0) || fail();
}

bool Journal::setOpenFlag(bool open)
{
    if (m_fd < 0)
        return false;
    m_contents.openFlag = open;
    return writeHeader();
}

qint64 Journal::append(const JournalEntry &entry)
{
    if (m_fd < 0)
        return -1;
    const qint64 mark = m_size;
    QByteArray bytes = encodeJournalEntry(entry);
    const qint64 length = bytes.size();
    // The file grows by whole blocks of zeros that later entries overwrite: a flush that does
    // not change the file's size need not write its metadata, and costs about half as much.
    if (mark + length > m_allocated)
        bytes.append(QByteArray(qsizetype(roundUp(mark + length) - mark - length), '\0'));
    if (!writeAll(m_fd, bytes.constData(), bytes.size(), mark) || ::fdatasync(m_fd) != 0) {
        fail();
        // A partial entry fails its checksum anyway; zeroing it keeps the file tidy.
        const QByteArray zeros(qsizetype(length), '\0');
        if (writeAll(m_fd, zeros.constData(), length, mark))
            ::fdatasync(m_fd);
        return -1;
    }
    m_size = mark + length;
    m_allocated = qMax(m_allocated, mark + qint64(bytes.size()));
    return mark;
}

bool Journal::truncateTo(qint64 length)
{
    if (m_fd < 0)
        return false;
    if (length < m_size) {
        const QByteArray zeros(qsizetype(m_size - length), '\0');
        if (!writeAll(m_fd, zeros.constData(), zeros.size(), length) || ::fdatasync(m_fd) != 0)
            return fail();
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

bool Journal::reset(const SnapshotId &snapshot, bool openFlag)
{
    if (m_fd < 0)
        return false;
    // The header goes first: should the program stop between the two steps, the old entries
    // are still there but tied to the new snapshot, which already holds every one of them.
    m_contents.snapshot = snapshot;
    m_contents.openFlag = openFlag;
    m_contents.entries.clear();
    if (!writeHeader() || ::ftruncate(m_fd, kJournalHeaderSize) != 0 || ::fdatasync(m_fd) != 0)
        return fail();
    m_size = m_allocated = m_contents.validLength = kJournalHeaderSize;
    return true;
}

} // namespace vantro
