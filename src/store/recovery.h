// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "failure.h"
#include "journal.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

struct __db;

namespace vantro {

class FileLock;
struct Salvage;

// What cDictDB does beside the dictionary file so that no acknowledged change is lost to a
// crash: a snapshot "<db>.bak", the journal "<db>-journal" of every change since it, and the
// check and rebuild at open when the last program did not close the file.
//
// A change is appended to the journal and flushed before the database is written; a change that
// then fails is taken back out. A snapshot is taken only at open or at a clean close (when there
// is none, when it does not match the journal, or when the journal has grown past a quarter of
// the dictionary's size), so the cost of one change does not grow with the dictionary.
class Recovery
{
public:
    // The mark of record() when nothing was written to the journal and nothing is to be taken
    // back: the journal is not kept, or the change cannot succeed anyway.
    static constexpr qint64 kNothingRecorded = -2;

    explicit Recovery(const QByteArray &dbPath);

    // The file the recovery files belong to: a symbolic link is resolved once at open, so the
    // snapshot and journal lie beside the file itself and a rebuild replaces that file. Called
    // at every open; forgets what the last open found.
    void setPath(const QByteArray &dbPath);

    // With the single-writer lock held and before the library opens the file: when the journal
    // says the last program did not close the dictionary, checks the file (fileIsBad: it is
    // already known to be damaged) and rebuilds a damaged one from the snapshot and the journal,
    // keeping it as "<db>.damaged". The lock then moves to the rebuilt file. True when the file
    // was replaced. A file closed cleanly is checked too when it changed since (or check asks
    // for it); asked to check a file that has no journal, salvages a damaged one.
    bool beforeOpen(FileLock &lock, bool fileIsBad, bool check = false);
    // True when the last beforeOpen found the file damaged and could not rebuild it: it is left
    // as it is, and must not be written.
    bool rebuildFailed() const { return m_rebuildFailed; }
    // After the library opened the file: replays the journal onto a file that was checked and
    // found sound, takes a snapshot when one is due and marks the dictionary open.
    void afterOpen(struct __db *dbp, bool created);
    // After the library closed the file cleanly, with its lock still held: a snapshot when one is
    // due, the flag cleared and the key count (-1 when not known) recorded for the next open. A
    // file the snapshot finds damaged is rebuilt first (the lock moves to the rebuilt file).
    void afterClose(qint64 keyCount, FileLock &lock);
    // Takes a snapshot of the open file now (flushing it first).
    [[nodiscard]] bool snapshotNow(struct __db *dbp, QString *error);
    // Before an import's file (complete and flushed at replacement) takes the dictionary's name:
    // the import's mark, a snapshot of that file and the journal emptied and tied to both, all
    // flushed. False, with why the import must not go on.
    [[nodiscard]] bool prepareImport(const QByteArray &replacement, QString *error);
    // The import's file is in place: its mark has said all it had to.
    void importInPlace();
    // The key count the last clean close recorded, when the file is still as that close left
    // it; -1 otherwise.
    qint64 trustedKeyCount() const { return m_trustedKeyCount; }
    // For a reader, which writes nothing: true when the file was changed after the last clean
    // close by another program and fails the library's check.
    bool damagedSinceClose() const;
    // For a reader, which writes nothing: the count the last clean close kept, read from the
    // journal's header, or -1 when it cannot be trusted.
    qint64 keptKeyCount() const;
    // What the open did that the user should hear of (a journal set aside, a rebuild, lost
    // entries), one line each, as also written on the standard error stream.
    const QStringList &notices() const { return m_notices; }

    // Writes the change to the journal and flushes it; *mark is where to take back to. On a
    // failure the caller reports the reason.
    [[nodiscard]] bool record(JournalEntry::Op op, const QByteArray &key, const QByteArray &data,
                              qint64 *mark, QString *error);
    void takeBack(qint64 mark);
    // The journal's room made ahead doubles as a reserve for a full disk: a flush of the
    // dictionary that failed may succeed once it is given back. False when there was none.
    bool releaseRoom() { return m_journal.releaseRoom(); }

    bool rebuilt() const { return m_rebuilt; }

private:
    void say(const QByteArray &line);
    bool isForeign(const JournalContents &header, const QByteArray &dbFileId) const;
    qint64 keptKeyCount(const JournalContents &header, const QByteArray &dbFileId) const;
    void setAsideStale(const QByteArray &dbFileId);
    void keepDamagedJournal(const JournalContents &contents);
    bool changedSinceClose(const JournalContents &header) const;
    QByteArray markedImport() const;
    // Written down and flushed before an import's snapshot, so that an open after a kill knows
    // the file ids of the journal and the file for the import's.
    [[nodiscard]] bool markImport(const QByteArray &newFileId, QString *error);
    bool salvageUnjournalled(FileLock &lock, bool headerRefused);
    bool repairBeforeSnapshot(FileLock &lock);
    bool rebuild(FileLock &lock, const JournalContents &contents, bool unclosed);
    QString snapshotUnusable(const JournalContents &contents) const;
    bool snapshotBelongs(const JournalContents &contents, const SnapshotId &snapshot) const;
    QByteArray salvageLosses(const Salvage &salvage, const JournalContents &contents) const;
    void keepUnusableSnapshot(QString &unusable);
    static bool readPairs(const QByteArray &path, QList<QPair<QByteArray, QByteArray>> &pairs,
                          QString *error);
    bool rebuildInto(QByteArray &temporary, const JournalContents &contents,
                     const QList<QPair<QByteArray, QByteArray>> &pairs, QString *error);
    bool snapshotDue() const;
    [[nodiscard]] bool takeSnapshot(bool openFlag, QString *error);
    void snapshotFailed(const QString &why);
    void setAsideOldSnapshot();
    void pruneSetAside(struct __db *dbp);
    void openJournal(struct __db *dbp, bool created);

    QByteArray m_dbPath;
    QByteArray m_snapshotPath;
    QByteArray m_journalPath;
    QByteArray m_importMarkPath;
    Journal m_journal;
    bool m_replayAtOpen = false;
    bool m_rebuilt = false;
    bool m_rebuildFailed = false;
    bool m_snapshotWanted = false;
    bool m_damageFound = false;
    bool m_snapshotFailureTold = false;
    qint64 m_trustedKeyCount = -1;
    qint64 m_rebuiltCount = 0;
    QStringList m_notices;
};

// Applies the entries in order to an open database and flushes it. An entry that finds its
// work already done (an add of a stored key, a delete of a missing one) is passed over, so
// replaying a journal onto a file that already holds some or all of it gives the same file.
// Answers 0 or the library's error code.
int replayJournal(struct __db *dbp, const QList<JournalEntry> &entries);

// DB->verify on a handle of its own that was never opened, its reports kept off the streams.
bool fileVerifies(const QByteArray &path);

} // namespace vantro
