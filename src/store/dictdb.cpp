#include "dictdb.h"

#include "record.h"
#include "verify.h"

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

// The library's text for a failed write, or the plainer fact behind it.
QString writeFailure(bool open, int ret)
{
    return open ? QStringLiteral("write error: ") + QString::fromLocal8Bit(db_strerror(ret))
                : QStringLiteral("the dictionary is not open");
}

} // namespace

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
    char fileName[kNameBufferSize];
    const QByteArray name = qsDBName.toLatin1();
    if (!fitsLatin1(qsDBName) || name.size() >= kNameBufferSize || name.isEmpty()) {
        errLine(QStringLiteral("%1: cannot open \"%2\": a dictionary file name must be 1 to %3 "
                               "Latin-1 bytes")
                    .arg(QLatin1String(kClassName), qsDBName)
                    .arg(kNameBufferSize - 1));
        return 1;
    }
    std::memcpy(fileName, name.constData(), size_t(name.size()) + 1);

    const int ret = db_create(&dbp, nullptr, 0);
    if (ret != 0) {
        std::fprintf(stderr, "db_create: %s\n", db_strerror(ret));
        std::exit(1);
    }
    const QByteArray path = resolvedPath(QByteArray(fileName));
    m_recovery.setPath(path);
    if (openHandle(path) != 0)
        return 1;
    m_recovery.afterOpen(dbp, m_created);
    if (m_recovery.trustedKeyCount() >= 0) {
        iKeys = int(m_recovery.trustedKeyCount());
        m_keysCounted = true;
    }

    const int cursorRet = dbp->cursor(dbp, nullptr, &dbcp, 0);
    if (cursorRet != 0) {
        dbp->err(dbp, cursorRet, "DB->cursor");
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
    // Anything but a regular file is refused before any open: a FIFO would block in it.
    struct stat info;
    if (::stat(path, &info) == 0 && !S_ISREG(info.st_mode)) {
        errLine(QStringLiteral("%1: %2 is not a dictionary file (not a regular file); it is left "
                               "untouched")
                    .arg(QLatin1String(kClassName), QString::fromLatin1(name)));
        return 1;
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        switch (m_lock.acquire(name)) {
        case FileLock::Result::Busy:
            errLine(QStringLiteral("%1: %2 is open in another process; it was not opened and "
                                   "is left untouched")
                        .arg(QLatin1String(kClassName), QString::fromLatin1(name)));
            return 1;
        case FileLock::Result::Failed:
            dbp->err(dbp, m_lock.lastError(), "%s", path);
            return 1;
        case FileLock::Result::Locked: {
            m_created = false;
            const QString why = checkedAfterRecovery(path);
            if (!why.isEmpty()) {
                m_lock.release();
                errLine(QStringLiteral("%1: %2 is not a dictionary file (%3); it is left untouched")
                            .arg(QLatin1String(kClassName), QString::fromLatin1(name), why));
                return 1;
            }
            const int ret = dbp->open(dbp, nullptr, path, nullptr, DB_BTREE, DB_CREATE, 0664);
            if (ret != 0) {
                m_lock.release();
                dbp->err(dbp, ret, "%s", path);
                return 1;
            }
            return 0;
        }
        case FileLock::Result::Missing: {
            const int ret =
                dbp->open(dbp, nullptr, path, nullptr, DB_BTREE, DB_CREATE | DB_EXCL, 0664);
            if (ret == 0 && m_lock.acquire(name) == FileLock::Result::Locked) {
                m_created = true;
                return 0;
            }
            if (ret != 0 && ret != EEXIST) {
                dbp->err(dbp, ret, "%s", path);
                return 1;
            }
            // Another process created the file between our look and our open: start again
            // with a fresh handle, since a handle that failed to open cannot be reused.
            dbp->close(dbp, 0);
            dbp = nullptr;
            if (db_create(&dbp, nullptr, 0) != 0) {
                std::fprintf(stderr, "db_create: %s\n", db_strerror(ENOMEM));
                std::exit(1);
            }
            break;
        }
        }
    }
    errLine(QStringLiteral("%1: %2 is being created by another process; try again")
                .arg(QLatin1String(kClassName), QString::fromLatin1(name)));
    return 1;
}

