// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionary store: the record codec, changes and their results, the cursor, the search and
// the word rules, the single-writer lock and shared reading, and the kept key count.

#include "capture.h"
#include "datarows.h"
#include "dbtools.h"
#include "dictdb.h"
#include "dictreplacement.h"
#include "englishlemma.h"
#include "englishlookup.h"
#include "journal.h"
#include "lockseam.h"
#include "record.h"
#include "search.h"
#include "wordat.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <db.h>
#include <sys/stat.h>
#include <thread>

using namespace vantro;
using namespace vantro::test;

namespace {

qsizetype recordsInFile(const QString &path)
{
    bool ok = false;
    const qsizetype records = DbUtilities::dump(path, &ok).size();
    return ok ? records : -1;
}

// One change, "op word": "add", "save" or "del"; or "reopen" after a clean close, with the file
// "kept" as the close left it, "replaced" by another or "loaded" with two more records in between.
int apply(cDictDB &db, const QString &op, const QString &word, const QString &path)
{
    if (op == QLatin1String("reopen")) {
        // The count at a clean close is kept in the journal's header.
        if (db.closeDB() != 0 ||
            Journal::readHeader(QFile::encodeName(journalPath(path))).keyCount !=
                recordsInFile(path))
            return 1;
        if (word == QLatin1String("replaced"))
            QFile::remove(path);
        if (word != QLatin1String("kept"))
            DbUtilities::load(path, {{"x", "1"}, {"y", "2"}});
        return db.openDB();
    }
    db.setWord(word);
    if (op == QLatin1String("del"))
        return db.deleteRecord();
    return putRecord(db, word, QStringLiteral("artha"), {}, op == QLatin1String("add"));
}

// Once the file s_sessionLocked is flock()ed, the next open of s_changeLockOf fails.
QByteArray s_sessionLocked;
QByteArray s_changeLockOf;

void failChangeLockAfterSessionLock(const QByteArray &locked)
{
    if (locked == s_sessionLocked)
        failNextOpenOf(s_changeLockOf, EMFILE);
    else
        beforeNextFlock(failChangeLockAfterSessionLock);
}

} // namespace

class TestDictDB : public QObject
{
    Q_OBJECT

private slots:
    void changesAndTheirResults_data();
    void changesAndTheirResults();
    void cursorMoves_data();
    void cursorMoves();
    void lockHoldsTheFileAtThePath();
    void noChangeWithoutTheChangeLock_data();
    void noChangeWithoutTheChangeLock();
    void leftoverOfAKilledCreate_data();
    void leftoverOfAKilledCreate();
    void accessAndSharing_data();
    void accessAndSharing();
    void readsBesideAWriter();
    void searchShortensDownToThreeCharacters_data();
    void searchShortensDownToThreeCharacters();
    void wordAtPosition_data();
    void wordAtPosition();
    void englishLookUp_data();
    void englishLookUp();
    void countStaysExact_data()
    {
        QTest::addColumn<QStringList>("steps"); // a leading '!': the step is refused
        QTest::addColumn<bool>("seeded");       // the file holds "one" and "two" before the open
        QTest::addColumn<int>("firstCount");    // the step after which the count is first asked for
        const auto row = [](const char *name, const QString &steps, bool seeded = false,
                            int firstCount = 0) {
            QTest::newRow(name) << steps.split(QStringLiteral(", ")) << seeded << firstCount;
        };
        row("adds and saves", "add apple, save berry, save APPLE, save apple, add cherry");
        row("refused adds and deletes", "!add , !save , add apple, !add Apple, !add apple, "
                                        "!del Apple, !del plum, del apple, !del apple");
        row("mixed", "save a, add b, del a, save b, add a, !del c, save c, del b, !add a");
        // The file's count is not known at the open: the first count comes after changes.
        row("first count after changes", "save three, del one, save four", true, 1);
        // The count a clean close records is trusted at the next open only while the file is as
        // that close left it: another file or another program's writes make the open count again.
        row("reopened", "add one, reopen kept, add two");
        row("file replaced between", "add one, reopen replaced, del x");
        row("records loaded between", "add one, reopen loaded, add z");
    }

