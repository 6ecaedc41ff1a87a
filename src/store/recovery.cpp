#include "recovery.h"

#include "filelock.h"
#include "snapshot.h"
#include "verify.h"

#include <QDateTime>

#include <db.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace vantro {
namespace {

constexpr const char *kClassName = "cDictDB";

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

QString libraryText(int code)
{
    return QString::fromLocal8Bit(db_strerror(code));
}

QString flushFile(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fdatasync(fd) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        if (fd >= 0)
            ::close(fd);
        return why;
    }
    ::close(fd);
    return {};
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

Recovery::Recovery(const QByteArray &dbPath)
    : m_dbPath(dbPath), m_snapshotPath(snapshotPath(QString::fromLatin1(dbPath)).toLatin1()),
      m_journal(journalPath(QString::fromLatin1(dbPath)).toLatin1())
{
}

bool Recovery::beforeOpen(FileLock &lock, bool fileIsBad)
{
    m_replayAtOpen = false;
    m_rebuilt = false;
    bool exists = false;
    const JournalContents contents =
        Journal::read(journalPath(QString::fromLatin1(m_dbPath)).toLatin1(), &exists);
    if (!exists || !contents.openFlag)
        return false;
    SnapshotId dbId;
    if (!identityOf(m_dbPath, dbId))
        return false;
    if (!fileIsBad && fileVerifies(m_dbPath)) {
        m_replayAtOpen = true;
        return false;
    }
    m_rebuilt = rebuild(lock, contents);
    return m_rebuilt;
}

bool Recovery::rebuild(FileLock &lock, const JournalContents &contents)
{
    const QByteArray what = m_dbPath + " was not closed and is damaged";
    SnapshotId snapshot;
    if (!identityOf(m_snapshotPath, snapshot)) {
        report(what + "; there is no snapshot " + m_snapshotPath +
               " to rebuild it from, so it is left as it is");
        return false;
    }
    const QByteArray temporary = m_dbPath + ".rebuild";
    QString why = rebuildInto(temporary, contents);
    FileLock rebuiltLock;
    if (why.isEmpty() && rebuiltLock.acquire(temporary) != FileLock::Result::Locked)
        why = QString::fromLocal8Bit(std::strerror(rebuiltLock.lastError()));
    const QByteArray damaged = freeDamagedName(m_dbPath);
    if (why.isEmpty())
        why = keepCopyAs(m_dbPath, damaged);
    if (why.isEmpty() && ::rename(temporary.constData(), m_dbPath.constData()) != 0)
        why = QString::fromLocal8Bit(std::strerror(errno));
    if (!why.isEmpty()) {
        ::unlink(temporary.constData());
        report(what + "; rebuilding it failed (" + local(why) + "), so it is left as it is");
        return false;
    }
    syncDirectoryOf(m_dbPath);
    // The rebuilt file is already locked through the temporary name; the old lock goes with
    // rebuiltLock, so no other program could take the new file in between.
    lock.swap(rebuiltLock);
    report(what + "; kept it as " + damaged + " and rebuilt it from " + m_snapshotPath + " and " +
           QByteArray::number(contents.entries.size()) + " journal entries" +
           (contents.snapshot == snapshot ? ""
                                          : " (the snapshot is not the one the journal "
                                            "was started from)"));
    return true;
}

QString Recovery::rebuildInto(const QByteArray &temporary, const JournalContents &contents)
{
    if (QString why = copyToNewFile(m_snapshotPath, temporary); !why.isEmpty())
        return why;
    DB *dbp = nullptr;
    if (const int ret = db_create(&dbp, nullptr, 0); ret != 0)
        return libraryText(ret);
    int ret = dbp->open(dbp, nullptr, temporary.constData(), nullptr, DB_BTREE, 0, 0664);
    if (ret == 0)
        ret = replayJournal(dbp, contents.entries);
    if (ret == 0)
        ret = dbp->sync(dbp, 0);
    const int closed = dbp->close(dbp, 0);
    if (ret == 0)
        ret = closed;
    if (ret != 0)
        return libraryText(ret);
    if (QString why = flushFile(temporary); !why.isEmpty())
        return why;
    if (!fileVerifies(temporary))
        return QStringLiteral("the snapshot itself does not verify");
    return {};
}

void Recovery::afterOpen(DB *dbp, bool created)
{
    if (!m_journal.open()) {
        report(journalPath(QString::fromLatin1(m_dbPath)).toLatin1() + ": " +
               local(m_journal.lastError()) +
               "; changes are flushed but could not be rebuilt after a crash");
        return;
    }
    if (m_replayAtOpen) {
        if (const int ret = replayJournal(dbp, m_journal.contents().entries); ret != 0)
            report("replaying " + m_dbPath + "-journal failed: " + db_strerror(ret));
    }
    if (created)
        setAsideOldSnapshot();
    if (snapshotDue()) {
        if (const QString why = takeSnapshot(true); !why.isEmpty())
            report("cannot take the snapshot " + m_snapshotPath + ": " + local(why));
        else
            return;
    }
    m_journal.setOpenFlag(true);
}

// A new, empty dictionary must not overwrite the copy of one that was there before.
void Recovery::setAsideOldSnapshot()
{
    SnapshotId old;
    if (!identityOf(m_snapshotPath, old))
        return;
    QByteArray name = m_snapshotPath + ".old";
    for (int number = 1; ::access(name.constData(), F_OK) == 0; ++number)
        name = m_snapshotPath + ".old." + QByteArray::number(number);
    if (::rename(m_snapshotPath.constData(), name.constData()) == 0)
        report("the snapshot " + m_snapshotPath +
               " belongs to a dictionary that is gone; kept it "
               "as " +
               name);
}

bool Recovery::snapshotDue() const
{
    SnapshotId current;
    if (!identityOf(m_snapshotPath, current) || current != m_journal.contents().snapshot)
        return true;
    return m_journal.size() - kJournalHeaderSize > fileSize(m_dbPath) / 4;
}

QString Recovery::takeSnapshot(bool openFlag)
{
    SnapshotId id;
    if (QString why = copyDurably(m_dbPath, m_snapshotPath, &id); !why.isEmpty())
        return why;
    if (!m_journal.reset(id, openFlag))
        return m_journal.lastError();
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

void Recovery::afterClose()
{
    if (!m_journal.isOpen())
        return;
    if (snapshotDue()) {
        if (const QString why = takeSnapshot(false); !why.isEmpty())
            report("cannot take the snapshot " + m_snapshotPath + ": " + local(why));
        else {
            m_journal.close();
            return;
        }
    }
    m_journal.setOpenFlag(false);
    m_journal.close();
}

qint64 Recovery::record(JournalEntry::Op op, const QByteArray &key, const QByteArray &data)
{
    if (!m_journal.isOpen())
        return kNothingRecorded;
    const qint64 mark = m_journal.append({op, QDateTime::currentMSecsSinceEpoch(), key, data});
    if (mark < 0)
        report(journalPath(QString::fromLatin1(m_dbPath)).toLatin1() + ": " +
               local(m_journal.lastError()) + "; nothing written");
    return mark;
}

void Recovery::takeBack(qint64 mark)
{
    if (mark < 0 || !m_journal.isOpen())
        return;
    if (!m_journal.truncateTo(mark))
        report(journalPath(QString::fromLatin1(m_dbPath)).toLatin1() + ": " +
               local(m_journal.lastError()) + " while taking back a failed change");
}

} // namespace vantro