int cDictDB::closeDB()
{
    if (dbcp) {
        const int ret = dbcp->close(dbcp);
        if (ret != 0) {
            dbp->err(dbp, ret, "DBcursor->close");
            outLine("I/O err ", qsDBName.toLatin1().constData());
            dbcp = nullptr;
            return 1;
        }
    }
    dbcp = nullptr;
    if (!dbp)
        return 0;
    const int ret = dbp->close(dbp, 0);
    dbp = nullptr;
    // A close that failed leaves the journal marked open, so the next open checks the file.
    if (ret == 0)
        m_recovery.afterClose(m_keysCounted ? iKeys : -1);
    m_keysCounted = false;
    m_lock.release();
    if (ret != 0) {
        std::fprintf(stderr, "%s: DB->close: %s\n", kClassName, db_strerror(ret));
        return 1;
    }
    return 0;
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
    std::printf("%s - %s: the %s of \"%s\" holds characters without a Latin-1 form; "
                "nothing written\n",
                operation, kClassName, field, qsEngWord.toLocal8Bit().constData());
    std::fflush(stdout);
    failed(QStringLiteral("the %1 holds characters without a Latin-1 form").arg(field));
    return false;
}

// Records why an add, save or delete did not happen and answers its result.
int cDictDB::failed(const QString &reason)
{
    m_failure = reason;
    return 1;
}