    // After every step the kept count equals what an independent reader finds in the file.
    void countStaysExact()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, seeded);
        QFETCH(int, firstCount);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("morvak.db"));
        QVERIFY(!seeded || DbUtilities::load(path, {{"one", "eka"}, {"two", "dvi"}}));
        cDictDB db(path);
        QCOMPARE(db.openDB(), 0);
        for (qsizetype i = 0; i < steps.size(); ++i) {
            const QString step = steps[i].mid(steps[i].startsWith(QLatin1Char('!')) ? 1 : 0);
            const int result = apply(db, step.section(QLatin1Char(' '), 0, 0),
                                     step.section(QLatin1Char(' '), 1), path);
            QVERIFY2(result == int(step.size() < steps[i].size()), qPrintable(steps[i]));
            QVERIFY2(i < firstCount || db.getStat() == recordsInFile(path), qPrintable(steps[i]));
        }
        const int kept = db.getStat();
        QCOMPARE(db.closeDB(), 0);
        QCOMPARE(recordsInFile(path), kept);
    }
    void encodesKeyAndData_data();
    void encodesKeyAndData();
    void readsDataBack_data();
    void readsDataBack();
    void latin1Check_data();
    void latin1Check();
};

// One add, save or delete on a file the utilities wrote; what it says, why it failed, the
// file's records afterwards as the utilities read them, and the one journal entry a change
// that happened leaves (a refused one writes nothing at all).
void TestDictDB::changesAndTheirResults_data()
{
    QTest::addColumn<QStringList>("change"); // operation, word, meaning, synonyms
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("said"); // the one line on standard output starts so
    QTest::addColumn<QString>("err");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QList<KeyData>>("after"); // empty: as before
    const KeyData upper{"Upper", "x"}, other{"wat?r", "other"}, water{"water", "jalaM|udakaM"};
    const auto row = [](const char *name, const QStringList &change, int result,
                        const QByteArray &said = {}, const QString &reason = {},
                        const QList<KeyData> &after = {}, const QString &err = {}) {
        QTest::newRow(name) << change << result << said << err << reason << after;
    };
    row("add of a stored word, other case", {"add", "WATER", "x", ""}, 1, {},
        "the word is already in the dictionary");
    row("save replaces in any case", {"save", "Water", "toyaM", ""}, 0, {}, {},
        {upper, other, {"water", "toyaM"}});
    row("a trailing blank makes another key", {"add", "water ", "x", ""}, 0, {}, {},
        {upper, other, water, {"water ", "x"}});
    row("synonyms without meaning", {"add", "apple", "", "phalaM"}, 0, {}, {},
        {upper, {"apple", "|phalaM"}, other, water});
    row("empty meaning", {"add", "empty", "", ""}, 0, {}, {}, {upper, {"empty", ""}, other, water});
    row("Latin-1 key, line break", {"add", QString::fromUtf8("Über"), "line\nbreak", ""}, 0, {}, {},
        {upper, other, water, {"\374ber", "line\nbreak"}});
    row("add, empty word", {"add", "", "jalaM", ""}, 1, {}, "the word is empty");
    row("delete takes the word as typed", {"del", "Water"}, 1, "Del I/O err cDictDB",
        "the word is not in the dictionary", {},
        "DB->del: " + QString::fromLatin1(db_strerror(DB_NOTFOUND)) + "\n");
    row("delete", {"del", "water"}, 0, {}, {}, {upper, other});
    row("delete of a key with capitals", {"del", "Upper"}, 0, {}, {}, {other, water});
    row("delete, empty word", {"del", ""}, 1, "Del I/O err cDictDB", "the word is empty");
    // Characters without a Latin-1 form would turn into '?' and hit "wat?r".
    const QString unstorable = " holds characters the dictionary cannot store: it stores only "
                               "Western European letters and ITRANS";
    row("word not Latin-1, add", {"add", QString::fromUtf8("wat€r"), "jalaM", ""}, 1,
        "Put err - cDictDB: the word of", "the word" + unstorable);
    row("meaning not Latin-1", {"save", "water", QString::fromUtf8("जलम्"), ""}, 1,
        "Save err - cDictDB: the meaning of", "the meaning" + unstorable);
    row("synonyms not Latin-1", {"add", "fire", "agniH", QString::fromUtf8("toyaM 😀")}, 1,
        "Put err - cDictDB: the synonyms of", "the synonyms" + unstorable);
    row("word not Latin-1, delete", {"del", QString::fromUtf8("wat€r")}, 1, "Del I/O err cDictDB",
        "the word" + unstorable);
}

