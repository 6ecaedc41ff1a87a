// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery.h"

#include "filelock.h"
#include "salvage.h"
#include "snapshot.h"
#include "verify.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <db.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace vantro {
namespace {

constexpr const char *kClassName = "cDictDB";
// The rebuild writes every record once in key order: a cache this large holds the pages being
// filled and the path down to them.
constexpr unsigned kRebuildCacheBytes = 32u << 20;
constexpr int kSetAsideKept = 3;
constexpr const char *kSnapshotDamaged = "the snapshot is damaged";

// One line on the standard error stream; the names in it are the file system's own bytes.
void report(const QByteArray &text)
{
    std::fprintf(stderr, "%s: %s\n", kClassName, text.constData());
    std::fflush(stderr);
}

QByteArray local(const QString &text)
{
    return text.toLocal8Bit();
}

qint64 fileSize(const QByteArray &path)
{
    SnapshotId id;
    return identityOf(path, id) ? qint64(id.size) : 0;
}

int applyEntry(DB *dbp, const JournalEntry &entry)
{
    DBT key{};
    DBT data{};
    key.data = const_cast<char *>(entry.key.constData());
    key.size = u_int32_t(entry.key.size());
    data.data = const_cast<char *>(entry.data.constData());
    data.size = u_int32_t(entry.data.size());
    switch (entry.op) {
    case JournalEntry::Op::Add: {
        const int ret = dbp->put(dbp, nullptr, &key, &data, DB_NOOVERWRITE);
        return ret == DB_KEYEXIST ? 0 : ret;
    }
    case JournalEntry::Op::Save:
        return dbp->put(dbp, nullptr, &key, &data, 0);
    case JournalEntry::Op::Delete: {
        const int ret = dbp->del(dbp, nullptr, &key, 0);
        return ret == DB_NOTFOUND ? 0 : ret;
    }
    }
    return EINVAL;
}

void discardReport(const DB_ENV *, const char *, const char *) {}

QString libraryText(int code)
{
    return QString::fromLocal8Bit(db_strerror(code));
}

} // namespace

int replayJournal(DB *dbp, const QList<JournalEntry> &entries)
{
    for (const JournalEntry &entry : entries) {
        if (const int ret = applyEntry(dbp, entry); ret != 0)
            return ret;
    }
    return entries.isEmpty() ? 0 : dbp->sync(dbp, 0);
}

bool fileVerifies(const QByteArray &path)
{
    return verifyLockedDictionary(path).verdict == VerifyReport::Verdict::Consistent;
}

// The copies set aside beside base under suffix ("<base><suffix>", "<base><suffix>.N") beyond
// the newest kept ones, newest by the time they were set aside (a rename or link changes it);
// answers the names removed.
static QStringList removeAllButNewest(const QByteArray &base, const char *suffix, int kept)
{
    const QFileInfo info(QFile::decodeName(base));
    const QString stem = info.fileName() + QLatin1String(suffix);
    QFileInfoList copies;
    for (const QFileInfo &copy : info.dir().entryInfoList({stem, stem + QStringLiteral(".*")},
                                                          QDir::Files | QDir::Hidden)) {
        bool number = copy.fileName() == stem;
        if (!number)
            copy.fileName().mid(stem.size() + 1).toUInt(&number);
        if (number)
            copies.append(copy);
    }
    // Copies set aside within the clock's tick: the higher number is the later one.
    const auto number = [&stem](const QFileInfo &copy) {
        return copy.fileName().size() == stem.size()
                   ? 0
                   : copy.fileName().mid(stem.size() + 1).toUInt() + 1;
    };
    std::sort(copies.begin(), copies.end(), [&number](const QFileInfo &a, const QFileInfo &b) {
        return a.metadataChangeTime() != b.metadataChangeTime()
                   ? a.metadataChangeTime() > b.metadataChangeTime()
                   : number(a) > number(b);
    });
    QStringList removed;
    for (qsizetype i = kept; i < copies.size(); ++i) {
        if (QFile::remove(copies[i].filePath()))
            removed.append(copies[i].fileName());
    }
    return removed;
}

