// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictdb.h"

#include "dictreplacement.h"
#include "exitstatus.h"
#include "libraryhandle.h"
#include "pagescan.h"
#include "record.h"
#include "snapshot.h"
#include "verify.h"

#include <db.h>

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantro {
namespace {

constexpr int kNameBufferSize = 128;
constexpr const char *kClassName = "cDictDB";

// One diagnostic line on the standard output, flushed at once so that it interleaves correctly
// with the library's reports on the standard error stream.
void outLine(const char *first, const char *second)
{
    std::fputs(first, stdout);
    std::fputs(second, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void errLine(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

// A symbolic link is resolved once, here, so that the lock, the library, the recovery files and a
// rebuild all work on the file it names; a link to nowhere is left for the open to create.
QByteArray resolvedPath(const QByteArray &name)
{
    struct stat info;
    if (::lstat(name.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
        return name;
    char *real = ::realpath(name.constData(), nullptr);
    if (!real)
        return name;
    const QByteArray resolved(real);
    std::free(real);
    return resolved;
}

// The library's own reports are kept off the streams (a write that finds the disk full says three
// lines of its own, a damaged page a panic): each failure is said once, in this class's words,
// through the error routine.
bool g_ownReport = false;

void ownReportsOnly(const DB_ENV *, const char *, const char *message)
{
    if (!g_ownReport)
        return;
    std::fprintf(stderr, "%s\n", message);
    std::fflush(stderr);
}

// The library's text for a failed write.
QString writeFailure(int ret)
{
    return QStringLiteral("write error: ") + QString::fromLocal8Bit(db_strerror(ret));
}

// Said of a word, meaning or synonyms with characters that have no byte of their own in the file.
QString cannotStore(const QString &field)
{
    return QStringLiteral("the %1 holds characters the dictionary cannot store: it stores only "
                          "Western European letters and ITRANS")
        .arg(field);
}

bool isEmptyFile(const char *path)
{
    struct stat info;
    return ::stat(path, &info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0;
}

// An existing file this process may not write, for want of permission or on a read-only medium,
// or one whose owner took every write permission away (which binds even a process that could
// write it regardless).
bool mayOnlyRead(const char *path)
{
    struct stat info;
    if (::stat(path, &info) != 0)
        return false;
    return (info.st_mode & 0222) == 0 || ::access(path, W_OK) != 0;
}

// The flag a writer leaves set in the journal's header until it closes the file; the header is
// all that is read.
// What changes whenever a writer saves a change: the file, its size and its modification time.
QByteArray fileIdentity(const QByteArray &path)
{
    struct stat info;
    if (::stat(path.constData(), &info) != 0)
        return {};
    return QByteArray::number(qulonglong(info.st_ino)) + ':' +
           QByteArray::number(qlonglong(info.st_size)) + ':' +
           QByteArray::number(qlonglong(info.st_mtim.tv_sec)) + '.' +
           QByteArray::number(qlonglong(info.st_mtim.tv_nsec));
}

// True while a writer holds its session lock on the file: its journal then says "open" because
// it is open, not because it crashed, and every change it acknowledged is in the file.
bool writerHoldsFile(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

QString readersBusy()
{
    return QStringLiteral("another program has been reading the dictionary for a while; the "
                          "change was not made, try again");
}

bool lastCloseWasUnclean(const QByteArray &dbPath)
{
    bool exists = false;
    const JournalContents header =
        Journal::readHeader(journalPath(QString::fromLatin1(dbPath)).toLatin1(), &exists);
    return exists && header.headerValid && header.openFlag;
}

constexpr const char *kRepairHint = "vantro-dict repair rebuilds it from its snapshot and journal";

// The file as the user named it, for the sentences a window shows.
QString displayName(const QByteArray &name)
{
    return QString::fromLocal8Bit(name);
}

} // namespace

// Damage is said in one plain line: the library's numbering ("BDB0087 ") tells a user nothing.
void libraryReport(DB *dbp, int code, const char *what)
{
    g_ownReport = true;
    if (isDamage(code))
        dbp->errx(dbp, "%s: %s", what, cDictDB::errorText(code).toLocal8Bit().constData());
    else
        dbp->err(dbp, code, "%s", what);
    g_ownReport = false;
}

void libraryReport(DB *dbp, const QString &reason, const char *what)
{
    g_ownReport = true;
    dbp->errx(dbp, "%s: %s", what, reason.toLocal8Bit().constData());
    g_ownReport = false;
}

// A handle of this class: the library's reports filtered as above.
int createHandle(DB **dbp)
{
    const int ret = db_create(dbp, nullptr, 0);
    if (ret == 0)
        (*dbp)->set_errcall(*dbp, ownReportsOnly);
    return ret;
}

// What the library answers for a file whose pages it cannot trust: a checksum that does not
// match, a first page it refuses, or its own panic after either.
bool isDamage(int code)
{
    return code == DB_RUNRECOVERY || code == EINVAL || code == DB_VERIFY_BAD ||
           code == DB_PAGE_NOTFOUND;
}

cDictDB::cDictDB(const QString &dbName) : qsDBName(dbName), m_recovery(dbName.toLatin1()) {}

cDictDB::~cDictDB()
{
    delete[] sKey;
    delete[] sData;
}

void cDictDB::copyIn(char *&buffer, int &capacity, const char *bytes, int length)
{
    if (length + 1 > capacity) {
        delete[] buffer;
        buffer = new char[size_t(length) + 1];
        capacity = length + 1;
    }
    if (length > 0)
        std::memcpy(buffer, bytes, size_t(length));
    buffer[length] = '\0';
}

int cDictDB::openDB()
{
    m_keysCounted = false;
    m_damaged = false;
    m_cursorPlaced = false;
    m_walked = false;
    m_readOnly = false;
    m_problem.clear();
    m_notices.clear();
    char fileName[kNameBufferSize];
    const QByteArray name = qsDBName.toLatin1();
    if (!fitsLatin1(qsDBName) || name.size() >= kNameBufferSize || name.isEmpty()) {
        errLine(QStringLiteral("%1: cannot open \"%2\": a dictionary file name must be 1 to %3 "
                               "Latin-1 bytes")
                    .arg(QLatin1String(kClassName), qsDBName)
                    .arg(kNameBufferSize - 1));
        // Said in the window too: a refusal only a terminal shows looks like an empty dictionary.
        setProblem(QStringLiteral("%1 cannot be opened: a dictionary file name must be 1 to %2 "
                                  "Latin-1 bytes")
                       .arg(qsDBName)
                       .arg(kNameBufferSize - 1));
        return 1;
    }
    std::memcpy(fileName, name.constData(), size_t(name.size()) + 1);

    const int ret = createHandle(&dbp);
    if (ret != 0) {
        std::fprintf(stderr, "db_create: %s\n", db_strerror(ret));
        std::exit(Failure);
    }
    const QByteArray path = resolvedPath(QByteArray(fileName));
    m_openPath = path;
    m_changeLockFailure.clear();
    m_recovery.setPath(path);
    // Anything but a regular file is refused before any open: a FIFO would block in it, and a
    // device must never be written or renamed over.
    struct stat info;
    if (::stat(path.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return refuseNotADictionary(path, QStringLiteral("not a regular file"));
    const bool readOnly = m_access == Access::ReadOnly ||
                          (m_access == Access::WriteIfAllowed && mayOnlyRead(path.constData()));
    if (readOnly ? openReadOnly(path) : openHandle(path)) {
        m_changeLock.close();
        if (m_problem.isEmpty())
            setProblem(QStringLiteral("%1 cannot be opened").arg(displayName(path)));
        return 1;
    }
    if (!m_readOnly)
        m_recovery.afterOpen(dbp, m_created);
    m_notices += m_recovery.notices();
    if (const qint64 kept = m_readOnly ? m_recovery.keptKeyCount() : m_recovery.trustedKeyCount();
        kept >= 0) {
        iKeys = int(kept);
        m_keysCounted = true;
    }
    if (m_readOnly && m_access == Access::WriteIfAllowed && !m_lockEachRead) {
        setProblem(
            QStringLiteral("%1 may only be read, so it is open read-only").arg(displayName(path)));
    }

    const int cursorRet = dbp->cursor(dbp, nullptr, &dbcp, 0);
    if (cursorRet != 0) {
        libraryReport(dbp, cursorRet, "DB->cursor");
        dbcp = nullptr;
        return 1;
    }
    return 0;
}

// Opens the handle under the single-writer lock. An existing file is locked and checked before
// the library opens it; a missing one is created exclusively and then locked, and when another
// process creates it first the existing-file path is taken instead.
int cDictDB::openHandle(const QByteArray &name)
{
    const char *path = name.constData();
    for (int attempt = 0; attempt < 3; ++attempt) {
        QString why;
        switch (m_lock.acquire(name, FileLock::Mode::Exclusive, &why)) {
        case FileLock::Result::Busy:
            return m_access == Access::WriteIfAllowed ? openSharedWithWriter(name)
                                                      : refuseBusy(name);
        case FileLock::Result::Failed:
            return refuseUnopenable(name, why);
        case FileLock::Result::Locked:
            return openLocked(name);
        case FileLock::Result::Missing: {
            // Without the folder's lock a leftover of another create is judged by its age
            // alone, so the reason is not needed.
            int folderLock = -1;
            const bool creatorsExcluded = lockFolderForCreate(name, &folderLock, nullptr);
            const auto releaseFolder = qScopeGuard([folderLock] {
                if (folderLock >= 0)
                    ::close(folderLock);
            });
            removeLibraryLeftover(name, creatorsExcluded);
            dbp->set_flags(dbp, DB_CHKSUM);
            const int ret =
                dbp->open(dbp, nullptr, path, nullptr, DB_BTREE, DB_CREATE | DB_EXCL, 0664);
            if (ret == 0 && m_lock.acquire(name, FileLock::Mode::Exclusive, nullptr) ==
                                FileLock::Result::Locked) {
                // Without the change lock readers could read pages half written.
                if (!m_changeLock.open(name, true, &why))
                    return refuseCreatedWithoutChangeLock(name, why);
                m_created = true;
                return 0;
            }
            if (ret != 0 && ret != EEXIST)
                return refuseUncreatable(name, ret);
            // Another process created the file between our look and our open: start again
            // with a fresh handle, since a handle that failed to open cannot be reused.
            dbp->close(dbp, 0);
            dbp = nullptr;
            if (createHandle(&dbp) != 0) {
                std::fprintf(stderr, "db_create: %s\n", db_strerror(ENOMEM));
                std::exit(Failure);
            }
            break;
        }
        }
    }
    errLine(QStringLiteral("%1: %2 is being created by another process; try again")
                .arg(QLatin1String(kClassName), QString::fromLatin1(name)));
    return 1;
}

// The file this open has just created (exclusively, so no one else's, and still empty) would be
// left on disk by a refusal: it is removed while still locked, so that no other process takes it
// for a dictionary in between.
int cDictDB::refuseCreatedWithoutChangeLock(const QByteArray &name, const QString &why)
{
    dbp->close(dbp, DB_NOSYNC);
    dbp = nullptr;
    const bool removed = ::unlink(name.constData()) == 0 || errno == ENOENT;
    const QString notRemoved =
        removed ? QString()
                : QStringLiteral("; the empty %1 it made stays: %2")
                      .arg(displayName(name), QString::fromLocal8Bit(std::strerror(errno)));
    m_lock.release();
    if (createHandle(&dbp) != 0) {
        std::fprintf(stderr, "db_create: %s\n", db_strerror(ENOMEM));
        std::exit(Failure);
    }
    return refuseUnopenable(name, why + notRemoved);
}

// The file exists and is locked: checked and, when damaged, rebuilt before the library opens it.
int cDictDB::openLocked(const QByteArray &name)
{
    const char *path = name.constData();
    m_created = false;
    // A recovery or a rebuild rewrites the file: readers wait for it, and it for them.
    if (QString why; !m_changeLock.open(name, true, &why)) {
        m_lock.release();
        return refuseUnopenable(name, why);
    }
    ChangeLock::Bracket rewriting(m_changeLock, ChangeLock::Mode::Exclusive, ChangeLock::kWaitMs);
    if (!rewriting.held()) {
        m_lock.release();
        m_changeLock.close();
        return refuseBusy(name);
    }
    const QString why = checkedAfterRecovery(path);
    // An empty file holds no records: a crash while it was being created, or a touch.
    // It is made a new dictionary under the lock, as the library's own create would.
    m_created = why.isEmpty() ? false : isEmptyFile(path);
    if (!why.isEmpty() && !m_created) {
        m_lock.release();
        return isBtreeWithDamagedFirstPage(name) ? refuseDamaged(name, false)
                                                 : refuseNotADictionary(name, why);
    }
    if (m_recovery.rebuildFailed()) {
        m_lock.release();
        return refuseDamaged(name, false);
    }
    int ret = openExisting(path, DB_CREATE);
    // A first page the library refuses is damage the header check cannot see.
    if (ret != 0 && isDamage(ret) && m_recovery.beforeOpen(m_lock, true)) {
        dbp->close(dbp, 0);
        if (createHandle(&dbp) != 0) {
            std::fprintf(stderr, "db_create: %s\n", db_strerror(ENOMEM));
            std::exit(Failure);
        }
        ret = openExisting(path, DB_CREATE);
    }
    if (ret != 0) {
        m_lock.release();
        return m_recovery.rebuildFailed() || isDamage(ret) ? refuseDamaged(name, false)
                                                           : refuseUnopenable(name, ret);
    }
    return 0;
}

// A reader shares its lock with other readers and excludes a writer. When the journal says the
// last writer did not close the file, the changes since its snapshot may be missing from it or
// it may be damaged: a process that may write hands over to the writable open, which checks and
// rebuilds; one that may not reads the file as it is and says so.
int cDictDB::openReadOnly(const QByteArray &name)
{
    const char *path = name.constData();
    if (QString why; !m_changeLock.open(name, false, &why))
        return refuseUnopenable(name, why);
    // A reader that waited this long says the file is busy, whatever the system's reason.
    if (!m_changeLock.lock(ChangeLock::Mode::Shared, ChangeLock::kWaitMs, nullptr))
        return refuseBusy(name);
    if (!writerHoldsFile(name) && lastCloseWasUnclean(name)) {
        if (!mayOnlyRead(path) && !m_lockEachRead) {
            m_changeLock.close();
            return openHandle(name);
        }
        const QString notice = QStringLiteral("%1 was not closed by the last program that wrote "
                                              "it; it is read as it is, without the changes its "
                                              "journal may hold")
                                   .arg(displayName(name));
        errLine(QStringLiteral("%1: %2").arg(QLatin1String(kClassName), notice));
        m_notices.append(notice);
    }
    if (isEmptyFile(path)) {
        m_readOnly = true;
        return openEmptyInMemory();
    }
    if (const QString why = whyNotADictionary(path); !why.isEmpty()) {
        m_lock.release();
        return isBtreeWithDamagedFirstPage(name) ? refuseDamaged(name, true)
                                                 : refuseNotADictionary(name, why);
    }
    int ret = m_recovery.damagedSinceClose() ? DB_VERIFY_BAD : openExisting(path, DB_RDONLY);
    if (ret != 0) {
        m_lock.release();
        return isDamage(ret) ? refuseDamaged(name, true) : refuseUnopenable(name, ret);
    }
    m_readOnly = true;
    m_seenFile = fileIdentity(name);
    if (m_lockEachRead)
        m_changeLock.unlock();
    return 0;
}

// Another window or program holds the file for writing: it is read as last saved, the change
// lock taken for each read, so that the writer's changes go on between them.
int cDictDB::openSharedWithWriter(const QByteArray &name)
{
    m_lockEachRead = true;
    const int ret = openReadOnly(name);
    if (ret == 0)
        setProblem(QStringLiteral("%1 is open in another window or program, so it is open "
                                  "read-only")
                       .arg(displayName(name)));
    return ret;
}

// Before a read of a reader that shares the file with a writer: the change lock, and the file
// opened again when a change was saved since the last read (the library's cache would mix old
// pages with new ones). False when the lock could not be had or the file not opened again.
bool cDictDB::readLocked()
{
    if (!m_lockEachRead || !m_readOnly)
        return dbcp != nullptr;
    if (m_walkHoldsLock) {
        m_walkHoldsLock = false;
        m_changeLock.unlock();
    }
    if (!m_changeLock.lock(ChangeLock::Mode::Shared, ChangeLock::kWaitMs, nullptr))
        return false;
    if (fileIdentity(m_openPath) != m_seenFile && reopenForReading() != 0) {
        m_changeLock.unlock();
        return false;
    }
    return dbcp != nullptr;
}

void cDictDB::readDone()
{
    if (m_lockEachRead && m_readOnly && !m_walkHoldsLock)
        m_changeLock.unlock();
}

int cDictDB::reopenForReading()
{
    if (dbcp)
        dbcp->close(dbcp);
    dbcp = nullptr;
    if (dbp)
        dbp->close(dbp, 0);
    dbp = nullptr;
    m_bulkAt = nullptr;
    m_walked = false;
    m_keysCounted = false;
    m_reopened = true;
    // A rebuild or an import puts a new file in place: the lock goes with the file.
    if (!m_changeLock.open(m_openPath, false, nullptr) ||
        !m_changeLock.lock(ChangeLock::Mode::Shared, ChangeLock::kWaitMs, nullptr))
        return 1;
    int ret = createHandle(&dbp);
    if (ret == 0)
        ret = openExisting(m_openPath.constData(), DB_RDONLY);
    if (ret == 0)
        ret = dbp->cursor(dbp, nullptr, &dbcp, 0);
    if (ret != 0) {
        libraryReport(dbp, ret, m_openPath.constData());
        dbcp = nullptr;
        return 1;
    }
    m_seenFile = fileIdentity(m_openPath);
    return 0;
}

// A step from the record last read, on a cursor that was opened again since: the cursor is first
// put back at that record, or where it would be when it was deleted meanwhile. 0 with flag the
// step still to take (0 for none, the cursor is on the answer), or 1 when there is no answer.
int cDictDB::stepAfterReopen(unsigned &flag)
{
    m_reopened = false;
    if (!m_cursorPlaced || (flag != DB_NEXT && flag != DB_PREV))
        return 0;
    QByteArray key = m_storedKey;
    DBT dbKey{};
    dbKey.data = key.data();
    dbKey.size = u_int32_t(key.size());
    dbKey.ulen = dbKey.size;
    DBT dbData{};
    dbData.flags = DB_DBT_PARTIAL;
    const int ret = dbcp->get(dbcp, &dbKey, &dbData, DB_SET_RANGE);
    if (ret == DB_NOTFOUND) {
        m_cursorPlaced = false;
        if (flag == DB_NEXT)
            return 1;
        flag = DB_LAST;
        return 0;
    }
    if (ret != 0)
        return 1;
    const bool same = QByteArrayView(static_cast<const char *>(dbKey.data), dbKey.size) ==
                      QByteArrayView(m_storedKey);
    if (flag == DB_NEXT && !same) {
        m_cursorPlaced = false;
        flag = DB_CURRENT;
    }
    return 0;
}

// An empty file read without writing it: an empty database of the process's own memory.
int cDictDB::openEmptyInMemory()
{
    const int ret = dbp->open(dbp, nullptr, nullptr, nullptr, DB_BTREE, DB_CREATE, 0);
    if (ret != 0)
        return refuseUnopenable(qsDBName.toLatin1(), ret);
    return 0;
}

// Checksums are asked for on every file the open creates; a file that has them is read with
// them anyway, and one without them is read as it is. (The library's reports of an open, such as
// an empty file being of no known format to it, are kept off the streams by the handle.)
int cDictDB::openExisting(const char *path, unsigned flags)
{
    dbp->set_flags(dbp, DB_CHKSUM);
    return dbp->open(dbp, nullptr, path, nullptr, DB_BTREE, flags, 0664);
}

int cDictDB::refuseBusy(const QByteArray &name)
{
    errLine(QStringLiteral("%1: %2 is open in another process; it was not opened and "
                           "is left untouched")
                .arg(QLatin1String(kClassName), QString::fromLatin1(name)));
    setProblem(QStringLiteral("%1 is open in another window or program").arg(displayName(name)));
    return 1;
}

int cDictDB::refuseNotADictionary(const QByteArray &name, const QString &why)
{
    errLine(QStringLiteral("%1: %2 is not a dictionary file (%3); it is left untouched")
                .arg(QLatin1String(kClassName), QString::fromLatin1(name), why));
    setProblem(QStringLiteral("%1 is not a dictionary file (%2)").arg(displayName(name), why));
    return 1;
}

// A reader leaves the repair to the next writer; a writer that could not rebuild the file has
// already said why in the rebuild's own line.
int cDictDB::refuseDamaged(const QByteArray &name, bool reader)
{
    if (!reader && m_recovery.rebuildFailed()) {
        setProblem(m_recovery.notices().value(m_recovery.notices().size() - 1));
        return 1;
    }
    const QString how = reader ? QLatin1String(kRepairHint)
                               : QStringLiteral("there is no journal to rebuild it from, so it is "
                                                "left as it is; vantro-dict repair salvages the "
                                                "records it still holds");
    errLine(QStringLiteral("%1: %2 is damaged; %3")
                .arg(QLatin1String(kClassName), QString::fromLatin1(name), how));
    setProblem(QStringLiteral("%1 is damaged; %2").arg(displayName(name), how));
    return 1;
}

// A refusal of the system's (a lock, an open of our own) in the same words as the library's.
int cDictDB::refuseUnopenable(const QByteArray &name, const QString &reason)
{
    libraryReport(dbp, reason, name.constData());
    setProblem(QStringLiteral("%1 cannot be opened (%2)").arg(displayName(name), reason));
    return 1;
}

int cDictDB::refuseUnopenable(const QByteArray &name, int code)
{
    libraryReport(dbp, code, name.constData());
    setProblem(QStringLiteral("%1 cannot be opened (%2)")
                   .arg(displayName(name), QString::fromLocal8Bit(db_strerror(code))));
    return 1;
}

// A new dictionary that cannot be made is reported with the folder it was to be made in, since
// the name alone does not tell a user started from a menu where that was.
int cDictDB::refuseUncreatable(const QByteArray &name, int code)
{
    libraryReport(dbp, code, name.constData());
    const QFileInfo file(QString::fromLocal8Bit(name));
    setProblem(QStringLiteral("cannot create %1 in %2: %3")
                   .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath()),
                        QString::fromLocal8Bit(db_strerror(code))));
    return 1;
}

void cDictDB::setProblem(const QString &problem)
{
    m_problem = problem;
}

int cDictDB::closeDB()
{
    m_bulkAt = nullptr;
    bool cursorFailed = false;
    if (dbcp) {
        const int ret = dbcp->close(dbcp);
        // A file already found damaged fails here too; that was said when it was found. The
        // handle is closed all the same: left open, it would hold the file and its memory.
        if (ret != 0 && !m_damaged) {
            libraryReport(dbp, ret, "DBcursor->close");
            outLine("I/O err ", qsDBName.toLatin1().constData());
            cursorFailed = true;
        }
    }
    dbcp = nullptr;
    if (!dbp)
        return cursorFailed ? 1 : 0;
    const int ret = dbp->close(dbp, 0);
    dbp = nullptr;
    // A close that failed, or a file found damaged, leaves the journal marked open, so that the
    // next open checks the file and rebuilds it.
    if (ret == 0 && !cursorFailed && !m_readOnly && !m_damaged)
        m_recovery.afterClose(m_keysCounted ? iKeys : -1, m_lock);
    m_keysCounted = false;
    m_readOnly = false;
    m_lock.release();
    m_changeLock.close();
    m_lockEachRead = false;
    m_walkHoldsLock = false;
    m_reopened = false;
    if (ret != 0 && !m_damaged) {
        std::fprintf(stderr, "%s: DB->close: %s\n", kClassName, db_strerror(ret));
        return 1;
    }
    return cursorFailed ? 1 : 0;
}

// A word, meaning or synonym that has no Latin-1 form would be stored with '?' in place of the
// missing characters, merging different words into one key; such a record is refused.
bool cDictDB::recordIsStorable(const char *operation)
{
    const char *field = !fitsLatin1(qsEngWord)   ? "word"
                        : !fitsLatin1(qsITRANS)  ? "meaning"
                        : !fitsLatin1(qsSynonym) ? "synonyms"
                                                 : nullptr;
    if (!field)
        return true;
    std::printf("%s - %s: the %s of \"%s\" holds characters the dictionary cannot store; "
                "nothing written\n",
                operation, kClassName, field, qsEngWord.toLocal8Bit().constData());
    std::fflush(stdout);
    failed(cannotStore(QLatin1String(field)));
    return false;
}

// The journal's own words are the reason: the user can act on "No space left on device".
QString cDictDB::journalFailure(const QString &why)
{
    return QStringLiteral("write error: the recovery journal could not be written (%1)").arg(why);
}

// Records why an add, save or delete did not happen and answers its result.
int cDictDB::failed(const QString &reason)
{
    m_failure = reason;
    return 1;
}

// Why a write is refused before the library sees it: a handle that never opened, or one opened
// read-only, would only answer "Invalid argument" or "Permission denied". What the open found
// (the file is open in another program, may only be read...) is the real reason.
QString cDictDB::whyNotWritable() const
{
    if (!m_problem.isEmpty())
        return m_problem;
    return m_readOnly ? QStringLiteral("the dictionary is open read-only")
                      : QStringLiteral("the dictionary is not open");
}

int cDictDB::writeRecord(Write mode, const QByteArray &storedKey)
{
    const bool adding = mode == Write::Add;
    m_failure.clear();
    if (qsEngWord.isEmpty() && storedKey.isEmpty())
        return failed(QStringLiteral("the word is empty"));
    if (!recordIsStorable(adding ? "Put err" : "Save err"))
        return 1;
    const QByteArray key = storedKey.isEmpty() ? encodeKey(qsEngWord) : storedKey;
    const QByteArray data = encodeData(qsITRANS, qsSynonym);
    copyIn(sKey, iKLen, key.constData(), int(key.size()));
    copyIn(sData, iDLen, data.constData(), int(data.size()));

    DBT dbKey{};
    DBT dbData{};
    dbKey.data = sKey;
    dbKey.size = u_int32_t(key.size());
    dbData.data = sData;
    dbData.size = u_int32_t(data.size());
    // A read-only dictionary refuses every write as the library refuses one on a file opened
    // read-only (the empty dictionary of an empty file lives in memory and would accept it).
    int ret = m_readOnly ? EACCES : EINVAL;
    int presence = 1;
    qint64 mark = Recovery::kNothingRecorded;
    QByteArray before;
    bool existed = false;
    // Readers wait for the change, written and flushed, and it waits for them.
    std::optional<ChangeLock::Bracket> changing;
    if (isOpen() && !m_readOnly && !m_changeLock.isOpen())
        return failed(m_changeLockFailure);
    if (isOpen() && !m_readOnly &&
        !changing.emplace(m_changeLock, ChangeLock::Mode::Exclusive, ChangeLock::kWaitMs).held())
        return failed(readersBusy());
    if (isOpen() && !m_readOnly) {
        // Only a save can add or replace; whether it adds is known only from a look beforehand.
        if (!adding && m_keysCounted)
            presence = keyPresence(&dbKey);
        existed = storedValue(&dbKey, before);
        if (QString why; !journalChange(adding ? JournalEntry::Op::Add : JournalEntry::Op::Save,
                                        key, data, &dbKey, &mark, &why)) {
            outLine(adding ? "Put I/O err - " : "Save/put I/O err ", kClassName);
            return failed(journalFailure(why));
        }
        ret = dbp->put(dbp, nullptr, &dbKey, &dbData, adding ? DB_NOOVERWRITE : 0);
    }
    if (ret != 0)
        m_recovery.takeBack(mark);
    if (adding && ret == DB_KEYEXIST)
        return failed(QStringLiteral("the word is already in the dictionary"));
    if (ret != 0 && isDamage(ret) && dbp)
        noteDamage(ret);
    if (ret != 0) {
        if (dbp)
            libraryReport(dbp, ret, "DB->put");
        else
            std::fprintf(stderr, "DB->put: %s\n", db_strerror(ret));
        outLine(adding ? "Put I/O err - " : "Save/put I/O err ", kClassName);
        return failed(isOpen() && !m_readOnly ? writeFailure(ret) : whyNotWritable());
    }
    if (adding || presence == 0)
        keyCountChanged(+1);
    else if (presence < 0)
        m_keysCounted = false;
    if (syncFailed()) {
        m_recovery.takeBack(mark);
        undoChange(&dbKey, existed ? &before : nullptr);
        if (adding)
            outLine("Put sync err - ", kClassName);
        else
            outLine(kClassName, ": put/sync err");
        return failed(QStringLiteral("write error: the change could not be flushed to disk"));
    }
    return 0;
}

int cDictDB::addRecord()
{
    return writeRecord(Write::Add);
}

int cDictDB::saveRecord()
{
    return writeRecord(Write::Save);
}

int cDictDB::saveRecordUnder(const QByteArray &storedKey)
{
    return writeRecord(Write::Save, storedKey);
}

int cDictDB::deleteRecord()
{
    m_failure.clear();
    if (qsEngWord.isEmpty() || !fitsLatin1(qsEngWord)) {
        outLine("Del I/O err ", kClassName);
        return failed(qsEngWord.isEmpty() ? QStringLiteral("the word is empty")
                                          : cannotStore(QStringLiteral("word")));
    }
    const QByteArray key = qsEngWord.toLatin1();
    copyIn(sKey, iKLen, key.constData(), int(key.size()));
    DBT dbKey{};
    dbKey.data = sKey;
    dbKey.size = u_int32_t(key.size());
    int ret = m_readOnly ? EACCES : EINVAL;
    qint64 mark = Recovery::kNothingRecorded;
    QByteArray before;
    bool existed = false;
    // Readers wait for the change, written and flushed, and it waits for them.
    std::optional<ChangeLock::Bracket> changing;
    if (isOpen() && !m_readOnly && !m_changeLock.isOpen())
        return failed(m_changeLockFailure);
    if (isOpen() && !m_readOnly &&
        !changing.emplace(m_changeLock, ChangeLock::Mode::Exclusive, ChangeLock::kWaitMs).held())
        return failed(readersBusy());
    if (isOpen() && !m_readOnly) {
        existed = storedValue(&dbKey, before);
        if (QString why; !journalChange(JournalEntry::Op::Delete, key, {}, &dbKey, &mark, &why)) {
            outLine("Del I/O err ", kClassName);
            return failed(journalFailure(why));
        }
        ret = dbp->del(dbp, nullptr, &dbKey, 0);
    }
    if (ret != 0) {
        m_recovery.takeBack(mark);
        if (dbp && isDamage(ret))
            noteDamage(ret);
        if (dbp)
            libraryReport(dbp, ret, "DB->del");
        else
            std::fprintf(stderr, "DB->del: %s\n", db_strerror(ret));
        outLine("Del I/O err ", kClassName);
        return failed(ret == DB_NOTFOUND ? QStringLiteral("the word is not in the dictionary")
                      : isOpen() && !m_readOnly ? writeFailure(ret)
                                                : whyNotWritable());
    }
    keyCountChanged(-1);
    if (syncFailed()) {
        m_recovery.takeBack(mark);
        undoChange(&dbKey, existed ? &before : nullptr);
        outLine(kClassName, ": del/sync err");
        return failed(QStringLiteral("write error: the change could not be flushed to disk"));
    }
    return 0;
}

int cDictDB::getCursorRec(int cOpt)
{
    u_int32_t flag = 0;
    switch (cOpt) {
    case First:
        flag = DB_FIRST;
        break;
    case Last:
        flag = DB_LAST;
        break;
    case Next:
        flag = DB_NEXT;
        break;
    case Prev:
        flag = DB_PREV;
        break;
    case AtOrAfter:
        flag = DB_SET_RANGE;
        break;
    default:
        return 1;
    }
    if (!readLocked())
        return 1;
    const auto done = qScopeGuard([this] { readDone(); });
    if (m_reopened && stepAfterReopen(flag) != 0)
        return 1;

    DBT dbKey{};
    if (cOpt == AtOrAfter) {
        const QByteArray key = encodeKey(qsEngWord);
        copyIn(sKey, iKLen, key.constData(), int(key.size()));
        dbKey.data = sKey;
        dbKey.size = u_int32_t(key.size());
    }
    return readAtCursor(&dbKey, flag);
}

int cDictDB::getStoredRec(const QByteArray &key)
{
    if (!readLocked())
        return 1;
    const auto done = qScopeGuard([this] { readDone(); });
    m_reopened = false;
    copyIn(sKey, iKLen, key.constData(), int(key.size()));
    DBT dbKey{};
    dbKey.data = sKey;
    dbKey.size = u_int32_t(key.size());
    return readAtCursor(&dbKey, DB_SET);
}

int cDictDB::readAtCursor(DBT *key, unsigned flag)
{
    DBT &dbKey = *key;
    DBT dbData{};
    if (const int ret = dbcp->get(dbcp, &dbKey, &dbData, flag); ret != 0) {
        if (isDamage(ret))
            noteDamage(ret);
        return 1;
    }
    // Keys are unique and come in order: a step that does not move on is a damaged page leading
    // back into the tree, which would otherwise be walked for ever.
    const QByteArrayView read(static_cast<const char *>(dbKey.data), qsizetype(dbKey.size));
    if (m_cursorPlaced && ((flag == DB_NEXT && !(QByteArrayView(m_storedKey) < read)) ||
                           (flag == DB_PREV && !(read < QByteArrayView(m_storedKey))))) {
        noteDamage(DB_VERIFY_BAD);
        return 1;
    }
    m_cursorPlaced = true;

    // The returned pointers lead into the library's memory, valid only until the next call.
    copyIn(sKey, iKLen, static_cast<const char *>(dbKey.data), int(dbKey.size));
    copyIn(sData, iDLen, static_cast<const char *>(dbData.data), int(dbData.size));
    m_storedKey = QByteArray(sKey, qsizetype(dbKey.size));
    m_storedData = QByteArray(sData, qsizetype(dbData.size));
    qsEngWord = decodeKey(sKey, dbKey.size);
    decodeData(sData, dbData.size, qsITRANS, qsSynonym);
    return 0;
}

// The walk over the whole tree is paid once per session; from then on every change that succeeds
// keeps the count, which stays exact because the file lock admits no other writer.
int cDictDB::getStat()
{
    if (m_lockEachRead && !readLocked())
        return 0;
    const auto done = qScopeGuard([this] { readDone(); });
    if (dbcp && m_keysCounted)
        return iKeys;
    if (const int ret = dbcp ? dbp->stat(dbp, nullptr, &sp, 0) : EINVAL; ret != 0) {
        if (dbcp && isDamage(ret))
            noteDamage(ret);
        iKeys = 0;
        return 0;
    }
    iKeys = int(sp->bt_nkeys);
    m_keysCounted = true;
    std::free(sp);
    sp = nullptr;
    return iKeys;
}

bool cDictDB::hasKey(const QString &word)
{
    if (!isOpen() || word.isEmpty() || !fitsLatin1(word) || !readLocked())
        return false;
    const auto done = qScopeGuard([this] { readDone(); });
    QByteArray key = word.toLatin1();
    DBT dbKey{};
    dbKey.data = key.data();
    dbKey.size = u_int32_t(key.size());
    return keyPresence(&dbKey) == 1;
}

bool cDictDB::readStoredRecord(const QByteArray &key, QString &meaning, QString &synonyms)
{
    if (!isOpen() || key.isEmpty() || !readLocked())
        return false;
    const auto done = qScopeGuard([this] { readDone(); });
    QByteArray bytes = key;
    DBT dbKey{};
    dbKey.data = bytes.data();
    dbKey.size = u_int32_t(bytes.size());
    QByteArray data;
    if (!storedValue(&dbKey, data))
        return false;
    decodeData(data.constData(), data.size(), meaning, synonyms);
    return true;
}

// 1 when the key is stored, 0 when it is not, -1 when the library could not tell.
int cDictDB::keyPresence(DBT *dbKey)
{
    const int ret = dbp->exists(dbp, nullptr, dbKey, 0);
    return ret == 0 ? 1 : ret == DB_NOTFOUND ? 0 : -1;
}

void cDictDB::keyCountChanged(int delta)
{
    if (m_keysCounted)
        iKeys += delta;
}

// The check and, when the last program did not close the file, the rebuild happen before the
// library opens it; a file the header check refuses may be the very damage to rebuild.
QString cDictDB::checkedAfterRecovery(const char *path)
{
    const QString why = whyNotADictionary(QByteArray(path));
    if (m_recovery.beforeOpen(m_lock, !why.isEmpty(), m_checkAtOpen))
        return whyNotADictionary(QByteArray(path));
    return why;
}

// Writes the change to the journal before the database sees it. A change that cannot succeed
// (an add of a stored key, a delete of a missing one) is not written; the library then reports
// the refusal as it always has.
bool cDictDB::journalChange(JournalEntry::Op op, const QByteArray &key, const QByteArray &data,
                            DBT *dbKey, qint64 *mark, QString *error)
{
    const int presence = op == JournalEntry::Op::Save ? -1 : keyPresence(dbKey);
    if ((op == JournalEntry::Op::Add && presence == 1) ||
        (op == JournalEntry::Op::Delete && presence == 0)) {
        *mark = Recovery::kNothingRecorded;
        return true;
    }
    return m_recovery.record(op, key, data, mark, error);
}

bool cDictDB::takeSnapshot(QString *error)
{
    if (!isOpen())
        return failWith(error, QStringLiteral("the dictionary is not open"));
    return m_recovery.snapshotNow(dbp, error);
}

// The data stored under the key, so that a change can be taken back when it does not reach the
// disk. False when the key is not stored.
bool cDictDB::storedValue(DBT *dbKey, QByteArray &value)
{
    DBT dbData{};
    if (dbp->get(dbp, nullptr, dbKey, &dbData, 0) != 0)
        return false;
    value = QByteArray(static_cast<const char *>(dbData.data), qsizetype(dbData.size));
    return true;
}

// A change whose flush failed is still in the library's cache and would reach the file with a
// later flush or the close, although the caller was told it failed; the record is put back as it
// was, so that whatever is written later holds the old state.
void cDictDB::undoChange(DBT *dbKey, const QByteArray *before)
{
    if (before) {
        DBT dbData{};
        dbData.data = const_cast<char *>(before->constData());
        dbData.size = u_int32_t(before->size());
        dbp->put(dbp, nullptr, dbKey, &dbData, 0);
    } else {
        dbp->del(dbp, nullptr, dbKey, 0);
    }
    m_keysCounted = false;
}

// A flush that fails for want of room is tried once more after the journal gives back the room
// it made ahead, so that a change already in the journal can still reach the file whole, rather
// than leave pages the file cannot hold in the cache.
bool cDictDB::syncFailed()
{
    if (dbp->sync(dbp, 0) == 0)
        return false;
    return !m_recovery.releaseRoom() || dbp->sync(dbp, 0) != 0;
}

void cDictDB::noteDamage(int code)
{
    if (m_damaged)
        return;
    m_damaged = true;
    // A reader leaves no mark a writer would see: only a repair is sure to rebuild it.
    const QString how = m_readOnly ? QLatin1String(kRepairHint)
                                   : QStringLiteral("it is rebuilt from its snapshot and journal "
                                                    "when it is next opened");
    const QString name = QString::fromLatin1(m_openPath);
    errLine(QStringLiteral("%1: %2 is damaged (%3); %4")
                .arg(QLatin1String(kClassName), name, errorText(code), how));
    setProblem(QStringLiteral("%1 is damaged; %2").arg(displayName(m_openPath), how));
}

} // namespace vantro