void TestDictDB::changesAndTheirResults()
{
    QFETCH(QStringList, change);
    QFETCH(int, result);
    QFETCH(QByteArray, said);
    QFETCH(QString, err);
    QFETCH(QString, reason);
    QFETCH(QList<KeyData>, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    const QList<KeyData> before{{"Upper", "x"}, {"wat?r", "other"}, {"water", "jalaM|udakaM"}};
    QVERIFY(DbUtilities::load(path, before));
    cDictDB db(path);
    QCOMPARE(db.openDB(), 0);
    // Delete tries the word as typed first, so a key with capitals stays deletable.
    QVERIFY(db.hasKey("Upper") && !db.hasKey("upper") && !db.hasKey("Water"));
    const QByteArray bytes = fileBytes(path), journal = fileBytes(journalPath(path));
    int answer = -1;
    const Captured out = captureOutput([&] {
        db.setWord(change[1]);
        answer = change[0] == "del"
                     ? db.deleteRecord()
                     : putRecord(db, change[1], change[2], change[3], change[0] == "add");
    });
    QCOMPARE(answer, result);
    QVERIFY2(out.out.startsWith(said) && out.out.count('\n') == int(!said.isEmpty()),
             out.out.constData());
    QCOMPARE(QString::fromLocal8Bit(out.err), err);
    QCOMPARE(db.failureReason(), reason);
    const QList<JournalEntry> entries = Journal::read(QFile::encodeName(journalPath(path))).entries;
    QCOMPARE(fileBytes(path) == bytes && fileBytes(journalPath(path)) == journal, bool(result));
    QCOMPARE(entries.size(), qsizetype(1 - result));
    for (const JournalEntry &e : entries) {
        const bool deleted = e.op == JournalEntry::Op::Delete;
        QCOMPARE(e.op, change[0] == "add"    ? JournalEntry::Op::Add
                       : change[0] == "save" ? JournalEntry::Op::Save
                                             : JournalEntry::Op::Delete);
        const auto holds = [&](QList<KeyData> pairs) {
            for (KeyData &pair : pairs)
                pair.second = deleted ? QByteArray() : pair.second;
            return pairs.contains({e.key, e.data});
        };
        QVERIFY(holds(before) == deleted && holds(after) != deleted);
    }
    QCOMPARE(db.closeDB(), 0);
    QCOMPARE(DbUtilities::dump(path), after.isEmpty() ? before : after);
    QVERIFY(DbUtilities::verify(path));
}

// Each move is "code:word": N, P, F, L, a raw code, "@text" (at or after text), "-word" (delete
// it) or R (close and reopen); the word is where the cursor then stands, "!word" when the move
// failed and left the texts as they were. Record w has meaning "m-w" and synonyms "s-w".
void TestDictDB::cursorMoves_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QStringList>("moves");
    const QString k300(300, QLatin1Char('k'));
    QTest::newRow("walk") << QStringList{"mango", "water", "apple", "ab", "a", "b"}
                          << QStringList{"N:a",     "N:ab",     "N:apple",  "N:b", "N:mango",
                                         "N:water", "N:!water", "P:mango",  "F:a", "P:!a",
                                         "L:water", "0:!water", "6:!water", "R:",  "P:water"};
    QTest::newRow("empty dictionary")
        << QStringList{} << QStringList{"N:!", "P:!", "F:!", "L:!", "@:!", "R:", "P:!"};
    QTest::newRow("after deleting the current record")
        << QStringList{"apple", "mango", "water"}
        << QStringList{"@mango:mango", "-mango:", "N:water", "P:apple"};
    // Past the last key nothing is read and the cursor stays where it was.
    QTest::newRow("at or after") << QStringList{"wasp", "water"}
                                 << QStringList{"@Wat:water", "@zzz:!zzz", "P:wasp"};
    QTest::newRow("long key, then a short one")
        << QStringList{k300, "short"} << QStringList{"F:" + k300, "N:short", "P:" + k300};
}

