// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "filelock.h"
#include "recovery.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <memory>

struct __db;
struct __dbc;
struct __db_bt_stat;
struct __db_dbt;

namespace vantro {

// The dictionary file: one Berkeley DB B-tree, one cursor shared by navigation and search, and
// the current record as three texts. The record operations keep the dictionary's historic
// signatures: they answer 0 for success and 1 for failure (getStat answers the key count) and
// report through one-line diagnostics, never a dialog; since those signatures leave no room for
// a reason, failureReason() and problem() keep it. Everything else answers false with the
// reason in a QString *error, as the rest of the store does.
class cDictDB
{
public:
    explicit cDictDB(const QString &dbName = QStringLiteral("morvak.db"));
    ~cDictDB();
    cDictDB(const cDictDB &) = delete;
    cDictDB &operator=(const cDictDB &) = delete;

    // Cursor move codes of getCursorRec.
    enum Move { First = 1, Last = 2, Next = 3, Prev = 4, AtOrAfter = 5 };

    // How openDB opens the file. ReadOnly shares the change lock with other readers for the
    // session (a writer's changes wait for it, and it for a change being written) and writes no
    // file at all (no snapshot, no journal), so it works on a file, folder or medium the process
    // may only read, and beside a writer. WriteIfAllowed is ReadWrite, except for an existing
    // file the process may not write, or one another writer holds, which it opens read-only (the
    // latter taking the change lock for each read).
    enum class Access { ReadWrite, ReadOnly, WriteIfAllowed };
    void setAccess(Access access) { m_access = access; }
    // The next openDB checks the file even when the last program closed it cleanly, and
    // rebuilds it from the snapshot and journal when it is damaged (a repair on request).
    void setCheckAtOpen(bool check) { m_checkAtOpen = check; }
    bool wasRebuilt() const { return m_recovery.rebuilt(); }
    bool isReadOnly() const { return m_readOnly; }

    int openDB();
    int closeDB();
    int addRecord();
    int saveRecord();
    int getCursorRec(int cOpt);
    int deleteRecord();
    int getStat();
    // Moves the cursor to the record stored under exactly these key bytes (not lower-cased) and
    // reads it as getCursorRec does: 0, or 1 when there is none.
    int getStoredRec(const QByteArray &key);
    // Saves the current meaning and synonyms under exactly these key bytes (a key another tool
    // stored with capitals keeps them), as saveRecord does otherwise.
    int saveRecordUnder(const QByteArray &storedKey);
    // The meaning and synonyms stored under exactly these key bytes, read without moving the
    // cursor or changing the current record; false when there is no such record.
    bool readStoredRecord(const QByteArray &key, QString &meaning, QString &synonyms);

    // Why the last addRecord, saveRecord or deleteRecord answered 1, in words for the user.
    QString failureReason() const { return m_failure; }
    // True when the word is stored as it stands (no lower-casing).
    bool hasKey(const QString &word);

    // Copies the open dictionary to its snapshot "<name>.bak" and empties the recovery journal.
    [[nodiscard]] bool takeSnapshot(QString *error);

    // The record the last successful cursor read returned, as the bytes stored in the file
    // (the decoded texts cannot always reproduce them, e.g. data holding a NUL byte).
    QByteArray storedKey() const { return m_storedKey; }
    QByteArray storedData() const { return m_storedData; }

    void setWord(const QString &word) { qsEngWord = word; }
    void setWord(const char *word) { qsEngWord = QString::fromLatin1(word); }
    QString getWord() const { return qsEngWord; }
    void setITRANS(const QString &meaning) { qsITRANS = meaning; }
    void setITRANS(const char *meaning) { qsITRANS = QString::fromLatin1(meaning); }
    QString getITRANS() const { return qsITRANS; }
    void setSynonym(const QString &synonyms) { qsSynonym = synonyms; }
    void setSynonym(const char *synonyms) { qsSynonym = QString::fromLatin1(synonyms); }
    QString getSynonym() const { return qsSynonym; }

    QString fileName() const { return qsDBName; }
    // What the last open did to recover the file that the user should hear of, one line each.
    QStringList recoveryNotices() const { return m_recovery.notices(); }
    bool isOpen() const { return dbcp != nullptr; }
    // True once a read or write of this session met damage (a page failing its checksum, keys
    // that lead back). It was said in one line on the standard error stream; the file is then
    // rebuilt from the snapshot and journal at the next open for writing.
    bool damageFound() const { return m_damaged; }

    // What the last openDB found wrong that lasts as long as the session (the file is open in
    // another program, is no dictionary, may only be read...), in one sentence; empty when
    // nothing is. The diagnostic lines on the streams are written all the same.
    QString problem() const { return m_problem; }
    // What the last openDB did that the user should hear of once (a rebuild after a crash).
    QStringList notices() const { return m_notices; }