// Set when this process set a copy aside, so that the open prunes the older ones.
static bool s_setAside = false;

// Renames path to the first free name of "<path><suffix>", "<path><suffix>.1", ... without ever
// replacing a file; the name chosen, or an empty one when the rename failed.
static QByteArray moveAside(const QByteArray &path, const char *suffix)
{
    for (int number = 0; number < 1000; ++number) {
        const QByteArray name =
            path + suffix + (number == 0 ? QByteArray() : "." + QByteArray::number(number));
        if (::renameat2(AT_FDCWD, path.constData(), AT_FDCWD, name.constData(), RENAME_NOREPLACE) ==
            0) {
            syncDirectoryOf(path);
            s_setAside = true;
            return name;
        }
        if (errno != EEXIST)
            return {};
    }
    return {};
}

Recovery::Recovery(const QByteArray &dbPath) : m_journal(QByteArray())
{
    setPath(dbPath);
}

void Recovery::setPath(const QByteArray &dbPath)
{
    m_dbPath = dbPath;
    m_snapshotPath = QFile::encodeName(snapshotPath(QFile::decodeName(dbPath)));
    m_journalPath = QFile::encodeName(journalPath(QFile::decodeName(dbPath)));
    m_importMarkPath = dbPath + "-import";
    m_journal.setPath(m_journalPath);
    m_replayAtOpen = false;
    m_rebuilt = false;
    m_snapshotWanted = false;
    m_snapshotBeforeChange = false;
    m_trustedKeyCount = -1;
    m_notices.clear();
}

void Recovery::say(const QByteArray &line)
{
    report(line);
    m_notices.append(QString::fromLocal8Bit(line));
}

// A journal that names a dictionary file id the file at the path does not carry belongs to
// another file: a copy put there by hand (even of the snapshot, which has an id of its own).
bool Recovery::isForeign(const JournalContents &header, const QByteArray &dbFileId) const
{
    return header.headerValid && !header.dictionaryFileId.isEmpty() && !dbFileId.isEmpty() &&
           header.dictionaryFileId != dbFileId;
}

void Recovery::setAsideStale(const QByteArray &dbFileId)
{
    const QByteArray journal = moveAside(m_journalPath, ".stale");
    QByteArray line = m_dbPath + " is not the dictionary " + m_journalPath +
                      " was written for, so its changes were not applied; ";
    line +=
        journal.isEmpty() ? QByteArray("it could not be set aside") : "it is kept as " + journal;
    const QByteArray snapshotId = fileIdOf(m_snapshotPath);
    if (!snapshotId.isEmpty() && snapshotId != dbFileId) {
        const QByteArray snapshot = moveAside(m_snapshotPath, ".stale");
        if (!snapshot.isEmpty())
            line += " and the snapshot of that dictionary as " + snapshot;
    }
    say(line + "; a new snapshot is taken of the file as it is");
    m_snapshotWanted = true;
}

void Recovery::keepDamagedJournal(const JournalContents &contents)
{
    const QByteArray copy = freeDamagedName(m_journalPath);
    // A copy of the bytes: the journal itself is emptied in place by the next snapshot.
    const QString why = keepCopyAs(m_journalPath, copy, false);
    s_setAside = true;
    say(m_journalPath + " is damaged: at least " + QByteArray::number(contents.damagedEntries) +
        " change(s) in it were lost; the " + QByteArray::number(contents.entries.size()) +
        " sound entries are applied" +
        (why.isEmpty() ? "; a copy is kept as " + copy
                       : "; no copy could be kept (" + local(why) + ")"));
    m_snapshotWanted = true;
}

// The count a clean close kept is only as good as the file it was counted in: the same file id,
// and the size, inode and modification time it had then.
qint64 Recovery::keptKeyCount(const JournalContents &header, const QByteArray &dbFileId) const
{
    SnapshotId now;
    if (header.openFlag || header.keyCount < 0 || header.dictionaryFileId != dbFileId ||
        !identityOf(m_dbPath, now) || !(now == header.dictionaryAtClose))
        return -1;
    return header.keyCount;
}