void TestDictDB::cursorMoves()
{
    QFETCH(QStringList, keys);
    QFETCH(QStringList, moves);
    QTemporaryDir dir;
    cDictDB db(dir.filePath(QStringLiteral("morvak.db")));
    QCOMPARE(db.openDB(), 0);
    for (const QString &key : keys)
        QCOMPARE(putRecord(db, key, "m-" + key, "s-" + key), 0);
    const QString codes = QStringLiteral("?FLNP");
    const Captured out = captureOutput([&] {
        for (const QString &move : moves) {
            const QString how = move.section(':', 0, 0), where = move.section(':', 1);
            if (how == "R" || how.startsWith('-')) {
                db.setWord(how.mid(1));
                QVERIFY(how == "R" ? db.closeDB() == 0 && db.openDB() == 0
                                   : db.deleteRecord() == 0);
                continue;
            }
            if (how.startsWith('@')) {
                db.setWord(how.mid(1));
                db.setITRANS("kept");
            }
            const QString meaning = db.getITRANS(), synonyms = db.getSynonym();
            const int result = how.startsWith('@')   ? db.getCursorRec(cDictDB::AtOrAfter)
                               : how.at(0).isDigit() ? db.getCursorRec(how.toInt())
                                                     : db.getCursorRec(codes.indexOf(how));
            QVERIFY2(result == int(where.startsWith('!')), qPrintable(move));
            QVERIFY2(db.getWord() == where.mid(result), qPrintable(move));
            QVERIFY2(db.getITRANS() == (result ? meaning : "m-" + where), qPrintable(move));
            QVERIFY2(db.getSynonym() == (result ? synonyms : "s-" + where), qPrintable(move));
        }
    });
    QVERIFY2(out.out.isEmpty() && out.err.isEmpty(), (out.out + out.err).constData());
    QCOMPARE(db.closeDB(), 0);
}

// A program slow to lock while a rebuild renames a new file into place must not end up holding
// the old file: the lock it answers is on the file at the path.
void TestDictDB::lockHoldsTheFileAtThePath()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    static QByteArray replacement;
    replacement = QFile::encodeName(path + QStringLiteral(".rebuild"));
    QVERIFY(DbUtilities::load(path, {{"water", "jalaM"}}) &&
            QFile::copy(path, QFile::decodeName(replacement)));
    beforeNextFlock(
        [](const QByteArray &locked) { ::rename(replacement.constData(), locked.constData()); });
    FileLock slow, other;
    const auto exclusive = FileLock::Mode::Exclusive;
    QCOMPARE(slow.acquire(QFile::encodeName(path), exclusive, nullptr), FileLock::Result::Locked);
    QCOMPARE(other.acquire(QFile::encodeName(path), exclusive, nullptr), FileLock::Result::Busy);
}

// A writer whose change lock cannot be opened (when the dictionary is created, opened, or put
// in place again by an import) writes nothing and says why, rather than change pages readers
// may be reading; the empty file a refused create made is not left behind.
void TestDictDB::noChangeWithoutTheChangeLock_data()
{
    QTest::addColumn<QString>("lockedAt"); // the session lock whose change lock fails
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("fileRemains");
    QTest::newRow("creating") << "create"
                              << "Too many open files" << false;
    QTest::newRow("opening") << "open"
                             << "Too many open files" << true;
    QTest::newRow("after an import") << "import"
                                     << "could not be opened again after the import" << true;
}

void TestDictDB::noChangeWithoutTheChangeLock()
{
    QFETCH(QString, lockedAt);
    QFETCH(QString, reason);
    QFETCH(bool, fileRemains);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    s_sessionLocked = s_changeLockOf = QFile::encodeName(path);
    QVERIFY(lockedAt == "create" || DbUtilities::load(path, {{"water", "jalaM"}}));
    cDictDB db(path);
    if (lockedAt != "import") {
        beforeNextFlock(failChangeLockAfterSessionLock);
        int opened = 0;
        const Captured out = captureOutput([&] { opened = db.openDB(); });
        QCOMPARE(opened, 1);
        QVERIFY2(db.problem().contains(reason), qPrintable(db.problem()));
        QVERIFY2(out.err.contains(reason.toUtf8()), out.err.constData());
    } else {
        QCOMPARE(db.openDB(), 0);
        QString why;
        auto replacement = db.beginReplacement(&why);
        QVERIFY2(replacement && replacement->put("earth", "bhUmiH", &why), qPrintable(why));
        s_sessionLocked = replacement->path();
        beforeNextFlock(failChangeLockAfterSessionLock);
        QVERIFY2(db.commitReplacement(std::move(replacement), &why), qPrintable(why));
    }
    db.setWord(QStringLiteral("fire"));
    db.setITRANS(QStringLiteral("agniH"));
    int added = 0;
    captureOutput([&] { added = db.addRecord(); });
    QCOMPARE(added, 1);
    QVERIFY2(lockedAt != "import" || db.failureReason().contains(reason),
             qPrintable(db.failureReason()));
    captureOutput([&] { db.closeDB(); });
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).contains("morvak.db"), fileRemains);
    bool ok = false;
    const auto records = DbUtilities::dump(path, &ok);
    QCOMPARE(ok, fileRemains);
    for (const auto &record : records)
        QVERIFY2(record.first != "fire", "a change was written without the change lock");
}

