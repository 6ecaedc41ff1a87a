#include "capture.h"
#include "dbtools.h"
#include "dictdb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <db.h>
#include <sys/stat.h>

using namespace vantro;
using namespace vantro::test;

namespace {

// A dictionary file in its own temporary directory, opened for the test and closed after it.
struct Fixture
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("morvak.db"));
    cDictDB db{path};

    Fixture() { QVERIFY(db.openDB() == 0); }
    ~Fixture() { db.closeDB(); }

    int put(const QString &word, const QString &meaning, const QString &synonyms = {})
    {
        db.setWord(word);
        db.setITRANS(meaning);
        db.setSynonym(synonyms);
        return db.addRecord();
    }
};

QString libraryText(int code)
{
    return QString::fromLatin1(db_strerror(code));
}

} // namespace

class TestDictDB : public QObject
{
    Q_OBJECT

private slots:
    void addSaveAndTheirResults();
    void emptyWordIsNeverWritten();
    void deleteTakesTheWordAsTyped();
    void writtenFileIsReadByTheUtilities();
    void cursorWalk();
    void cursorOnEmptyDictionary();
    void cursorAfterDeletingCurrentRecord();
    void atOrAfterPositioning();
    void buffersOnlyGrow();
    void closeWhenNothingIsOpen();
    void lockHoldsTheFileAtThePath();
    void newFileModeAndPlace();
    void unopenedDictionaryFailsEveryOperation();
    void charactersWithoutLatin1FormAreRefused_data();
    void charactersWithoutLatin1FormAreRefused();
    void filesThatAreNotDictionariesAreLeftAlone_data();
    void filesThatAreNotDictionariesAreLeftAlone();
    void accessAndSharing_data();
    void accessAndSharing();
    void overlongFileNameIsRefused();
};

void TestDictDB::addSaveAndTheirResults()
{
    Fixture f;
    const Captured added = captureOutput([&] { QCOMPARE(f.put("Water", "jalaM", "udakaM"), 0); });
    QVERIFY(added.out.isEmpty() && added.err.isEmpty());

    // Adding an existing key fails silently and keeps the stored record.
    const Captured again = captureOutput([&] { QCOMPARE(f.put("WATER", "other"), 1); });
    QVERIFY(again.out.isEmpty() && again.err.isEmpty());
    QCOMPARE(DbUtilities::dump(f.path), (QList<KeyData>{{"water", "jalaM|udakaM"}}));

    // Saving the same word in any case replaces the record.
    f.db.setWord("Water");
    f.db.setITRANS("toyaM");
    f.db.setSynonym("");
    QCOMPARE(f.db.saveRecord(), 0);
    QCOMPARE(DbUtilities::dump(f.path), (QList<KeyData>{{"water", "toyaM"}}));
    // A trailing blank makes a different key.
    QCOMPARE(f.put("water ", "x"), 0);
    QCOMPARE(DbUtilities::dump(f.path).size(), 2);
}

void TestDictDB::emptyWordIsNeverWritten()
{
    Fixture f;
    const QByteArray before = fileBytes(f.path);
    const Captured out = captureOutput([&] {
        QCOMPARE(f.put("", "jalaM"), 1);
        QCOMPARE(f.db.saveRecord(), 1);
    });
    QVERIFY(out.out.isEmpty() && out.err.isEmpty());
    QCOMPARE(fileBytes(f.path), before);
}

void TestDictDB::deleteTakesTheWordAsTyped()
{
    Fixture f;
    f.put("water", "jalaM");
    f.db.setWord("Water");
    int result = -1;
    const Captured miss = captureOutput([&] { result = f.db.deleteRecord(); });
    QCOMPARE(result, 1);
    QCOMPARE(miss.out, QByteArray("Del I/O err cDictDB\n"));
    QCOMPARE(QString::fromLatin1(miss.err), "DB->del: " + libraryText(DB_NOTFOUND) + "\n");

    f.db.setWord("water");
    QCOMPARE(f.db.deleteRecord(), 0);
    QVERIFY(DbUtilities::dump(f.path).isEmpty());
    f.db.setWord("");
    QCOMPARE(captureOutput([&] { QCOMPARE(f.db.deleteRecord(), 1); }).out,
             QByteArray("Del I/O err cDictDB\n"));
}