qint64 Recovery::keptKeyCount() const
{
    bool exists = false;
    const JournalContents header = Journal::readHeader(m_journalPath, &exists);
    return exists && header.headerValid ? keptKeyCount(header, fileIdOf(m_dbPath)) : -1;
}

bool Recovery::damagedSinceClose() const
{
    bool exists = false;
    const JournalContents header = Journal::readHeader(m_journalPath, &exists);
    return exists && header.headerValid && !header.openFlag && changedSinceClose(header) &&
           !fileVerifies(m_dbPath);
}

bool Recovery::beforeOpen(FileLock &lock, bool fileIsBad, bool check)
{
    m_rebuildFailed = false;
    bool exists = false;
    const JournalContents header = Journal::readHeader(m_journalPath, &exists);
    if (!exists)
        return false;
    // Only a file whose first page is sound can tell whose it is: damage there is no evidence.
    const QByteArray dbFileId = fileIsBad ? QByteArray() : fileIdOf(m_dbPath);
    if (isForeign(header, dbFileId)) {
        // An import killed between putting its file in place and the snapshot of it: the journal
        // (emptied by the snapshot before the import) is simply tied to the new file.
        if (markedImport() == dbFileId)
            m_snapshotWanted = true;
        else
            setAsideStale(dbFileId);
        return false;
    }
    if (!header.openFlag) {
        m_trustedKeyCount = keptKeyCount(header, dbFileId);
        if (!fileIsBad && !check && !changedSinceClose(header))
            return false;
    }
    const JournalContents contents = Journal::read(m_journalPath);
    // A header that cannot be read says nothing of the last close: the file is checked.
    if (!header.headerValid)
        say(m_journalPath + " has a damaged or cut-short header; the dictionary is checked and " +
            QByteArray::number(contents.entries.size()) +
            " sound entries are kept under a new header");
    if (contents.damagedEntries > 0)
        keepDamagedJournal(contents);
    if (!fileIsBad && fileVerifies(m_dbPath)) {
        m_replayAtOpen = header.openFlag;
        return false;
    }
    m_trustedKeyCount = -1;
    m_rebuilt = rebuild(lock, contents, header.openFlag);
    m_rebuildFailed = !m_rebuilt;
    return m_rebuilt;
}

// A file that another program wrote after the last clean close (or a bit that flipped on the
// disk) is checked before it is trusted; one the writer left as it closed it is not, so that an
// open does not cost a walk over the whole file.
bool Recovery::changedSinceClose(const JournalContents &header) const
{
    SnapshotId now;
    return header.entriesEndAtClose > 0 &&
           (!identityOf(m_dbPath, now) || !(now == header.dictionaryAtClose));
}

// Empty when the snapshot is the one the journal's entries apply to and sound; otherwise why not.
// Damage is looked for first: a destroyed first page carries no file id to compare.
QString Recovery::snapshotUnusable(const JournalContents &contents) const
{
    SnapshotId snapshot;
    if (!identityOf(m_snapshotPath, snapshot))
        return QStringLiteral("there is no snapshot");
    if (!whyNotADictionary(m_snapshotPath).isEmpty() || !fileVerifies(m_snapshotPath))
        return QLatin1String(kSnapshotDamaged);
    if (!contents.snapshotFileId.isEmpty() && fileIdOf(m_snapshotPath) != contents.snapshotFileId)
        return QStringLiteral("the snapshot belongs to another dictionary");
    return {};
}