// A create killed before the library renamed its "__db.<name>" into place leaves it empty, or
// whole when the kill came at the rename; the next open creates the dictionary all the same
// (the library would wait for the leftover to become the file, for minutes).
void TestDictDB::leftoverOfAKilledCreate_data()
{
    QTest::addColumn<bool>("whole");
    QTest::newRow("empty") << false;
    QTest::newRow("its first page written") << true;
}

void TestDictDB::leftoverOfAKilledCreate()
{
    QFETCH(bool, whole);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    const QString leftover = dir.filePath(QStringLiteral("__db.morvak.db"));
    QVERIFY(whole ? DbUtilities::load(leftover, {}) : QFile(leftover).open(QIODevice::WriteOnly));
    QCOMPARE(QFileInfo(leftover).size() > 0, whole);
    cDictDB db(path);
    QCOMPARE(db.openDB(), 0);
    QVERIFY(!QFileInfo::exists(leftover));
    db.setWord(QStringLiteral("water"));
    db.setITRANS(QStringLiteral("jalaM"));
    QCOMPARE(db.addRecord(), 0);
    QCOMPARE(db.closeDB(), 0);
    QCOMPARE(recordsInFile(path), 1);
}

// An empty file and a file that may only be read are opened, by readers sharing the lock, and
// only a writer's open writes a byte. What is refused is left as it is, names the file on
// standard error, and every operation then fails, saying so (the window's refusals of every
// kind of bad file are rows of the bad-file test).
void TestDictDB::accessAndSharing_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("holder"); // the access of another object holding the file, or -1
    QTest::addColumn<int>("access");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("problem");
    using A = cDictDB::Access;
    const auto row = [](const char *name, const char *file, int holder, A access, int result,
                        const char *problem = "") {
        QTest::newRow(name) << QString(file) << holder << int(access) << result << QString(problem);
    };
    const int none = -1, reader = int(A::ReadOnly), writer = int(A::ReadWrite);
    row("empty file: a new dictionary", "empty", none, A::ReadWrite, 0);
    row("empty file, read", "empty", none, A::ReadOnly, 0);
    row("readers share", "dictionary", reader, A::ReadOnly, 0);
    row("a reader excludes a writer", "dictionary", reader, A::ReadWrite, 1,
        "open in another window");
    row("a reader reads beside a writer", "dictionary", writer, A::ReadOnly, 0);
    row("a window beside a writer reads", "dictionary", writer, A::WriteIfAllowed, 0,
        "is open in another window or program, so it is open read-only");
    row("write-protected file: read-only", "protected", none, A::WriteIfAllowed, 0,
        "may only be read");
    row("missing file, read", "missing", none, A::ReadOnly, 1, "cannot be opened");
    row("new file, name of 127 bytes", "long", none, A::ReadWrite, 0);
    // The default name lies in the working folder.
    row("new file, default name", "default", none, A::ReadWrite, 0);
    row("hash database", "hash", none, A::ReadWrite, 1, "is not a dictionary file");
    row("missing folder", "no-such-directory/morvak.db", none, A::ReadWrite, 1,
        "cannot create morvak.db in ");
    // One byte over the library's limit: refused, and no shortened name is created.
    row("name of 128 bytes", "overlong", none, A::ReadWrite, 1, "must be 1 to 127 Latin-1 bytes");
}

