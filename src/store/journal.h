// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <limits>

namespace vantro {

// The recovery journal kept beside a dictionary as "<db>-journal": every change made since the
// snapshot "<db>.bak", in the order it was made, so that a dictionary left damaged by a crash can
// be rebuilt from the snapshot plus the journal.
//
// On disk, all numbers little-endian:
//
//   header, 128 bytes (format 2; a format 1 journal has the first 40 bytes and its CRC at 44)
//     0  8  magic "VNTJRNL1"
//     8  4  format version, 2
//    12  4  flags: bit 0 set while a program has the dictionary open, bit 1 the key count and
//           the dictionary's state at close are filled in
//    16  8  size of the snapshot the entries apply to
//    24  8  inode number of that snapshot
//    32  8  its modification time, nanoseconds since the epoch
//    40 20  the snapshot's file id (the database library's unique id in its metadata page)
//    60 20  the file id of the dictionary the entries were written against
//    80  8  the dictionary's size at the last clean close
//    88  8  its inode number then
//    96  8  its modification time then
//   104  8  its number of keys then
//   112  8  end of the last entry at that close
//   120  4  a digest of the dictionary's status change time then (0: not recorded), so that
//           a file written after the close is known even when its modification time was put back
//   124  4  CRC-32 of bytes 0 to 123
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
// field ends the entries. An entry is written whole and flushed before the database is touched,
// so an entry cut short or failing its checksum with no sound entry after it is the tail of a
// write the program did not live to finish, and is ignored. One followed by sound entries is
// damage: the sound ones are kept and the damaged stretch is counted. So is a last entry that
// cannot be torn: one that ends before the end a clean close recorded, or whose bytes hold no
// stretch of the zeros an unfinished write leaves (its checksum and every whole 512-byte block
// in it written), since a write lands on the zeros made ahead block by block.
//
// The file ids tie the journal to one dictionary and one snapshot: every snapshot and every
// rebuilt dictionary is given a fresh id, so a dictionary copied over morvak.db by hand (even a
// byte copy of the snapshot, even written into the same inode) is not the journal's. A clean
// close also records the key count and the dictionary's size, inode and time, so that the next
// open can trust the count without walking the tree and need read nothing after the header.
inline constexpr int kFileIdSize = 20;

struct SnapshotId
{
    quint64 size = 0;
    quint64 inode = 0;
    qint64 mtimeNs = 0;
    // The status change time, which no program can set back; not part of the identity.
    qint64 ctimeNs = 0;

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
    int version = 0;
    bool openFlag = false;
    SnapshotId snapshot;
    // Empty when the header does not name them (format 1).
    QByteArray snapshotFileId;
    QByteArray dictionaryFileId;
    // The dictionary as the last clean close left it; keyCount -1 when not recorded.
    SnapshotId dictionaryAtClose;
    qint64 keyCount = -1;
    qint64 entriesEndAtClose = 0;
    // The digest of the dictionary's status change time at that close; 0 when not recorded.
    quint32 changeAtClose = 0;
    QList<JournalEntry> entries;
    // Bytes up to the end of the last whole entry; what follows is a torn tail.
    qint64 validLength = 0;
    // Stretches of damaged bytes followed by sound entries: at least one entry lost each.
    int damagedEntries = 0;
};

inline constexpr qint64 kJournalHeaderSize = 128;

quint32 crc32(QByteArrayView bytes, quint32 crc = 0);

// Reads a journal image of any bytes; never fails, only trusts less.
JournalContents parseJournal(QByteArrayView bytes);
// The header fields alone (entries and validLength are left empty).
JournalContents parseJournalHeader(QByteArrayView bytes);

// A format 2 header from the header fields of contents.
QByteArray encodeJournalHeader(const JournalContents &header);
QByteArray encodeJournalHeader(const SnapshotId &snapshot, bool openFlag);
QByteArray encodeJournalEntry(const JournalEntry &entry);
// The digest of a status change time the header keeps; never 0.
quint32 changeDigest(qint64 ctimeNs);

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
    // Reads the header only.
    static JournalContents readHeader(const QByteArray &path, bool *exists = nullptr);

    // Opens (creating when absent) for writing and reads what is there; a torn tail is cut off.
    // When the header says the last program closed cleanly only the header is read (the
    // entries are then not in contents()); a format 1 journal is rewritten as format 2.
    // A new file takes the mode, owner and group of the file at modeFrom when one is given.
    [[nodiscard]] bool open(const QByteArray &modeFrom, QString *error);
    void close();
    void setPath(const QByteArray &path)
    {
        close();
        m_path = path;
    }
    bool isOpen() const { return m_fd >= 0; }
    const JournalContents &contents() const { return m_contents; }
    qint64 size() const { return m_size; }

    // Each write below answers false with the system's words for the failure in *error.

    // Rewrites the header in place. Not flushed: the next append flushes it with the entry.
    [[nodiscard]] bool setOpenFlag(bool open, QString *error);
    // The clean close: the flag cleared, with the dictionary's state and key count recorded
    // (keyCount -1 when not known). Not flushed either: the dictionary was flushed before, so a
    // header lost to a crash only costs the next open a check.
    [[nodiscard]] bool markClosed(const SnapshotId &dictionary, qint64 keyCount, QString *error);
    // Writes the entry at the end and flushes; *mark is the length before it (the mark to
    // truncate back to). Nothing is kept of an entry that could not be written whole.
    [[nodiscard]] bool append(const JournalEntry &entry, qint64 *mark, QString *error);
    // Takes back everything after length (overwritten with zeros, which end the reading),
    // flushed, so that a replay never sees a failed change.
    [[nodiscard]] bool truncateTo(qint64 length, QString *error);
    // Gives the zeros after the last entry back to the file system; false when there were none.
    bool releaseRoom();
    // Empties the journal and ties it to a new snapshot of the dictionary named by
    // dictionaryFileId.
    [[nodiscard]] bool reset(const SnapshotId &snapshot, const QByteArray &snapshotFileId,
                             const QByteArray &dictionaryFileId, bool openFlag, QString *error);
    [[nodiscard]] bool reset(const SnapshotId &snapshot, bool openFlag, QString *error)
    {
        return reset(snapshot, {}, {}, openFlag, error);
    }

private:
    static QByteArray readBytes(const QByteArray &path, bool *exists = nullptr,
                                qint64 limit = std::numeric_limits<qint64>::max());
    static bool fail(QString *error);
    static bool failClosed(QString *error);
    bool writeHeader(QString *error);
    bool openClean(qint64 fileSize);
    bool rewriteWhole(QString *error);
    bool cutTornTail(const QByteArray &bytes, QString *error);

    QByteArray m_path;
    int m_fd = -1;
    // End of the last entry, and end of the file: the room between holds zeros.
    qint64 m_size = 0;
    qint64 m_allocated = 0;
    JournalContents m_contents;
};

} // namespace vantro
