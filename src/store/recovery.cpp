// SPDX-License-Identifier: GPL-3.0-or-later
// What recovery holds to, whatever it finds on disk:
//
// - A journal belongs to one snapshot: the header names the snapshot's file id and size (a
//   format 1 header its size, inode and time), and the dictionary's file id. A journal that names
//   no snapshot, or another one, never has a snapshot put under it: a rebuild then starts from the
//   records the damaged file still yields, keeps the snapshot aside, and says so.
// - A snapshot is taken only of a file whose every page is sound (the page scan) and that the
//   library's check passes; a damaged file found then is rebuilt first from the snapshot before it
//   and the journal, which already holds the change that found it.
// - An import is not done until a snapshot of the imported file is on disk and the journal names
//   it; only then is the file renamed into place.
// - Nothing that may hold a record no other copy holds is removed: a damaged dictionary, a
//   snapshot that does not belong, a journal with damaged entries are kept aside.
// - A reader reports success only for a whole read: a file the last clean close cannot vouch for
//   (its size, inode, times or status change differ) is scanned page by page before the library
//   reads it, and a walk stops at the first key that does not rise.
// - A journal entry that fails its checksum is an unfinished write only when it is the last and
//   has the shape of one (see Journal); any other is reported as lost, never passed over.
#include "recovery.h"

#include "filelock.h"
#include "pagescan.h"
#include "salvage.h"
#include "snapshot.h"
#include "verify.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QMap>

#include <algorithm>
#include <functional>

#include <db.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantro {
namespace {

constexpr const char *kClassName = "cDictDB";
// The rebuild writes every record once in key order: a cache this large holds the pages being
// filled and the path down to them.
constexpr unsigned kRebuildCacheBytes = 32u << 20;
constexpr int kSetAsideKept = 3;
constexpr const char *kSnapshotDamaged = "the snapshot is damaged";
constexpr const char *kSnapshotNotTheJournals =
    "the snapshot is not the one the journal was started from";

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
    // The page scan first: the library's check follows whatever a zeroed page says.
    return scanPages(path).sound() &&
           verifyLockedDictionary(path).verdict == VerifyReport::Verdict::Consistent;
}

// The copies set aside beside base under suffix ("<base><suffix>", "<base><suffix>.N") beyond
// the newest kept ones, newest by the time they were set aside (a rename or link changes it);
// answers the names removed.
static QStringList removeAllButNewest(const QByteArray &base, const char *suffix, int kept,
                                      const std::function<bool(const QByteArray &)> &mayGo)
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
        if (mayGo(QFile::encodeName(copies[i].filePath())) && QFile::remove(copies[i].filePath()))
            removed.append(copies[i].fileName());
    }
    return removed;
}

// Whether the dictionary open on dbp holds the record as the copy does.
static bool holds(DB *dbp, const QByteArray &key, const QByteArray *data)
{
    DBT dbKey{};
    DBT dbData{};
    dbKey.data = const_cast<char *>(key.constData());
    dbKey.size = u_int32_t(key.size());
    const int ret = dbp->get(dbp, nullptr, &dbKey, &dbData, 0);
    if (!data)
        return ret == DB_NOTFOUND;
    return ret == 0 && QByteArrayView(static_cast<const char *>(dbData.data),
                                      qsizetype(dbData.size)) == QByteArrayView(*data);
}

// A set-aside dictionary or snapshot may go only when every page of it could be read and the
// dictionary holds each of its records as it does.
static bool recordsAreHeld(const QByteArray &copy, DB *dbp)
{
    const PageScan scan = scanPages(copy, true);
    if (!scan.badPages.isEmpty() || scan.unreadableItems > 0)
        return false;
    return std::all_of(scan.records.begin(), scan.records.end(), [dbp](const StoredPair &pair) {
        return holds(dbp, pair.first, &pair.second);
    });
}