void TestDictDB::accessAndSharing()
{
    QFETCH(QString, file);
    QFETCH(int, holder);
    QFETCH(int, access);
    QFETCH(int, result);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const QString path = dir.filePath(
        file.endsWith("long") ? QString(126 - dir.path().size() + file.startsWith('o'), 'n')
        : file.contains('/')  ? file
                              : "morvak.db");
    const QString previous = QDir::currentPath();
    QVERIFY(file != "default" || QDir::setCurrent(dir.path()));
    const mode_t oldMask = umask(022);
    QVERIFY(file != "empty" || QFile(path).open(QIODevice::WriteOnly));
    const bool stored = file == "dictionary" || file == "protected" || file == "hash";
    QVERIFY(!stored ||
            DbUtilities::load(path, {{"water", "jalaM"}}, file == "hash" ? "hash" : "btree"));
    QVERIFY(file != "protected" || QFile::setPermissions(path, QFile::ReadOwner));
    cDictDB first(path);
    first.setAccess(cDictDB::Access(holder));
    QVERIFY(holder < 0 || first.openDB() == 0);
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
    const QByteArray bytes = fileBytes(path);
    const bool existed = QFileInfo::exists(path);
    std::unique_ptr<cDictDB> made(file == "default" ? new cDictDB : new cDictDB(path));
    cDictDB &db = *made;
    db.setAccess(cDictDB::Access(access));
    const Captured out = captureOutput([&] { QCOMPARE(db.openDB(), result); });
    QCOMPARE(out.err.count('\n'), result);
    QVERIFY(!result || out.err.contains(QFile::encodeName(path)) || file == "overlong");
    QVERIFY2(problem.isEmpty() ? db.problem().isEmpty() : db.problem().contains(problem),
             qPrintable(db.problem()));
    const bool writer = result == 0 && access == int(cDictDB::Access::ReadWrite);
    QCOMPARE(db.isReadOnly(), result == 0 && !writer);
    db.setWord("fire");
    const Captured written = captureOutput([&] {
        QCOMPARE(db.addRecord(), int(!writer));
        QCOMPARE(db.saveRecord(), int(!writer));
        QCOMPARE(db.getStat(), writer || (result == 0 && file != "empty") ? 1 : 0);
        QCOMPARE(db.deleteRecord(), int(!writer));
        for (int code = 1; result && code <= 5; ++code)
            QCOMPARE(db.getCursorRec(code), 1);
    });
    QCOMPARE(written.out, writer ? QByteArray()
                                 : QByteArray("Put I/O err - cDictDB\nSave/put I/O err cDictDB\n"
                                              "Del I/O err cDictDB\n"));
    QCOMPARE(written.err.contains("DB->put: ") && written.err.contains("DB->del: "), !writer);
    QCOMPARE(db.failureReason(), writer                   ? QString()
                                 : db.problem().isEmpty() ? "the dictionary is open read-only"
                                                          : db.problem());
    QCOMPARE(db.closeDB(), 0);
    QCOMPARE(db.closeDB(), 0);
    first.closeDB();
    umask(oldMask);
    QDir::setCurrent(previous);
    struct stat info;
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &info) == 0, existed || writer);
    if (writer)
        QVERIFY(DbUtilities::verify(path) && (info.st_mode & 0777) == 0644);
    else
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    QCOMPARE(fileBytes(path) == bytes, !writer);
}

void TestDictDB::searchShortensDownToThreeCharacters_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("found"); // empty: not found
    QTest::addColumn<QString>("next");  // where Next lands afterwards; empty: nowhere
    const auto row = [](const char *name, const QStringList &keys, const char *typed,
                        const char *found, const char *next) {
        QTest::newRow(name) << keys << QString(typed) << QString(found) << QString(next);
    };
    row("exact key, any case", {"walk", "wall"}, "WALK", "walk", "wall");
    row("walking falls back to walk", {"walk", "wall"}, "walking", "walk", "wall");
    // A failed search leaves the cursor where its last positioning put it (dog).
    row("cow is not shortened", {"cat", "dog", "emu"}, "cow", "", "emu");
    row("two letters tried whole", {"cat", "dog"}, "cx", "", "");
    row("prefix of a longer key", {"water"}, "wat", "water", "");
    row("never below three", {"wa", "wall"}, "wxyz", "", "wa");
    row("empty text finds the first key", {"b", "a"}, "", "a", "b");
    row("empty dictionary", {}, "", "", "");
    row("past the last key", {"apple"}, "zebra", "", "apple");
    row("past the last key, shortened", {"fire", "water"}, "waterfall", "water", "");
    row("key containing the text further on", {"catalog"}, "at", "catalog", "");
    row("a key stored with capitals, typed as stored", {"Ganga", "gap"}, "Ganga", "Ganga", "gap");
}