// The snapshot plus the journal when the snapshot is the journal's and sound; otherwise every
// record the damaged file still yields plus the journal. Only a snapshot that is damaged or
// another dictionary's is set aside: when the rebuild fails for another reason (a full disk),
// the snapshot and the journal stay where they are for the next open.
bool Recovery::rebuild(FileLock &lock, const JournalContents &contents, bool unclosed)
{
    const QByteArray what =
        m_dbPath + (unclosed ? " was not closed and is damaged" : " is damaged");
    removeStaleTemporaries(m_dbPath, ".rebuild-");
    removeStaleTemporaries(m_dbPath, ".salvage-");
    QString unusable = snapshotUnusable(contents);
    QList<StoredPair> pairs;
    QString why;
    if (unusable.isEmpty()) {
        why = readPairs(m_snapshotPath, pairs);
    } else {
        pairs = salvageRecords(m_dbPath, m_snapshotPath);
        keepUnusableSnapshot(unusable);
    }
    QByteArray temporary;
    if (why.isEmpty())
        why = rebuildInto(temporary, contents, pairs);
    FileLock rebuiltLock;
    if (why.isEmpty() && rebuiltLock.acquire(temporary) != FileLock::Result::Locked)
        why = QString::fromLocal8Bit(std::strerror(rebuiltLock.lastError()));
    const QByteArray damaged = freeDamagedName(m_dbPath);
    if (why.isEmpty()) {
        why = keepCopyAs(m_dbPath, damaged);
        s_setAside = true;
    }
    if (why.isEmpty() && ::rename(temporary.constData(), m_dbPath.constData()) != 0)
        why = QString::fromLocal8Bit(std::strerror(errno));
    if (!why.isEmpty()) {
        if (!temporary.isEmpty())
            ::unlink(temporary.constData());
        say(what + "; rebuilding it failed (" + local(why) +
            "), so it is left as it is, with its snapshot and journal, for the next open");
        return false;
    }
    syncDirectoryOf(m_dbPath);
    // The rebuilt file is already locked through the temporary name; the old lock goes with
    // rebuiltLock, so no other program could take the new file in between.
    lock.swap(rebuiltLock);
    const QByteArray entries = QByteArray::number(contents.entries.size()) + " journal entries";
    if (unusable.isEmpty())
        say(what + "; kept it as " + damaged + " and rebuilt it from " + m_snapshotPath + " and " +
            entries);
    else
        say(what + "; kept it as " + damaged + " and rebuilt it from the " +
            QByteArray::number(pairs.size()) + " records salvaged from it and " + entries + " (" +
            local(unusable) + ")");
    // The journal now names a file that is gone, and a salvage has no snapshot behind it.
    m_snapshotWanted = true;
    return true;
}

// A snapshot that could not be used is another dictionary's or damaged: the snapshot taken after
// the rebuild must not overwrite it.
void Recovery::keepUnusableSnapshot(QString &unusable)
{
    SnapshotId snapshot;
    if (!identityOf(m_snapshotPath, snapshot))
        return;
    const bool damaged = unusable == QLatin1String(kSnapshotDamaged);
    const QByteArray kept = moveAside(m_snapshotPath, damaged ? ".damaged" : ".stale");
    if (!kept.isEmpty())
        unusable += QStringLiteral("; it is kept as ") + QString::fromLocal8Bit(kept);
}

// Every record of a sound B-tree file, in key order.
QString Recovery::readPairs(const QByteArray &path, QList<StoredPair> &pairs)
{
    DB *dbp = nullptr;
    if (const int ret = db_create(&dbp, nullptr, 0); ret != 0)
        return libraryText(ret);
    dbp->set_errcall(dbp, discardReport);
    int ret = dbp->open(dbp, nullptr, path.constData(), nullptr, DB_BTREE, DB_RDONLY, 0);
    DBC *cursor = nullptr;
    if (ret == 0)
        ret = dbp->cursor(dbp, nullptr, &cursor, 0);
    DBT key{};
    DBT data{};
    while (ret == 0 && (ret = cursor->get(cursor, &key, &data, DB_NEXT)) == 0)
        pairs.append({QByteArray(static_cast<const char *>(key.data), qsizetype(key.size)),
                      QByteArray(static_cast<const char *>(data.data), qsizetype(data.size))});
    if (cursor)
        cursor->close(cursor);
    dbp->close(dbp, 0);
    return ret == DB_NOTFOUND ? QString() : libraryText(ret);
}