// A set-aside journal may go only when it is whole and the dictionary already shows the last
// change it made to each key.
static bool journalIsHeld(const QByteArray &copy, DB *dbp)
{
    const JournalContents contents = Journal::read(copy);
    if (contents.damagedEntries > 0)
        return false;
    QMap<QByteArray, const JournalEntry *> last;
    for (const JournalEntry &entry : contents.entries)
        last[entry.key] = &entry;
    for (auto at = last.cbegin(); at != last.cend(); ++at) {
        const JournalEntry &entry = *at.value();
        if (!holds(dbp, entry.key, entry.op == JournalEntry::Op::Delete ? nullptr : &entry.data))
            return false;
    }
    return true;
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
            if (QString why; !syncDirectoryOf(path, &why))
                report(name + ": " + local(why) + " while flushing its folder");
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
    m_damageFound = false;
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
    QString why;
    const bool kept = keepCopyAs(m_journalPath, copy, &why, false);
    s_setAside = true;
    say(m_journalPath + " is damaged: at least " + QByteArray::number(contents.damagedEntries) +
        " change(s) in it were lost; the " + QByteArray::number(contents.entries.size()) +
        " sound entries are applied" +
        (kept ? "; a copy is kept as " + copy : "; no copy could be kept (" + local(why) + ")"));
    m_snapshotWanted = true;
}

// The count a clean close kept is only as good as the file it was counted in: the same file id,
// and the size, inode and modification time it had then.
qint64 Recovery::keptKeyCount(const JournalContents &header, const QByteArray &dbFileId) const
{
    if (header.openFlag || header.keyCount < 0 || header.dictionaryFileId != dbFileId ||
        changedSinceClose(header))
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
    // Only a file the last clean close vouches for is read without a look at every page.
    const bool closed =
        exists && header.headerValid && !header.openFlag && header.entriesEndAtClose > 0;
    if (closed && !changedSinceClose(header))
        return false;
    return closed ? !fileVerifies(m_dbPath) : !scanPages(m_dbPath).sound();
}