void TestDictDB::searchShortensDownToThreeCharacters()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, typed);
    QFETCH(QString, found);
    QFETCH(QString, next);
    QTemporaryDir dir;
    cDictDB db(dir.filePath(QStringLiteral("morvak.db")));
    QCOMPARE(db.openDB(), 0);
    for (const QString &key : keys) {
        db.setITRANS("meaning of " + key);
        QCOMPARE(db.saveRecordUnder(key.toLatin1()), 0);
    }
    QCOMPARE(searchAtOrAfter(db, typed), !found.isEmpty());
    if (!found.isEmpty())
        QCOMPARE(db.getWord() + '=' + db.getITRANS(), found + "=meaning of " + found);
    QCOMPARE(db.getCursorRec(cDictDB::Next), next.isEmpty() ? 1 : 0);
    if (!next.isEmpty())
        QCOMPARE(db.getWord(), next);
    QCOMPARE(db.closeDB(), 0);
}

void TestDictDB::wordAtPosition_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("word");
    QTest::newRow("inside a word") << "big, large" << 7 << "large";
    QTest::newRow("first letter") << "big, large" << 5 << "large";
    QTest::newRow("before the comma") << "big, large" << 3 << "";
    QTest::newRow("at the end") << "big, large" << 10 << "";
    QTest::newRow("past the end") << "big" << 12 << "";
    QTest::newRow("negative") << "big" << -1 << "";
    QTest::newRow("apostrophe ends a word") << "don't" << 0 << "don";
    QTest::newRow("hyphen ends a word") << "well-known" << 6 << "known";
    QTest::newRow("digits are not letters") << "ab12cd" << 1 << "ab";
    QTest::newRow("latin-1 letters") << QString::fromUtf8("café au") << 3 << "café";
    QTest::newRow("itrans marks are not letters") << "R^itaM" << 3 << "itaM";
}

void TestDictDB::wordAtPosition()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(QString, word);
    QCOMPARE(wordAt(text, position), word);
}

void TestDictDB::encodesKeyAndData_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<QString>("synonyms");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("data");
    const auto row = [](const char *name, const char *word, const char *meaning,
                        const char *synonyms, const char *key, const char *data) {
        QTest::newRow(name) << QString::fromUtf8(word) << QString::fromLatin1(meaning)
                            << QString::fromLatin1(synonyms) << QByteArray(key) << QByteArray(data);
    };
    row("with synonyms", "Water", "jalaM", "udakaM, toyaM", "water", "jalaM|udakaM, toyaM");
    row("no synonyms", "Water", "jalaM", "", "water", "jalaM");
    row("empty meaning", "a", "", "S", "a", "|S");
    row("both empty", "b", "", "", "b", "");
    row("blanks kept", "Big Cat ", "x", "", "big cat ", "x");
    row("latin-1 word", "ÉCOLE", "shAlA", "", "\351cole", "shAlA");
}

void TestDictDB::encodesKeyAndData()
{
    QFETCH(QString, word);
    QFETCH(QString, meaning);
    QFETCH(QString, synonyms);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, data);
    QCOMPARE(encodeKey(word), key);
    QCOMPARE(encodeData(meaning, synonyms), data);
}

void TestDictDB::readsDataBack_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<QString>("synonyms");
    const auto row = [](const char *name, const QByteArray &data, const char *meaning,
                        const char *synonyms) {
        QTest::newRow(name) << data << QString::fromLatin1(meaning)
                            << QString::fromLatin1(synonyms);
    };
    row("split at bar", "jalaM|udakaM", "jalaM", "udakaM");
    row("no bar", "jalaM", "jalaM", "");
    row("leading bar stays meaning", "|S", "|S", "");
    row("later bars belong to synonyms", "a|b|c", "a", "b|c");
    row("empty", "", "", "");
    row("stops at NUL", QByteArray("ab\0|cd", 6), "ab", "");
    row("line breaks kept", "a\nb|c", "a\nb", "c");
    row("trailing bar", "a|", "a", "");
}