void TestDictDB::writtenFileIsReadByTheUtilities()
{
    Fixture f;
    f.put("Water", "jalaM", "udakaM, toyaM");
    f.put("apple", "", "phalaM");
    f.put("empty", "");
    f.put(QString::fromUtf8("Über"), "line\nbreak");
    bool ok = false;
    const QList<KeyData> pairs = DbUtilities::dump(f.path, &ok);
    QVERIFY(ok);
    QCOMPARE(pairs, (QList<KeyData>{{"apple", "|phalaM"},
                                    {"empty", ""},
                                    {"water", "jalaM|udakaM, toyaM"},
                                    {"\xfc"
                                     "ber",
                                     "line\nbreak"}}));
    QVERIFY(DbUtilities::verify(f.path));
}

void TestDictDB::cursorWalk()
{
    Fixture f;
    for (const char *word : {"mango", "water", "apple", "ab", "a", "b"})
        f.put(word, "m");
    QStringList visited;
    while (f.db.getCursorRec(cDictDB::Next) == 0)
        visited << f.db.getWord();
    QCOMPARE(visited, QStringList({"a", "ab", "apple", "b", "mango", "water"}));
    // The failed move left the cursor on the last record.
    QCOMPARE(f.db.getWord(), "water");
    QCOMPARE(f.db.getCursorRec(cDictDB::Prev), 0);
    QCOMPARE(f.db.getWord(), "mango");
    QCOMPARE(f.db.getCursorRec(cDictDB::First), 0);
    QCOMPARE(f.db.getCursorRec(cDictDB::Prev), 1);
    QCOMPARE(f.db.getWord(), "a");
    QCOMPARE(f.db.getCursorRec(cDictDB::Last), 0);
    QCOMPARE(f.db.getWord(), "water");
    QCOMPARE(f.db.getCursorRec(0), 1);
    QCOMPARE(f.db.getCursorRec(6), 1);
    QCOMPARE(f.db.getWord(), "water");

    // Prev from a freshly opened file starts at the last record.
    cDictDB fresh(f.path);
    f.db.closeDB();
    QCOMPARE(fresh.openDB(), 0);
    QCOMPARE(fresh.getCursorRec(cDictDB::Prev), 0);
    QCOMPARE(fresh.getWord(), "water");
    fresh.closeDB();
}

void TestDictDB::cursorOnEmptyDictionary()
{
    Fixture f;
    const Captured out = captureOutput([&] {
        for (int code = 1; code <= 5; ++code)
            QCOMPARE(f.db.getCursorRec(code), 1);
    });
    QVERIFY(out.out.isEmpty() && out.err.isEmpty());
}

void TestDictDB::cursorAfterDeletingCurrentRecord()
{
    Fixture f;
    for (const char *word : {"apple", "mango", "water"})
        f.put(word, "m");
    f.db.setWord("mango");
    QCOMPARE(f.db.getCursorRec(cDictDB::AtOrAfter), 0);
    f.db.setWord("mango");
    QCOMPARE(f.db.deleteRecord(), 0);
    QCOMPARE(f.db.getCursorRec(cDictDB::Next), 0);
    QCOMPARE(f.db.getWord(), "water");
    QCOMPARE(f.db.getCursorRec(cDictDB::Prev), 0);
    QCOMPARE(f.db.getWord(), "apple");
}