int cDictDB::writeRecord(Write mode)
{
    const bool adding = mode == Write::Add;
    m_failure.clear();
    if (qsEngWord.isEmpty())
        return failed(QStringLiteral("the word is empty"));
    if (!recordIsStorable(adding ? "Put err" : "Save err"))
        return 1;
    const QByteArray key = encodeKey(qsEngWord);
    const QByteArray data = encodeData(qsITRANS, qsSynonym);
    copyIn(sKey, iKLen, key.constData(), int(key.size()));
    copyIn(sData, iDLen, data.constData(), int(data.size()));

    DBT dbKey{};
    DBT dbData{};
    dbKey.data = sKey;
    dbKey.size = u_int32_t(key.size());
    dbData.data = sData;
    dbData.size = u_int32_t(data.size());
    int ret = EINVAL;
    int presence = 1;
    qint64 mark = Recovery::kNothingRecorded;
    QByteArray before;
    bool existed = false;
    if (dbp) {
        // Only a save can add or replace; whether it adds is known only from a look beforehand.
        if (!adding && m_keysCounted)
            presence = keyPresence(&dbKey);
        if (!m_deferSync)
            existed = storedValue(&dbKey, before);
        mark = journalChange(adding ? JournalEntry::Op::Add : JournalEntry::Op::Save, key, data,
                             &dbKey);
        if (mark == Recovery::kFailed) {
            outLine(adding ? "Put I/O err - " : "Save/put I/O err ", kClassName);
            return failed(QStringLiteral("write error: the recovery journal could not be written"));
        }
        ret = dbp->put(dbp, nullptr, &dbKey, &dbData, adding ? DB_NOOVERWRITE : 0);
    }
    if (ret != 0)
        m_recovery.takeBack(mark);
    if (adding && ret == DB_KEYEXIST)
        return failed(QStringLiteral("the word is already in the dictionary"));
    if (ret != 0) {
        if (dbp)
            dbp->err(dbp, ret, "DB->put");
        else
            std::fprintf(stderr, "DB->put: %s\n", db_strerror(ret));
        outLine(adding ? "Put I/O err - " : "Save/put I/O err ", kClassName);
        return failed(writeFailure(dbp != nullptr, ret));
    }
    if (adding || presence == 0)
        keyCountChanged(+1);
    else if (presence < 0)
        m_keysCounted = false;
    if (!m_deferSync && syncFailed()) {
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

int cDictDB::deleteRecord()
{
    m_failure.clear();
    if (qsEngWord.isEmpty() || !fitsLatin1(qsEngWord)) {
        outLine("Del I/O err ", kClassName);
        return failed(qsEngWord.isEmpty()
                          ? QStringLiteral("the word is empty")
                          : QStringLiteral("the word holds characters without a Latin-1 form"));
    }
    const QByteArray key = qsEngWord.toLatin1();
    copyIn(sKey, iKLen, key.constData(), int(key.size()));
    DBT dbKey{};
    dbKey.data = sKey;
    dbKey.size = u_int32_t(key.size());
    int ret = EINVAL;
    qint64 mark = Recovery::kNothingRecorded;
    QByteArray before;
    bool existed = false;
    if (dbp) {
        if (!m_deferSync)
            existed = storedValue(&dbKey, before);
        mark = journalChange(JournalEntry::Op::Delete, key, {}, &dbKey);
        if (mark == Recovery::kFailed) {
            outLine("Del I/O err ", kClassName);
            return failed(QStringLiteral("write error: the recovery journal could not be written"));
        }
        ret = dbp->del(dbp, nullptr, &dbKey, 0);
    }
    if (ret != 0) {
        m_recovery.takeBack(mark);
        if (dbp)
            dbp->err(dbp, ret, "DB->del");
        else
            std::fprintf(stderr, "DB->del: %s\n", db_strerror(ret));
        outLine("Del I/O err ", kClassName);
        return failed(ret == DB_NOTFOUND ? QStringLiteral("the word is not in the dictionary")
                                         : writeFailure(dbp != nullptr, ret));
    }
    keyCountChanged(-1);
    if (!m_deferSync && syncFailed()) {
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
    if (!dbcp)
        return 1;

    DBT dbKey{};
    DBT dbData{};
    if (cOpt == AtOrAfter) {
        const QByteArray key = encodeKey(qsEngWord);
        copyIn(sKey, iKLen, key.constData(), int(key.size()));
        dbKey.data = sKey;
        dbKey.size = u_int32_t(key.size());
    }
    if (dbcp->get(dbcp, &dbKey, &dbData, flag) != 0)
        return 1;

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
    if (dbcp && m_keysCounted)
        return iKeys;
    if (!dbcp || dbp->stat(dbp, nullptr, &sp, 0) != 0) {
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
    if (!dbp || word.isEmpty() || !fitsLatin1(word))
        return false;
    QByteArray key = word.toLatin1();
    DBT dbKey{};
    dbKey.data = key.data();
    dbKey.size = u_int32_t(key.size());
    return keyPresence(&dbKey) == 1;
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

cDictDB::BulkPut cDictDB::putStoredRecord(const QByteArray &key, const QByteArray &data,
                                          bool overwrite)
{
    if (!isOpen() || key.isEmpty())
        return BulkPut::Failed;
    // The library only reads the bytes it is given to store.
    DBT dbKey{};
    DBT dbData{};
    dbKey.data = const_cast<char *>(key.constData());
    dbKey.size = u_int32_t(key.size());
    dbData.data = const_cast<char *>(data.constData());
    dbData.size = u_int32_t(data.size());
    BulkPut outcome = BulkPut::Added;
    const qint64 mark = journalChange(overwrite ? JournalEntry::Op::Save : JournalEntry::Op::Add,
                                      key, data, &dbKey);
    if (mark == Recovery::kFailed)
        return BulkPut::Failed;
    int ret = dbp->put(dbp, nullptr, &dbKey, &dbData, DB_NOOVERWRITE);
    if (ret == DB_KEYEXIST) {
        if (!overwrite)
            return BulkPut::Kept;
        outcome = BulkPut::Overwritten;
        ret = dbp->put(dbp, nullptr, &dbKey, &dbData, 0);
    }
    if (ret != 0) {
        m_recovery.takeBack(mark);
        dbp->err(dbp, ret, "DB->put");
        return BulkPut::Failed;
    }
    if (outcome == BulkPut::Added)
        keyCountChanged(+1);
    if (!m_deferSync && syncFailed()) {
        m_recovery.takeBack(mark);
        outLine(kClassName, ": put/sync err");
        return BulkPut::Failed;
    }
    return outcome;
}

int cDictDB::flush()
{
    if (!isOpen())
        return 1;
    const int ret = dbp->sync(dbp, 0);
    if (ret != 0) {
        dbp->err(dbp, ret, "DB->sync");
        return 1;
    }
    return 0;
}

// The check and, when the last program did not close the file, the rebuild happen before the
// library opens it; a file the header check refuses may be the very damage to rebuild.
QString cDictDB::checkedAfterRecovery(const char *path)
{
    const QString why = whyNotADictionary(QByteArray(path));
    if (m_recovery.beforeOpen(m_lock, !why.isEmpty()))
        return whyNotADictionary(QByteArray(path));
    return why;
}

// Writes the change to the journal before the database sees it. A change that cannot succeed
// (an add of a stored key, a delete of a missing one) and the deferred changes of a bulk load
// are not written; the library then reports the refusal as it always has.
qint64 cDictDB::journalChange(JournalEntry::Op op, const QByteArray &key, const QByteArray &data,
                              DBT *dbKey)
{
    if (m_deferSync) {
        m_recovery.beforeUnjournaledChange();
        return Recovery::kNothingRecorded;
    }
    const int presence = op == JournalEntry::Op::Save ? -1 : keyPresence(dbKey);
    if ((op == JournalEntry::Op::Add && presence == 1) ||
        (op == JournalEntry::Op::Delete && presence == 0))
        return Recovery::kNothingRecorded;
    return m_recovery.record(op, key, data);
}

QString cDictDB::takeSnapshot()
{
    if (!isOpen())
        return QStringLiteral("the dictionary is not open");
    return m_recovery.snapshotNow(dbp);
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

} // namespace vantro