// A new file, made by the library with page checksums, holding the pairs and then the journal's
// changes; the rebuilt dictionary gains checksums even where the damaged one had none.
QString Recovery::rebuildInto(QByteArray &temporary, const JournalContents &contents,
                              const QList<StoredPair> &pairs)
{
    // The library must create the file itself: a name that is free, never a link.
    const int fd = createTemporaryBeside(m_dbPath, temporary, ".rebuild-");
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    ::close(fd);
    ::unlink(temporary.constData());
    DB *dbp = nullptr;
    if (const int ret = db_create(&dbp, nullptr, 0); ret != 0)
        return libraryText(ret);
    // A full disk or a damaged source makes the library say a great deal; the one line that
    // counts is ours.
    dbp->set_errcall(dbp, discardReport);
    dbp->set_flags(dbp, DB_CHKSUM);
    dbp->set_cachesize(dbp, 0, kRebuildCacheBytes, 1);
    int ret = dbp->open(dbp, nullptr, temporary.constData(), nullptr, DB_BTREE, DB_CREATE | DB_EXCL,
                        0600);
    for (qsizetype i = 0; ret == 0 && i < pairs.size(); ++i)
        ret = applyEntry(dbp, {JournalEntry::Op::Add, 0, pairs[i].first, pairs[i].second});
    if (ret == 0)
        ret = replayJournal(dbp, contents.entries);
    if (ret == 0)
        ret = dbp->sync(dbp, 0);
    const int closed = dbp->close(dbp, 0);
    if (ret == 0)
        ret = closed;
    if (ret != 0)
        return libraryText(ret);
    // The rebuilt file takes the damaged one's mode, owner and group.
    if (const int fd = ::open(temporary.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW); fd >= 0) {
        takeModeOf(fd, m_dbPath);
        ::close(fd);
    }
    if (!fileVerifies(temporary))
        return QStringLiteral("the rebuilt file does not verify");
    return {};
}

// Copies set aside pile up over many crashes: the three newest of each kind are enough to find
// what was lost.
void Recovery::pruneSetAside()
{
    if (!s_setAside)
        return;
    s_setAside = false;
    QStringList removed;
    for (const QByteArray &base : {m_dbPath, m_journalPath, m_snapshotPath})
        for (const char *suffix : {".damaged", ".stale", ".old"})
            removed += removeAllButNewest(base, suffix, kSetAsideKept);
    if (!removed.isEmpty())
        say("removed the older set-aside copies " + local(removed.join(QStringLiteral(", "))) +
            " (the three newest of each kind are kept)");
}

void Recovery::afterOpen(DB *dbp, bool created)
{
    openJournal(dbp, created);
    pruneSetAside();
}

void Recovery::openJournal(DB *dbp, bool created)
{
    // The changes of a dictionary that is gone are kept with its snapshot, not dropped.
    if (created && !Journal::read(m_journalPath).entries.isEmpty()) {
        const QByteArray kept = moveAside(m_journalPath, ".stale");
        if (!kept.isEmpty())
            say("the journal " + m_journalPath +
                " belongs to a dictionary that is gone; kept it as " + kept);
    }
    if (!m_journal.open(m_dbPath)) {
        say(m_journalPath + ": " + local(m_journal.lastError()) +
            "; changes are flushed but could not be rebuilt after a crash");
        return;
    }
    // A dictionary made private after its recovery files were made keeps them private too.
    takeModeOf(m_journalPath, m_dbPath);
    takeModeOf(m_snapshotPath, m_dbPath);
    if (m_replayAtOpen) {
        if (const int ret = replayJournal(dbp, m_journal.contents().entries); ret != 0)
            say("replaying " + m_journalPath + " failed: " + db_strerror(ret));
    }
    if (created)
        setAsideOldSnapshot();
    if (snapshotDue()) {
        if (const QString why = takeSnapshot(true); why.isEmpty())
            return;
        else
            snapshotFailed(why);
    }
    m_journal.setOpenFlag(true);
}

// A writer that cannot take the snapshot (a full disk) works on with the journal, and says so
// once.
void Recovery::snapshotFailed(const QString &why)
{
    if (m_snapshotFailureTold)
        return;
    m_snapshotFailureTold = true;
    say("cannot take the snapshot " + m_snapshotPath + ": " + local(why) +
        "; changes are still kept in " + m_journalPath);
}

// A new, empty dictionary must not overwrite the copy of one that was there before.
void Recovery::setAsideOldSnapshot()
{
    SnapshotId old;
    if (!identityOf(m_snapshotPath, old))
        return;
    if (const QByteArray name = moveAside(m_snapshotPath, ".old"); !name.isEmpty())
        say("the snapshot " + m_snapshotPath +
            " belongs to a dictionary that is gone; kept it as " + name);
}