void TestDictDB::atOrAfterPositioning()
{
    Fixture f;
    f.put("wasp", "m1");
    f.put("water", "m2", "s2");
    f.db.setWord("Wat");
    QCOMPARE(f.db.getCursorRec(cDictDB::AtOrAfter), 0);
    QCOMPARE(f.db.getWord(), "water");
    QCOMPARE(f.db.getITRANS(), "m2");
    QCOMPARE(f.db.getSynonym(), "s2");

    // Past the last key nothing is read and the texts stay as they were.
    f.db.setWord("zzz");
    f.db.setITRANS("kept");
    QCOMPARE(f.db.getCursorRec(cDictDB::AtOrAfter), 1);
    QCOMPARE(f.db.getWord(), "zzz");
    QCOMPARE(f.db.getITRANS(), "kept");
    QCOMPARE(f.db.getSynonym(), "s2");
    // The cursor stayed on water.
    QCOMPARE(f.db.getCursorRec(cDictDB::Prev), 0);
    QCOMPARE(f.db.getWord(), "wasp");
}

void TestDictDB::buffersOnlyGrow()
{
    Fixture f;
    QCOMPARE(f.db.keyCapacity(), 0);
    QCOMPARE(f.put(QString(300, 'k'), "m"), 0);
    QCOMPARE(f.db.keyCapacity(), 301);
    QCOMPARE(f.db.dataCapacity(), 2);
    QCOMPARE(f.put("short", "a longer meaning"), 0);
    QCOMPARE(f.db.keyCapacity(), 301);
    QCOMPARE(f.db.dataCapacity(), 17);
    QCOMPARE(f.db.getCursorRec(cDictDB::First), 0);
    QCOMPARE(f.db.getWord(), QString(300, 'k'));
}

void TestDictDB::closeWhenNothingIsOpen()
{
    cDictDB never;
    QCOMPARE(never.closeDB(), 0);
    Fixture f;
    QCOMPARE(f.db.closeDB(), 0);
    QCOMPARE(f.db.closeDB(), 0);
}

void TestDictDB::newFileModeAndPlace()
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const mode_t oldMask = umask(022);
    {
        cDictDB db;
        QCOMPARE(db.openDB(), 0);
        QCOMPARE(db.getStat(), 0);
        db.closeDB();
    }
    umask(oldMask);
    QDir::setCurrent(previous);
    struct stat info;
    QCOMPARE(::stat(QFile::encodeName(dir.filePath("morvak.db")).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, mode_t(0644));
    QVERIFY(DbUtilities::verify(dir.filePath("morvak.db")));
}

void TestDictDB::unopenedDictionaryFailsEveryOperation()
{
    QTemporaryDir dir;
    cDictDB db(dir.filePath("no-such-directory/morvak.db"));
    const Captured opened = captureOutput([&] { QCOMPARE(db.openDB(), 1); });
    QVERIFY(opened.err.contains("no-such-directory/morvak.db"));
    QVERIFY(!db.isOpen());

    db.setWord("water");
    db.setITRANS("jalaM");
    const Captured written = captureOutput([&] {
        QCOMPARE(db.addRecord(), 1);
        QCOMPARE(db.saveRecord(), 1);
        QCOMPARE(db.deleteRecord(), 1);
        for (int code = 1; code <= 5; ++code)
            QCOMPARE(db.getCursorRec(code), 1);
        QCOMPARE(db.getStat(), 0);
    });
    QCOMPARE(written.out, QByteArray("Put I/O err - cDictDB\nSave/put I/O err cDictDB\n"
                                     "Del I/O err cDictDB\n"));
    QVERIFY(written.err.contains("DB->put: "));
    QVERIFY(written.err.contains("DB->del: "));
    QCOMPARE(db.closeDB(), 0);
}

