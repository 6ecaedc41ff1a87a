#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace vantro {

// The recovery journal kept beside a dictionary as "<db>-journal": every change made since the
// snapshot "<db>.bak", in the order it was made, so that a dictionary left damaged by a crash can
// be rebuilt from the snapshot plus the journal.
//
// On disk, all numbers little-endian:
//
//   header, 48 bytes
//     0  8  magic "VNTJRNL1"
//     8  4  format version, 1
//    12  4  flags: bit 0 set while a program has the dictionary open
//    16  8  size of the snapshot the entries apply to
//    24  8  inode number of that snapshot
//    32  8  its modification time, nanoseconds since the epoch
//    40  4  reserved, zero
//    44  4  CRC-32 of bytes 0 to 43
//   entries, one after another
//     0  4  payload length P (everything after this field up to the checksum)
//     4  1  operation: 1 add without overwrite, 2 save with overwrite, 3 delete
//     5  3  reserved, zero
//     8  8  time of the change, milliseconds since the epoch
//    16  4  key length K
//    20  4  data length D (0 for a delete)
//    24  K  key bytes, exactly as stored
//  24+K  D  data bytes, exactly as stored
// 4+P    4  CRC-32 of the length field and the payload
//
// The file grows in blocks of 64 KiB of zeros that the next entries overwrite; a zero length
// field ends the entries. An entry is written whole and flushed before the database is touched;
// an entry cut short or
// failing its checksum can only be the tail of a write the program did not live to finish, so
// reading stops there and the rest is ignored. The header ties the entries to one snapshot file:
// a snapshot replaced by other means no longer matches, which tells that the entries may not be
// the complete history since it.
struct SnapshotId
{
    quint64 size = 0;
    quint64 inode = 0;
    qint64 mtimeNs = 0;

    bool operator==(const SnapshotId &other) const
    {
        return size == other.size && inode == other.inode && mtimeNs == other.mtimeNs;
    }
    bool operator!=(const SnapshotId &other) const { return !(*this == other); }
};

struct JournalEntry
{
    enum class Op : quint8 { Add = 1, Save = 2, Delete = 3 };

    Op op = Op::Save;
    qint64 msecsSinceEpoch = 0;
    QByteArray key;
    QByteArray data;
};

// What a journal file holds, as far as it can be trusted.
struct JournalContents
{
    // False for a file too short for a header or with a damaged header; the entries are still
    // read, since each carries its own checksum.
    bool headerValid = false;
    bool openFlag = false;
    SnapshotId snapshot;
    QList<JournalEntry> entries;
    // Bytes up to the end of the last whole entry; what follows is a torn tail.
    qint64 validLength = 0;
};

inline constexpr qint64 kJournalHeaderSize = 48;

quint32 crc32(QByteArrayView bytes, quint32 crc = 0);

// Reads a journal image of any bytes; never fails, only trusts less.
JournalContents parseJournal(QByteArrayView bytes);

QByteArray encodeJournalHeader(const SnapshotId &snapshot, bool openFlag);
QByteArray encodeJournalEntry(const JournalEntry &entry);

QString journalPath(const QString &dbPath);
QString operationName(JournalEntry::Op op);

// The journal file of one open dictionary. Every write is a positioned write on one descriptor;
// append() flushes before it returns, so an entry is on disk before the database is changed.
class Journal
{
public:
    explicit Journal(const QByteArray &path);
    ~Journal();
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    // Reads a journal without opening it for writing; an empty result when there is none.
    static JournalContents read(const QByteArray &path, bool *exists = nullptr);

    // Opens (creating when absent) for writing and reads what is there; a torn tail is cut off.
    bool open();
    void close();
    bool isOpen() const { return m_fd >= 0; }
    const JournalContents &contents() const { return m_contents; }
    qint64 size() const { return m_size; }

    // Rewrites the header in place. Not flushed: a lost flag only costs a check at the next
    // open, and the next append flushes it together with the entry.
    bool setOpenFlag(bool open);
    // Writes the entry at the end and flushes; answers the length before it (the mark to
    // truncate back to), or -1 when it could not be written whole (then nothing is kept).
    qint64 append(const JournalEntry &entry);
    // Takes back everything after length (overwritten with zeros, which end the reading),
    // flushed, so that a replay never sees a failed change.
    bool truncateTo(qint64 length);
    // Gives the zeros after the last entry back to the file system; false when there were none.
    bool releaseRoom();
    // Empties the journal and ties it to a new snapshot.
    bool reset(const SnapshotId &snapshot, bool openFlag);

    // The reason for the last failure, as the system words it.
    QString lastError() const { return m_error; }

private:
    static QByteArray readBytes(const QByteArray &path, bool *exists = nullptr);
    bool fail();
    bool writeHeader();

    QByteArray m_path;
    int m_fd = -1;
    // End of the last entry, and end of the file: the room between holds zeros.
    qint64 m_size = 0;
    qint64 m_allocated = 0;
    JournalContents m_contents;
    QString m_error;
};

} // namespace vantro