bool Recovery::beforeOpen(FileLock &lock, bool fileIsBad, bool check)
{
    m_rebuildFailed = false;
    bool exists = false;
    const JournalContents header = Journal::readHeader(m_journalPath, &exists);
    if (!exists)
        return check && salvageUnjournalled(lock, fileIsBad);
    // Only a file whose first page is sound can tell whose it is: damage there is no evidence.
    const QByteArray dbFileId = fileIsBad ? QByteArray() : fileIdOf(m_dbPath);
    if (isForeign(header, dbFileId)) {
        // An import killed after its snapshot and before or after the rename: the journal (empty
        // since that snapshot) names either file, and the next snapshot ties it to the one there.
        const QByteArray marked = markedImport();
        if (!marked.isEmpty() && (marked == dbFileId || marked == header.dictionaryFileId) &&
            Journal::read(m_journalPath).entries.isEmpty())
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

// A repair of a dictionary that has no journal (killed while it was being created, or the
// journal removed by hand) has nothing to rebuild from but the file itself: its records are
// salvaged into a new file and the damaged one kept. A file whose first page is refused is taken
// for a dictionary only when its other pages are a B-tree's; any other file is left untouched.
bool Recovery::salvageUnjournalled(FileLock &lock, bool headerRefused)
{
    const bool damaged =
        headerRefused ? isBtreeWithDamagedFirstPage(m_dbPath) : !fileVerifies(m_dbPath);
    if (!damaged)
        return false;
    m_trustedKeyCount = -1;
    m_rebuilt = rebuild(lock, JournalContents{}, false);
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
           (!identityOf(m_dbPath, now) || !(now == header.dictionaryAtClose) ||
            (header.changeAtClose != 0 && changeDigest(now.ctimeNs) != header.changeAtClose));
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
    if (!snapshotBelongs(contents, snapshot))
        return QLatin1String(kSnapshotNotTheJournals);
    return {};
}

// The journal's changes apply to one snapshot only: the one whose file id and size its header
// names (a header without ids, of format 1 or rewritten from one, its size, inode and time). A
// header that names no snapshot (an empty identity, as an import of an older version left it)
// belongs to none.
bool Recovery::snapshotBelongs(const JournalContents &contents, const SnapshotId &snapshot) const
{
    if (!contents.headerValid || contents.snapshot == SnapshotId{})
        return false;
    if (contents.snapshotFileId.isEmpty())
        return snapshot == contents.snapshot;
    return fileIdOf(m_snapshotPath) == contents.snapshotFileId &&
           snapshot.size == contents.snapshot.size;
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
    bool done = true;
    Salvage salvage;
    if (unusable.isEmpty()) {
        done = readPairs(m_snapshotPath, pairs, &why);
    } else {
        salvage = salvageRecords(m_dbPath, m_snapshotPath);
        pairs = salvage.records;
        keepUnusableSnapshot(unusable);
    }
    QByteArray temporary;
    if (done)
        done = rebuildInto(temporary, contents, pairs, &why);
    FileLock rebuiltLock;
    if (done &&
        rebuiltLock.acquire(temporary, FileLock::Mode::Exclusive, &why) != FileLock::Result::Locked)
        done = false;
    const QByteArray damaged = freeDamagedName(m_dbPath);
    if (done) {
        done = keepCopyAs(m_dbPath, damaged, &why);
        s_setAside = true;
    }
    if (done && ::rename(temporary.constData(), m_dbPath.constData()) != 0)
        done = failWith(&why, QString::fromLocal8Bit(std::strerror(errno)));
    if (!done) {
        if (!temporary.isEmpty())
            ::unlink(temporary.constData());
        say(what + "; rebuilding it failed (" + local(why) +
            "), so it is left as it is, with its snapshot and journal, for the next open");
        return false;
    }
    if (QString unflushed; !syncDirectoryOf(m_dbPath, &unflushed))
        say(m_dbPath + ": the rebuilt file is in place, but flushing its folder failed (" +
            local(unflushed) + "); a crash now may bring back the damaged file");
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
            local(unusable) + "); " + salvageLosses(salvage, contents));
    // The journal now names a file that is gone, and a salvage has no snapshot behind it.
    m_snapshotWanted = true;
    return true;
}

// What a salvage could not bring back, as far as anything tells: the pages that failed and the
// count the last clean close kept.
QByteArray Recovery::salvageLosses(const Salvage &salvage, const JournalContents &contents) const
{
    QByteArray line =
        QByteArray::number(salvage.damagedPages) + " damaged page(s) could not be read";
    if (salvage.unreadableItems > 0)
        line += ", nor " + QByteArray::number(salvage.unreadableItems) + " item(s) on sound pages";
    line += "; " + QByteArray::number(m_rebuiltCount) + " records were recovered";
    if (contents.headerValid && contents.keyCount >= 0) {
        line +=
            " of the " + QByteArray::number(contents.keyCount) + " the last clean close counted";
        if (contents.keyCount > m_rebuiltCount)
            line += ": " + QByteArray::number(contents.keyCount - m_rebuiltCount) +
                    " could not be, and may still be read from the copy kept";
    }
    return line;
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
bool Recovery::readPairs(const QByteArray &path, QList<StoredPair> &pairs, QString *error)
{
    DB *dbp = nullptr;
    if (const int ret = db_create(&dbp, nullptr, 0); ret != 0)
        return failWith(error, libraryText(ret));
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
    return ret == DB_NOTFOUND || failWith(error, libraryText(ret));
}

// A new file, made by the library with page checksums, holding the pairs and then the journal's
// changes; the rebuilt dictionary gains checksums even where the damaged one had none.
bool Recovery::rebuildInto(QByteArray &temporary, const JournalContents &contents,
                           const QList<StoredPair> &pairs, QString *error)
{
    // The library must create the file itself: a name that is free, never a link.
    const int fd = createTemporaryBeside(m_dbPath, temporary, ".rebuild-");
    if (fd < 0)
        return failWith(error, QString::fromLocal8Bit(std::strerror(errno)));
    ::close(fd);
    ::unlink(temporary.constData());
    DB *dbp = nullptr;
    if (const int ret = db_create(&dbp, nullptr, 0); ret != 0)
        return failWith(error, libraryText(ret));
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
    DB_BTREE_STAT *stat = nullptr;
    if (ret == 0 && dbp->stat(dbp, nullptr, &stat, 0) == 0) {
        m_rebuiltCount = qint64(stat->bt_nkeys);
        std::free(stat);
    }
    const int closed = dbp->close(dbp, 0);
    if (ret == 0)
        ret = closed;
    if (ret != 0)
        return failWith(error, libraryText(ret));
    // The rebuilt file takes the damaged one's mode, owner and group.
    if (const int fd = ::open(temporary.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW); fd >= 0) {
        takeModeOf(fd, m_dbPath);
        ::close(fd);
    }
    if (!fileVerifies(temporary))
        return failWith(error, QStringLiteral("the rebuilt file does not verify"));
    return true;
}

// Copies set aside pile up over many crashes: the three newest of each kind are enough to find
// what was lost.
void Recovery::pruneSetAside(DB *dbp)
{
    if (!s_setAside)
        return;
    s_setAside = false;
    QStringList removed;
    for (const QByteArray &base : {m_dbPath, m_journalPath, m_snapshotPath}) {
        const bool journal = base == m_journalPath;
        for (const char *suffix : {".damaged", ".stale", ".old"})
            removed += removeAllButNewest(
                base, suffix, kSetAsideKept, [dbp, journal](const QByteArray &copy) {
                    return journal ? journalIsHeld(copy, dbp) : recordsAreHeld(copy, dbp);
                });
    }
    if (!removed.isEmpty())
        say("removed the older set-aside copies " + local(removed.join(QStringLiteral(", "))) +
            " (the three newest of each kind are kept, and any that holds a record the "
            "dictionary lacks)");
}

void Recovery::afterOpen(DB *dbp, bool created)
{
    openJournal(dbp, created);
    pruneSetAside(dbp);
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
    if (QString why; !m_journal.open(m_dbPath, &why)) {
        say(m_journalPath + ": " + local(why) +
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
        if (QString why; takeSnapshot(true, &why))
            return;
        else
            snapshotFailed(why);
    }
    if (QString why; !m_journal.setOpenFlag(true, &why))
        say(m_journalPath + ": " + local(why) +
            "; the next open checks the file only if its size or times changed");
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

// Anything but a regular file under the mark's name (a FIFO would block the open) marks nothing.
QByteArray Recovery::markedImport() const
{
    const int fd = ::open(m_importMarkPath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return {};
    struct stat info;
    QByteArray id(kFileIdSize + 1, '\0');
    const ssize_t got = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)
                            ? ::pread(fd, id.data(), size_t(id.size()), 0)
                            : -1;
    ::close(fd);
    return got > 0 ? id.left(got) : QByteArray();
}

bool Recovery::markImport(const QByteArray &newFileId, QString *error)
{
    const int fd = ::open(m_importMarkPath.constData(),
                          O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0)
        return failWith(error, QString::fromLocal8Bit(m_importMarkPath) + QStringLiteral(": ") +
                                   QString::fromLocal8Bit(std::strerror(errno)));
    struct stat info
    {
    };
    const bool written =
        ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::ftruncate(fd, 0) == 0 &&
        ::write(fd, newFileId.constData(), size_t(newFileId.size())) == ssize_t(newFileId.size()) &&
        ::fdatasync(fd) == 0;
    const QString why = written                 ? QString()
                        : S_ISREG(info.st_mode) ? QString::fromLocal8Bit(std::strerror(errno))
                                                : QStringLiteral("not a regular file");
    ::close(fd);
    if (!why.isEmpty())
        return failWith(error,
                        QString::fromLocal8Bit(m_importMarkPath) + QStringLiteral(": ") + why);
    return syncDirectoryOf(m_importMarkPath, error);
}

bool Recovery::prepareImport(const QByteArray &replacement, QString *error)
{
    const QByteArray newFileId = fileIdOf(replacement);
    if (!markImport(newFileId, error))
        return false;
    if (!m_journal.isOpen())
        return true;
    if (!scanPages(replacement).sound())
        return failWith(error, QStringLiteral("a page of the imported file fails its checksum"));
    SnapshotId id;
    QByteArray snapshotFileId;
    if (QString why; !copyDurably(replacement, m_snapshotPath, &why, &id, &snapshotFileId))
        return failWith(error, QString::fromLocal8Bit(m_snapshotPath) + QStringLiteral(": ") + why);
    if (QString why; !m_journal.reset(id, snapshotFileId, newFileId, true, &why))
        return failWith(error, QString::fromLocal8Bit(m_journalPath) + QStringLiteral(": ") + why);
    m_snapshotWanted = false;
    return true;
}

void Recovery::importInPlace()
{
    ::unlink(m_importMarkPath.constData());
}

bool Recovery::takeSnapshot(bool openFlag, QString *error)
{
    // A copy of damage would leave no sound copy at all: a file with a page that fails is never
    // copied, but rebuilt first (at the close, where the library has let go of it). The pages'
    // checksums are what a flipped bit or a zeroed page fails; the library's whole check would
    // cost as much again as the copy.
    if (!scanPages(m_dbPath).sound()) {
        m_damageFound = true;
        return failWith(
            error, QStringLiteral("a page of the dictionary is damaged, so it was not copied"));
    }
    SnapshotId id;
    QByteArray snapshotFileId;
    if (!copyDurably(m_dbPath, m_snapshotPath, error, &id, &snapshotFileId))
        return false;
    if (!m_journal.reset(id, snapshotFileId, fileIdOf(m_dbPath), openFlag, error))
        return false;
    ::unlink(m_importMarkPath.constData());
    m_snapshotWanted = false;
    return true;
}

bool Recovery::snapshotNow(DB *dbp, QString *error)
{
    if (!m_journal.isOpen())
        return failWith(error, QStringLiteral("the journal is not kept"));
    if (const int ret = dbp->sync(dbp, 0); ret != 0)
        return failWith(error, libraryText(ret));
    return takeSnapshot(true, error);
}

void Recovery::afterClose(qint64 keyCount, FileLock &lock)
{
    if (!m_journal.isOpen())
        return;
    if (snapshotDue()) {
        QString why;
        bool taken = takeSnapshot(false, &why);
        if (m_damageFound && repairBeforeSnapshot(lock)) {
            taken = takeSnapshot(false, &why);
            keyCount = m_rebuiltCount;
        }
        if (!taken)
            snapshotFailed(why);
    }
    // A file found damaged and not rebuilt keeps the journal marked open: the next open checks it.
    SnapshotId dictionary;
    bool marked = false;
    QString why;
    if (m_damageFound)
        marked = m_journal.setOpenFlag(true, &why);
    else if (identityOf(m_dbPath, dictionary))
        marked = m_journal.markClosed(dictionary, keyCount, &why);
    else
        marked = m_journal.setOpenFlag(false, &why);
    if (!marked)
        report(m_journalPath + ": " + local(why) + " while marking the close");
    m_journal.close();
    m_snapshotFailureTold = false;
    m_damageFound = false;
}

// The snapshot that fell due found the file damaged: it is rebuilt from the snapshot before and
// the journal, which holds every change since, the last one included.
bool Recovery::repairBeforeSnapshot(FileLock &lock)
{
    m_journal.close();
    const JournalContents contents = Journal::read(m_journalPath);
    if (contents.damagedEntries > 0)
        keepDamagedJournal(contents);
    say(m_dbPath + " was found damaged when its snapshot fell due; it is rebuilt now");
    if (!rebuild(lock, contents, false))
        return false;
    if (QString why; !m_journal.open(m_dbPath, &why)) {
        report(m_journalPath + ": " + local(why) + " while reopening it after the rebuild");
        return false;
    }
    m_damageFound = false;
    return true;
}

bool Recovery::record(JournalEntry::Op op, const QByteArray &key, const QByteArray &data,
                      qint64 *mark, QString *error)
{
    *mark = kNothingRecorded;
    if (!m_journal.isOpen())
        return true;
    return m_journal.append({op, QDateTime::currentMSecsSinceEpoch(), key, data}, mark, error);
}

void Recovery::takeBack(qint64 mark)
{
    if (mark < 0 || !m_journal.isOpen())
        return;
    if (QString why; !m_journal.truncateTo(mark, &why))
        report(m_journalPath + ": " + local(why) + " while taking back a failed change");
}

} // namespace vantro