void TestDictDB::lockHoldsTheFileAtThePath()
{
    Fixture f;
    f.put("water", "jalaM");
    f.db.closeDB();
    // A program slow to lock while a rebuild renames a new file into place must not end up
    // holding the old file: the lock it answers is on the file at the path.
    static QByteArray replacement;
    replacement = QFile::encodeName(f.path + QStringLiteral(".rebuild"));
    QVERIFY(QFile::copy(f.path, QFile::decodeName(replacement)));
    FileLock::setBeforeLockHook([](const QByteArray &path) {
        FileLock::setBeforeLockHook(nullptr);
        ::rename(replacement.constData(), path.constData());
    });
    FileLock slow, other;
    QCOMPARE(slow.acquire(QFile::encodeName(f.path)), FileLock::Result::Locked);
    QCOMPARE(other.acquire(QFile::encodeName(f.path)), FileLock::Result::Busy);
    QCOMPARE(f.db.closeDB(), 0); // nothing is open any more
}

void TestDictDB::charactersWithoutLatin1FormAreRefused_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<QString>("synonyms");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("word") << QString::fromUtf8("wat€r") << "jalaM"
                          << "" << QByteArray("word");
    QTest::newRow("meaning") << "water" << QString::fromUtf8("जलम्") << "" << QByteArray("meaning");
    QTest::newRow("synonyms") << "water"
                              << "jalaM" << QString::fromUtf8("toyaM 😀") << QByteArray("synonyms");
}

void TestDictDB::charactersWithoutLatin1FormAreRefused()
{
    QFETCH(QString, word);
    QFETCH(QString, meaning);
    QFETCH(QString, synonyms);
    QFETCH(QByteArray, field);
    Fixture f;
    f.put("wat?r", "other");
    const QByteArray before = fileBytes(f.path);
    f.db.setWord(word);
    f.db.setITRANS(meaning);
    f.db.setSynonym(synonyms);
    const Captured add = captureOutput([&] { QCOMPARE(f.db.addRecord(), 1); });
    const Captured save = captureOutput([&] { QCOMPARE(f.db.saveRecord(), 1); });
    for (const Captured &out : {add, save}) {
        QCOMPARE(out.out.count('\n'), 1);
        QVERIFY(out.out.contains("the " + field + " of"));
        QVERIFY(out.out.contains("Latin-1"));
    }
    QCOMPARE(fileBytes(f.path), before);
    f.db.setWord(QString::fromUtf8("wat€r"));
    captureOutput([&] { QCOMPARE(f.db.deleteRecord(), 1); });
    QCOMPARE(DbUtilities::dump(f.path).size(), 1);
}

void TestDictDB::filesThatAreNotDictionariesAreLeftAlone_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("text file") << "text";
    QTest::newRow("truncated dictionary") << "truncated";
    QTest::newRow("truncated at a page boundary") << "pages";
    QTest::newRow("hash database") << "hash";
    QTest::newRow("directory") << "directory";
}

void TestDictDB::filesThatAreNotDictionariesAreLeftAlone()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath("morvak.db");
    if (kind == "directory") {
        QVERIFY(QDir(dir.path()).mkdir("morvak.db"));
    } else if (kind == "hash") {
        QVERIFY(DbUtilities::load(path, {{"water", "jalaM"}}, "hash"));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind == "text")
            file.write(QByteArray("water\tjalaM\n").repeated(2000));
        if (kind == "truncated" || kind == "pages") {
            file.close();
            QList<KeyData> pairs;
            for (int i = 0; i < 2000; ++i)
                pairs.append({"word" + QByteArray::number(i), "meaning"});
            QVERIFY(DbUtilities::load(path, pairs));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.resize(file.size() - (kind == "pages" ? 8192 : 1000)));
        }
    }
    const QByteArray before = fileBytes(path);
    cDictDB db(path);
    const Captured out = captureOutput([&] { QCOMPARE(db.openDB(), 1); });
    QVERIFY2(out.err.count('\n') <= 3, out.err.constData());
    QVERIFY(out.err.contains(path.toLatin1()));
    QCOMPARE(db.getStat(), 0);
    db.setWord("water");
    captureOutput([&] { QCOMPARE(db.saveRecord(), 1); });
    QCOMPARE(db.closeDB(), 0);
    QCOMPARE(fileBytes(path), before);
}