void TestDictDB::readsDataBack()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, meaning);
    QFETCH(QString, synonyms);
    QString gotMeaning = QStringLiteral("stale");
    QString gotSynonyms = QStringLiteral("stale");
    decodeData(data.constData(), data.size(), gotMeaning, gotSynonyms);
    QCOMPARE(gotMeaning, meaning);
    QCOMPARE(gotSynonyms, synonyms);
}

void TestDictDB::latin1Check_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::newRow("ascii") << "saMskR^itaM" << true;
    QTest::newRow("last latin-1") << QString::fromUtf8("naïveÿ") << true;
    QTest::newRow("first beyond") << QString::fromUtf8("Ā") << false;
    QTest::newRow("astral") << QString::fromUtf8("😀") << false;
}

void TestDictDB::latin1Check()
{
    QFETCH(QString, text);
    QFETCH(bool, fits);
    QCOMPARE(fitsLatin1(text), fits);
}

void TestDictDB::englishLookUp_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("found");
    for (const DataRow &row : DataRows::casesOf(QFINDTESTDATA("data/lookalikes.tsv"), 3, 3))
        QTest::newRow(row.place.constData())
            << row.text(0) << row.text(1).split(u',') << row.text(2);
}

// The look-up finds a word's lemma, never a word that merely looks like one.
void TestDictDB::englishLookUp()
{
    if (!EnglishLemmas::instance().hasWordNet())
        QSKIP("wordnet-base is not installed");
    QFETCH(QString, word);
    QFETCH(QStringList, stored);
    QFETCH(QString, found);
    QTemporaryDir dir;
    QList<KeyData> records;
    for (const QString &key : stored)
        records.append({key.toLatin1(), "x"});
    std::sort(records.begin(), records.end());
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    QVERIFY(DbUtilities::load(path, records));
    cDictDB db(path);
    QCOMPARE(db.openDB(), 0);
    const EnglishLookUp outcome = lookUpEnglish(db, word, EnglishLemmas::instance());
    QCOMPARE(outcome.found ? outcome.key : QStringLiteral("-"), found);
    QCOMPARE(db.closeDB(), 0);
}

// A window that finds the dictionary held by another reads it as last saved, each change the
// writer makes showing at its next read, and the writer's changes never wait for it; a reader
// that finds a change being written waits for it.
void TestDictDB::readsBesideAWriter()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("morvak.db");
    QVERIFY(DbUtilities::load(path, {{"earth", "bhUmiH"}, {"water", "jalaM"}}));
    cDictDB writer(path);
    QCOMPARE(writer.openDB(), 0);
    cDictDB window(path);
    window.setAccess(cDictDB::Access::WriteIfAllowed);
    QCOMPARE(window.openDB(), 0);
    QVERIFY(window.isReadOnly());
    QCOMPARE(window.getStat(), 2);
    QCOMPARE(window.getCursorRec(cDictDB::First), 0);
    QCOMPARE(window.getWord(), QString("earth"));
    writer.setWord("fire");
    writer.setITRANS("agniH");
    QCOMPARE(writer.addRecord(), 0);
    writer.setWord("earth");
    QCOMPARE(writer.deleteRecord(), 0);
    // The window steps on from the record it showed, which is gone now.
    QCOMPARE(window.getCursorRec(cDictDB::Next), 0);
    QCOMPARE(window.getWord(), QString("fire"));
    QCOMPARE(window.getStat(), 2);
    QString meaning, synonyms;
    QVERIFY(window.readStoredRecord("fire", meaning, synonyms));
    QCOMPARE(meaning, QString("agniH"));
    // A change being written: the reader waits for it rather than refusing.
    ChangeLock change;
    QVERIFY(change.open(QFile::encodeName(path), true, nullptr));
    QVERIFY(change.lock(ChangeLock::Mode::Exclusive, 0, nullptr));
    cDictDB reader(path);
    reader.setAccess(cDictDB::Access::ReadOnly);
    QElapsedTimer waited;
    waited.start();
    std::thread release([&change] {
        QThread::msleep(300);
        change.unlock();
    });
    QCOMPARE(reader.openDB(), 0);
    release.join();
    QVERIFY(waited.elapsed() >= 250);
    QCOMPARE(reader.getStat(), 2);
    QCOMPARE(reader.closeDB(), 0);
    QCOMPARE(window.closeDB(), 0);
    QCOMPARE(writer.closeDB(), 0);
}

QTEST_GUILESS_MAIN(TestDictDB)
#include "tst_dictdb.moc"