bool Recovery::snapshotDue() const
{
    const JournalContents &contents = m_journal.contents();
    if (m_snapshotWanted || contents.snapshotFileId.isEmpty() ||
        contents.dictionaryFileId != fileIdOf(m_dbPath))
        return true;
    SnapshotId current;
    if (!identityOf(m_snapshotPath, current) || current != contents.snapshot)
        return true;
    return m_journal.size() - kJournalHeaderSize > fileSize(m_dbPath) / 4;
}

QByteArray Recovery::markedImport() const
{
    QFile mark(QFile::decodeName(m_importMarkPath));
    return mark.open(QIODevice::ReadOnly) ? mark.read(kFileIdSize + 1) : QByteArray();
}

void Recovery::markImport(const QByteArray &newFileId)
{
    const int fd = ::open(m_importMarkPath.constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0)
        return;
    const bool written =
        ::write(fd, newFileId.constData(), size_t(newFileId.size())) == ssize_t(newFileId.size()) &&
        ::fdatasync(fd) == 0;
    ::close(fd);
    if (written)
        syncDirectoryOf(m_importMarkPath);
}

QString Recovery::takeSnapshot(bool openFlag)
{
    SnapshotId id;
    QByteArray snapshotFileId;
    if (QString why = copyDurably(m_dbPath, m_snapshotPath, &id, &snapshotFileId); !why.isEmpty())
        return why;
    if (!m_journal.reset(id, snapshotFileId, fileIdOf(m_dbPath), openFlag))
        return m_journal.lastError();
    ::unlink(m_importMarkPath.constData());
    m_snapshotWanted = false;
    return {};
}

QString Recovery::snapshotNow(DB *dbp)
{
    if (!m_journal.isOpen())
        return QStringLiteral("the journal is not kept");
    if (const int ret = dbp->sync(dbp, 0); ret != 0)
        return libraryText(ret);
    return takeSnapshot(true);
}

// The journal names the new file and no snapshot yet: the next open then takes one, rather than
// taking the journal for that of another dictionary and setting it aside. Once the journal names
// it, the import's mark has said all it had to.
void Recovery::snapshotBeforeNextChange()
{
    m_snapshotBeforeChange = true;
    if (!m_journal.isOpen())
        return;
    if (m_journal.reset(SnapshotId{}, {}, fileIdOf(m_dbPath), true))
        ::unlink(m_importMarkPath.constData());
    else
        report(m_journalPath + ": " + local(m_journal.lastError()));
}

void Recovery::afterClose(qint64 keyCount)
{
    if (!m_journal.isOpen())
        return;
    if (!m_snapshotBeforeChange && snapshotDue()) {
        if (const QString why = takeSnapshot(false); !why.isEmpty())
            snapshotFailed(why);
    }
    m_snapshotBeforeChange = false;
    SnapshotId dictionary;
    if (identityOf(m_dbPath, dictionary))
        m_journal.markClosed(dictionary, keyCount);
    else
        m_journal.setOpenFlag(false);
    m_journal.close();
    m_snapshotFailureTold = false;
}

qint64 Recovery::record(JournalEntry::Op op, const QByteArray &key, const QByteArray &data)
{
    if (!m_journal.isOpen())
        return kNothingRecorded;
    if (m_snapshotBeforeChange) {
        if (const QString why = takeSnapshot(true); !why.isEmpty()) {
            report(m_snapshotPath + ": " + why.toLocal8Bit() + "; nothing written");
            return kFailed;
        }
        m_snapshotBeforeChange = false;
    }
    return m_journal.append({op, QDateTime::currentMSecsSinceEpoch(), key, data});
}

void Recovery::takeBack(qint64 mark)
{
    if (mark < 0 || !m_journal.isOpen())
        return;
    if (!m_journal.truncateTo(mark))
        report(m_journalPath + ": " + local(m_journal.lastError()) +
               " while taking back a failed change");
}

} // namespace vantro