    // Bulk loads that replace the whole file: whole stored records in strictly increasing key
    // order are written into a new file beside the dictionary, which then takes its place at
    // once, so that a crash leaves the old dictionary or the new one, never a mixture. The
    // dictionary stays open and locked throughout.
    class Replacement;
    std::unique_ptr<Replacement> beginReplacement(QString *why);
    // Puts the finished file in place (flushed, renamed, directory flushed) and reopens it; its
    // snapshot is taken before the next change, or by the next open. True once the new file is
    // in place; false with the reason otherwise (the old dictionary is then left as it was). In
    // place but with the folder not flushed, replacementNotFlushed() says why; a reopen that
    // failed leaves the dictionary closed. Take a snapshot first if the journal may hold
    // changes: they must not be replayed onto the new file.
    [[nodiscard]] bool commitReplacement(std::unique_ptr<Replacement> replacement, QString *error);
    QString replacementNotFlushed() const { return m_notFlushed; }

    // The walk of export and import: the next stored record as the library's own bytes, valid
    // until the next call; nothing is decoded. False at the end, where *error is left as it
    // was, and on a failure, with the reason. The walk reads ahead in blocks: the cursor is not
    // for other moves meanwhile.
    [[nodiscard]] bool nextStored(QByteArrayView &key, QByteArrayView &data, QString *error);
    // Starts that walk again at the first record, wherever navigation left the cursor: the
    // cursor then stands on no record.
    [[nodiscard]] bool startWalk(QString *error);
    // The library's words for one of its result codes.
    static QString errorText(int code);

private:
    enum class Write { Add, Save };

    int readAtCursor(struct __db_dbt *dbKey, unsigned flag);
    int openHandle(const QByteArray &name);
    int openSharedWithWriter(const QByteArray &name);
    bool readLocked();
    void readDone();
    int reopenForReading();
    int stepAfterReopen(unsigned &flag);
    int openLocked(const QByteArray &name);
    int openReadOnly(const QByteArray &name);
    int openEmptyInMemory();
    int openExisting(const char *path, unsigned flags);
    int refuseBusy(const QByteArray &name);
    int refuseNotADictionary(const QByteArray &name, const QString &why);
    int refuseUnopenable(const QByteArray &name, int code);
    int refuseUnopenable(const QByteArray &name, const QString &reason);
    int refuseCreatedWithoutChangeLock(const QByteArray &name, const QString &why);
    int refuseUncreatable(const QByteArray &name, int code);
    int refuseDamaged(const QByteArray &name, bool reader);
    void setProblem(const QString &problem);
    int writeRecord(Write mode, const QByteArray &storedKey = {});
    QString whyNotWritable() const;
    bool recordIsStorable(const char *operation);
    int failed(const QString &reason);
    static QString journalFailure(const QString &why);
    void copyIn(char *&buffer, int &capacity, const char *bytes, int length);
    int keyPresence(struct __db_dbt *dbKey);
    void keyCountChanged(int delta);
    void noteDamage(int code);
    bool walkedInOrder(QByteArrayView key);
    QString checkedAfterRecovery(const char *path);
    bool storedValue(struct __db_dbt *dbKey, QByteArray &value);
    bool syncFailed();
    void undoChange(struct __db_dbt *dbKey, const QByteArray *before);
    bool journalChange(JournalEntry::Op op, const QByteArray &key, const QByteArray &data,
                       struct __db_dbt *dbKey, qint64 *mark, QString *error);

    QString qsEngWord;
    QString qsITRANS;
    QString qsSynonym;
    QString qsDBName;
    QByteArray m_openPath; // the file the name resolves to, links followed
    struct __db *dbp = nullptr;
    struct __dbc *dbcp = nullptr;
    char *sKey = nullptr;
    char *sData = nullptr;
    int iKLen = 0;
    int iDLen = 0;
    struct __db_bt_stat *sp = nullptr;
    int iKeys = 0;
    FileLock m_lock;
    // Readers and the writer's changes meet here; see ChangeLock.
    ChangeLock m_changeLock;
    // A reader that shares the file with a window writing it takes the change lock for each read
    // rather than for its session, and reopens the file when a change was saved meanwhile.
    bool m_lockEachRead = false;
    bool m_walkHoldsLock = false;
    bool m_reopened = false;
    QByteArray m_seenFile; // the identity of the file as last read
    // iKeys is exact once the tree has been walked, and is kept so by every change that succeeds.
    bool m_keysCounted = false;
    Access m_access = Access::ReadWrite;
    bool m_readOnly = false;
    QString m_problem;
    QStringList m_notices;
    // True when the last open created the file.
    bool m_created = false;
    QByteArray m_bulk;
    void *m_bulkAt = nullptr;
    QByteArray m_storedKey;
    QByteArray m_storedData;
    Recovery m_recovery;
    QString m_failure;
    // Why a writer holds no change lock, when it could not be opened again after an import.
    QString m_changeLockFailure;
    QString m_notFlushed;
    bool m_damaged = false;
    bool m_checkAtOpen = false;
    // The cursor stands on a record read in this session (m_storedKey), so the next step's key
    // can be checked against it; likewise the bulk walk's last key.
    bool m_cursorPlaced = false;
    bool m_walked = false;
    QByteArray m_walkedKey;
};

} // namespace vantro