void TestDictDB::overlongFileNameIsRefused()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QString(128 - dir.path().size() - 1, 'n'));
    QCOMPARE(name.toLatin1().size(), 128);
    cDictDB db(name);
    const Captured out = captureOutput([&] { QCOMPARE(db.openDB(), 1); });
    QVERIFY(out.err.contains("127"));
    QVERIFY(!QFileInfo::exists(name));
    QVERIFY(!QFileInfo::exists(name.left(127)));
    QCOMPARE(db.closeDB(), 0);

    const QString fits = name.left(127);
    cDictDB ok(fits);
    QCOMPARE(ok.openDB(), 0);
    ok.closeDB();
}

// An empty file and a file that may only be read are opened, by readers sharing the lock, and
// only a writer's open writes a byte.
void TestDictDB::accessAndSharing_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("holder"); // the access of another object holding the file, or -1
    QTest::addColumn<int>("access");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("problem");
    using A = cDictDB::Access;
    QTest::newRow("empty file: a new dictionary") << "empty" << -1 << int(A::ReadWrite) << 0 << "";
    QTest::newRow("empty file, read") << "empty" << -1 << int(A::ReadOnly) << 0 << "";
    QTest::newRow("read writes nothing") << "dictionary" << -1 << int(A::ReadOnly) << 0 << "";
    QTest::newRow("readers share")
        << "dictionary" << int(A::ReadOnly) << int(A::ReadOnly) << 0 << "";
    QTest::newRow("writers exclude each other")
        << "dictionary" << int(A::ReadWrite) << int(A::ReadWrite) << 1 << "open in another window";
    QTest::newRow("a reader excludes a writer")
        << "dictionary" << int(A::ReadOnly) << int(A::ReadWrite) << 1 << "open in another window";
    QTest::newRow("a writer excludes a reader")
        << "dictionary" << int(A::ReadWrite) << int(A::ReadOnly) << 1 << "open in another window";
    QTest::newRow("write-protected file: read-only")
        << "protected" << -1 << int(A::WriteIfAllowed) << 0 << "may only be read";
    QTest::newRow("missing file, read")
        << "missing" << -1 << int(A::ReadOnly) << 1 << "cannot be opened";
}

void TestDictDB::accessAndSharing()
{
    QFETCH(QString, file);
    QFETCH(int, holder);
    QFETCH(int, access);
    QFETCH(int, result);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const QString path = dir.filePath("morvak.db");
    if (file != "missing")
        QVERIFY(file == "empty" ? QFile(path).open(QIODevice::WriteOnly)
                                : DbUtilities::load(path, {{"water", "jalaM"}}));
    if (file == "protected")
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    cDictDB first(path);
    first.setAccess(cDictDB::Access(holder));
    QVERIFY(holder < 0 || first.openDB() == 0);
    const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    const QByteArray bytes = fileBytes(path);
    cDictDB db(path);
    db.setAccess(cDictDB::Access(access));
    const Captured out = captureOutput([&] { QCOMPARE(db.openDB(), result); });
    QCOMPARE(out.err.count('\n'), result);
    QVERIFY2(problem.isEmpty() ? db.problem().isEmpty() : db.problem().contains(problem),
             qPrintable(db.problem()));
    const bool writer = result == 0 && access == int(cDictDB::Access::ReadWrite);
    QCOMPARE(db.isReadOnly(), result == 0 && !writer);
    db.setWord("fire");
    captureOutput([&] { QCOMPARE(db.saveRecord(), writer ? 0 : 1); });
    QCOMPARE(db.getStat(), writer ? 1 : result == 0 && file != "empty" ? 1 : 0);
    db.closeDB();
    first.closeDB();
    if (writer)
        QVERIFY(DbUtilities::verify(path));
    else
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), before);
    QCOMPARE(fileBytes(path) == bytes, !writer);
}

QTEST_GUILESS_MAIN(TestDictDB)
#include "tst_dictdb.moc"
