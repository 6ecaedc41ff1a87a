#include "dbtools.h"
#include "dictdb.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <sys/stat.h>

using namespace vantro;
using namespace vantro::test;

namespace {

struct Outcome
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the installed-to-be executable as a user would, with the given standard input.
Outcome runTool(const QStringList &arguments, const QByteArray &input = {},
                const QString &workingDirectory = {})
{
    QProcess process;
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(VANTRO_DICT_EXECUTABLE), arguments);
    process.write(input);
    process.closeWriteChannel();
    Outcome outcome;
    if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit)
        outcome.status = process.exitCode();
    outcome.out = process.readAllStandardOutput();
    outcome.err = process.readAllStandardError();
    return outcome;
}

// A dictionary file in a temporary directory, named to the tool through --db.
struct Dictionary
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("morvak.db"));

    Outcome run(QStringList arguments, const QByteArray &input = {}) const
    {
        arguments.prepend(path);
        arguments.prepend(QStringLiteral("--db"));
        return runTool(arguments, input);
    }
    bool load(const QList<KeyData> &pairs) const { return DbUtilities::load(path, pairs); }
    QList<KeyData> records() const { return DbUtilities::dump(path); }
    QString backup() const { return path + QStringLiteral(".bak"); }
};

QList<KeyData> sampleRecords()
{
    return {{"walk", "gam"},      {"wall", "bhitti"}, {"water", "jalaM|udakaM, toyaM"},
            {"book", "pustakaM"}, {"booking", "x"},   {"boot", "upAnah"},
            {"cat", "mArjAraH"},  {"dog", "shvan"}};
}

} // namespace

class TestDictCli : public QObject
{
    Q_OBJECT

private slots:
    void badUsage_data();
    void badUsage();
    void helpAndVersion();
    void putGetDelCount();
    void lockedDictionaryIsRefused_data();
    void lockedDictionaryIsRefused();
    void badImportWritesNothing_data();
    void badImportWritesNothing();
    void exportImportRoundTrip();
    void importReportsAndOverwrites();
    void importLeavesASnapshot();
    void killedImportIsAllOrNothing();
    void lookupAndList_data();
    void lookupAndList();
    void coverageGroups();
    void reverseSearch();
    void verifyVerdicts_data();
    void verifyVerdicts();
};

void TestDictCli::badUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no command") << QStringList{} << "no command given";
    QTest::newRow("unknown command") << QStringList{"frob"} << "unknown command 'frob'";
    QTest::newRow("missing argument") << QStringList{"get"} << "get takes 1 argument";
    QTest::newRow("too few for put") << QStringList{"put", "w"} << "put takes 2 to 3 arguments";
    QTest::newRow("too many") << QStringList{"count", "x"} << "count takes no arguments";
    QTest::newRow("unknown option") << QStringList{"--bogus", "count"} << "Unknown option 'bogus'";
    QTest::newRow("option of another command")
        << QStringList{"count", "--loose"} << "Unknown option 'loose'";
    QTest::newRow("bad limit") << QStringList{"list", "--limit", "x"} << "--limit takes a whole";
    QTest::newRow("negative limit") << QStringList{"list", "--limit", "-3"} << "--limit";
    QTest::newRow("empty word") << QStringList{"put", "", "m"} << "the word is empty";
    QTest::newRow("word beyond latin-1")
        << QStringList{"put", QString::fromUtf8("\xe0\xa4\x85"), "a"} << "cannot store";
    QTest::newRow("meaning beyond latin-1")
        << QStringList{"put", "w", QString::fromUtf8("\xe0\xa4\x85")} << "cannot store";
}

void TestDictCli::badUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Dictionary dictionary;
    const Outcome outcome = dictionary.run(arguments);
    QCOMPARE(outcome.status, 2);
    QVERIFY2(outcome.err.contains(message.toUtf8()), outcome.err.constData());
    QVERIFY(outcome.err.contains("--help"));
    QVERIFY(outcome.out.isEmpty());
    QVERIFY(!QFile::exists(dictionary.path));
}

void TestDictCli::helpAndVersion()
{
    const Outcome help = runTool({QStringLiteral("--help")});
    QCOMPARE(help.status, 0);
    QVERIFY2(help.out.startsWith("Usage: vantro-dict [options]"), help.out.constData());
    for (const char *command : {"count", "get", "lookup", "list", "put", "del", "export", "import",
                                "verify", "coverage", "reverse", "--db", "--loose", "--limit N",
                                "--no-overwrite", "--missing", "-i, --ignore-case"})
        QVERIFY2(help.out.contains(command), command);
    const Outcome version = runTool({QStringLiteral("--version")});
    QCOMPARE(version.status, 0);
    QVERIFY(version.out.startsWith("vantro-dict " VANTRO_VERSION "\nLicense GPL-3.0-or-later"));
}

void TestDictCli::putGetDelCount()
{
    const Dictionary dictionary;
    Outcome outcome = dictionary.run({"put", "Water", "jalaM", "udakaM, toyaM"});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.out, QByteArray("added: water\n"));
    outcome = dictionary.run({"put", "WATER", "jala"});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.out, QByteArray("overwritten: water\n"));
    QCOMPARE(dictionary.records(), (QList<KeyData>{{"water", "jala"}}));

    QCOMPARE(dictionary.run({"put", "fire", "agni"}).status, 0);
    outcome = dictionary.run({"count"});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.out, QByteArray("2\n"));
    outcome = dictionary.run({"get", "Water"});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.out, QByteArray("water\tjala\n"));

    outcome = dictionary.run({"get", "wat"});
    QCOMPARE(outcome.status, 1);
    QCOMPARE(outcome.err, QByteArray("vantro-dict: no record for \"wat\"\n"));
    QVERIFY(outcome.out.isEmpty());

    outcome = dictionary.run({"del", "Water"});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.out, QByteArray("deleted: water\n"));
    QCOMPARE(dictionary.run({"put", "a\tB", "x"}).out, QByteArray("added: a\\tb\n"));
    QCOMPARE(dictionary.run({"del", "A\tb"}).out, QByteArray("deleted: a\\tb\n"));
    outcome = dictionary.run({"del", "water"});
    QCOMPARE(outcome.status, 1);
    QCOMPARE(outcome.err, QByteArray("vantro-dict: no record for \"water\"; nothing deleted\n"));
    QCOMPARE(dictionary.records(), (QList<KeyData>{{"fire", "agni"}}));
    QCOMPARE(dictionary.run({"count"}).out, QByteArray("1\n"));
}

void TestDictCli::lockedDictionaryIsRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::newRow("count") << QStringList{"count"} << QByteArray();
    QTest::newRow("get") << QStringList{"get", "walk"} << QByteArray();
    QTest::newRow("lookup") << QStringList{"lookup", "walk"} << QByteArray();
    QTest::newRow("list") << QStringList{"list"} << QByteArray();
    QTest::newRow("put") << QStringList{"put", "new", "nava"} << QByteArray();
    QTest::newRow("del") << QStringList{"del", "walk"} << QByteArray();
    QTest::newRow("export") << QStringList{"export"} << QByteArray();
    QTest::newRow("import") << QStringList{"import"} << QByteArray("new\tnava\n");
    QTest::newRow("verify") << QStringList{"verify"} << QByteArray();
    QTest::newRow("reverse") << QStringList{"reverse", "gam"} << QByteArray();
}

// The window holds the lock for its whole session; here a dictionary object of this process
// holds it, which refuses the tool's process all the same. Without a file, only the writing
// commands make one.
void TestDictCli::lockedDictionaryIsRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    const Dictionary missing;
    const Outcome none = missing.run(arguments, input);
    const bool writes = arguments.first() == "put" || arguments.first() == "import";
    QCOMPARE(none.status, writes ? 0 : 1);
    QCOMPARE(none.err.contains("no such dictionary file"), !writes);
    QCOMPARE(QFile::exists(missing.path), writes);
    const Dictionary dictionary;
    QVERIFY(dictionary.load(sampleRecords()));
    cDictDB window(dictionary.path);
    QCOMPARE(window.openDB(), 0);
    const QByteArray before = fileBytes(dictionary.path);

    const Outcome outcome = dictionary.run(arguments, input);
    QCOMPARE(outcome.status, 1);
    QVERIFY2(outcome.err.contains("is open in another program"), outcome.err.constData());
    QVERIFY(outcome.out.isEmpty());
    QCOMPARE(fileBytes(dictionary.path), before);
    window.closeDB();
    QList<KeyData> expected = sampleRecords();
    std::sort(expected.begin(), expected.end());
    QCOMPARE(dictionary.records(), expected);
}

void TestDictCli::badImportWritesNothing_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QList<int>>("badLines");
    QTest::newRow("no tab") << QByteArray("good\tline\nbadline\n") << QList<int>{2};
    QTest::newRow("too many fields") << QByteArray("a\tb\tc\td\n") << QList<int>{1};
    QTest::newRow("empty word") << QByteArray("\tmeaning\n") << QList<int>{1};
    QTest::newRow("unknown escape") << QByteArray("x\ty\n\na\\q\tb\n") << QList<int>{3};
    QTest::newRow("backslash at the end") << QByteArray("a\tb\\\n") << QList<int>{1};
    QTest::newRow("not utf-8") << QByteArray("a\t\xff\xfe\n") << QList<int>{1};
    QTest::newRow("beyond latin-1") << QByteArray("a\t\xe0\xa4\x85\n") << QList<int>{1};
    QTest::newRow("repeated word") << QByteArray("b\tx\nWalk\ty\nwalk\tz\n") << QList<int>{3};
    QTest::newRow("several") << QByteArray("ok\tfine\nbad\n\ta\nalso\tok\nc\\\td\n")
                             << QList<int>{2, 3, 5};
    QTest::newRow("bad last line without line end") << QByteArray("ok\tfine\nbad") << QList<int>{2};
}

void TestDictCli::badImportWritesNothing()
{
    QFETCH(QByteArray, input);
    QFETCH(QList<int>, badLines);
    const Dictionary dictionary;
    QVERIFY(dictionary.load(sampleRecords()));
    const QByteArray before = fileBytes(dictionary.path);

    const Outcome outcome = dictionary.run({"import"}, input);
    QCOMPARE(outcome.status, 1);
    QVERIFY(outcome.out.isEmpty());
    const QList<QByteArray> lines = outcome.err.trimmed().split('\n');
    QCOMPARE(lines.size(), badLines.size() + 1);
    for (qsizetype i = 0; i < badLines.size(); ++i)
        QVERIFY2(lines.at(i).startsWith("vantro-dict: line " + QByteArray::number(badLines.at(i)) +
                                        ": "),
                 lines.at(i).constData());
    QVERIFY(lines.last().contains("nothing was imported"));
    QCOMPARE(fileBytes(dictionary.path), before);
    QVERIFY(!QFile::exists(dictionary.backup()));

    // Into a dictionary that does not exist yet: not even the file is made.
    const Dictionary fresh;
    QCOMPARE(fresh.run({"import"}, input).status, 1);
    QVERIFY(!QFile::exists(fresh.path));
}

void TestDictCli::exportImportRoundTrip()
{
    const QList<KeyData> tricky{
        {"\xe9"
         "cole",
         "shAlA"},
        {"na\xefve", "mugdha|sarala"},
        {"bars", "a|b|c"},
        {"empty", ""},
        {"emptymeaning", "|only synonyms"},
        {"trailingbar", "x|"},
        {"lines", "first\nsecond\r\nthird"},
        {"tab and backslash", "a\tb\\c"},
        {"nul", QByteArray("a\0|b", 4)},
        {"word with blanks ", " x "},
        {"\xff\xdf", "\xe9\xe0"},
    };
    const Dictionary source;
    QVERIFY(source.load(tricky));
    const QString file = source.dir.filePath(QStringLiteral("words.tsv"));
    Outcome outcome = source.run({"export", file});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.out, QByteArray("exported 11 records to ") + file.toUtf8() + '\n');
    const QByteArray exported = fileBytes(file);
    QCOMPARE(source.run({"export"}).out, exported);
    QCOMPARE(source.run({"export", "-"}).out, exported);
    QCOMPARE(exported.count('\n'), tricky.size());

    const Dictionary target;
    outcome = target.run({"import", file});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.out, QByteArray("added 11, overwritten 0\n"));
    QCOMPARE(target.records(), source.records());

    const Dictionary throughStdin;
    QCOMPARE(throughStdin.run({"import", "-"}, exported).status, 0);
    QCOMPARE(throughStdin.records(), source.records());
}

void TestDictCli::importReportsAndOverwrites()
{
    const Dictionary dictionary;
    QVERIFY(dictionary.load({{"old", "purANa"}, {"walk", "gam"}}));
    const Outcome outcome =
        dictionary.run({"import"}, "\xEF\xBB\xBFWalk\tcar\tgam\r\nnew\tnava\n\n");
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.out, QByteArray("added 1, overwritten 1\n"));
    QVERIFY(outcome.err.isEmpty());
    QCOMPARE(dictionary.records(),
             (QList<KeyData>{{"new", "nava"}, {"old", "purANa"}, {"walk", "car|gam"}}));
    QCOMPARE(dictionary.run({"import", "--no-overwrite"}, "walk\tgam\nrun\tdhAv\n").out,
             QByteArray("added 1, kept 1\n"));
    QCOMPARE(dictionary.records().at(3), (KeyData{"walk", "car|gam"}));
}

// The copy beside the dictionary is the store's recovery snapshot: taken before the import
// changes anything and again once the import is on disk, so that a rebuild keeps its records.
void TestDictCli::importLeavesASnapshot()
{
    const Dictionary dictionary;
    QVERIFY(dictionary.load({{"walk", "gam"}}));
    QVERIFY(QFile::setPermissions(dictionary.path, QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(QFile(dictionary.path + ".new-Xq3z9a").open(QIODevice::WriteOnly)); // a killed import's
    QCOMPARE(dictionary.run({"import"}, "walk\tcar\nrun\tdhAv\n").status, 0);
    QCOMPARE(QFile::permissions(dictionary.path) & (QFile::ReadGroup | QFile::ReadOther), 0);
    const QList<KeyData> imported{{"run", "dhAv"}, {"walk", "car"}};
    QCOMPARE(dictionary.records(), imported);
    QCOMPARE(DbUtilities::dump(dictionary.backup()), imported);
    QVERIFY(DbUtilities::verify(dictionary.backup()));

    QCOMPARE(dictionary.run({"import"}, "run\tgam\n").status, 0);
    QCOMPARE(DbUtilities::dump(dictionary.backup()),
             (QList<KeyData>{{"run", "gam"}, {"walk", "car"}}));
    const QStringList files = QDir(dictionary.dir.path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(files, (QStringList{"morvak.db", "morvak.db-journal", "morvak.db.bak"}));
}

// Killed at whatever point, an import leaves the old dictionary or the whole new one.
void TestDictCli::killedImportIsAllOrNothing()
{
    const Dictionary dictionary;
    QVERIFY(dictionary.load(sampleRecords()));
    QByteArray input;
    for (int i = 0; i < 200000; ++i)
        input += "word" + QByteArray::number(i) + "\tartha\n";
    QProcess import;
    import.start(QStringLiteral(VANTRO_DICT_EXECUTABLE), {"--db", dictionary.path, "import"});
    import.write(input);
    import.closeWriteChannel();
    QTest::qWait(300);
    import.kill();
    import.waitForFinished(); // false when the import was done before the kill
    const qsizetype records = dictionary.records().size();
    QVERIFY2(records == 8 || records == 200008, qPrintable(QString::number(records)));
    QVERIFY(DbUtilities::verify(dictionary.path));
}

void TestDictCli::lookupAndList_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::newRow("search shortens walking to walk")
        << QStringList{"lookup", "walking"} << 0 << QByteArray("walk\tgam\n");
    QTest::newRow("search ignores case")
        << QStringList{"lookup", "WAT"} << 0 << QByteArray("water\tjalaM\tudakaM, toyaM\n");
    QTest::newRow("search settles on a longer key")
        << QStringList{"lookup", "bookish"} << 0 << QByteArray("booking\tx\n");
    QTest::newRow("loose look-up wants a key inside the word")
        << QStringList{"lookup", "--loose", "Bookish"} << 0 << QByteArray("book\tpustakaM\n");
    QTest::newRow("past the last key")
        << QStringList{"lookup", "waterfall"} << 0 << QByteArray("water\tjalaM\tudakaM, toyaM\n");
    QTest::newRow("capitals stored by another tool")
        << QStringList{"get", "Upper"} << 0 << QByteArray("Upper\tu\n");
    QTest::newRow("not found") << QStringList{"lookup", "cow"} << 1 << QByteArray();
    QTest::newRow("loose not found")
        << QStringList{"lookup", "--loose", "xyz"} << 1 << QByteArray();
    QTest::newRow("list from, limited") << QStringList{"list", "--from", "WAL", "--limit", "2"} << 0
                                        << QByteArray("walk\tgam\nwall\tbhitti\n");
    QTest::newRow("list past the end") << QStringList{"list", "--from", "zz"} << 0 << QByteArray();
    QTest::newRow("list limit 0") << QStringList{"list", "--limit", "0"} << 0 << QByteArray();
    QTest::newRow("list all") << QStringList{"list"} << 0
                              << QByteArray(
                                     "Upper\tu\nbook\tpustakaM\nbooking\tx\nboot\tupAnah\ncat\t"
                                     "mArjAraH\ndog\tshvan\nwalk\tgam\nwall\tbhitti\n"
                                     "water\tjalaM\tudakaM, toyaM\n");
}

void TestDictCli::lookupAndList()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    const Dictionary dictionary;
    QVERIFY(dictionary.load(sampleRecords() << KeyData{"Upper", "u"}));
    QVERIFY(QFile::setPermissions(dictionary.path, QFile::ReadOwner));
    const Outcome outcome = dictionary.run(arguments);
    QCOMPARE(outcome.status, status);
    QCOMPARE(outcome.out, out);
    QCOMPARE(outcome.err.count('\n'), status);
    // Reading takes a write-protected file as it is and leaves nothing beside it.
    QCOMPARE(QDir(dictionary.dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"morvak.db"});
}

void TestDictCli::coverageGroups()
{
    const Dictionary dictionary;
    QVERIFY(dictionary.load(sampleRecords()));
    const QString text = dictionary.dir.filePath(QStringLiteral("chapter.txt"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("The wall and Walking water.\nBookish books; the cat's xyzzy, THE end!\n");
    file.close();

    Outcome outcome = dictionary.run({"coverage", text});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.out, QByteArray("found as keys: 3\n"
                                     "  cat\n"
                                     "  wall\n"
                                     "  water\n"
                                     "found through a shorter key: 3\n"
                                     "  bookish -> book\n"
                                     "  books -> book\n"
                                     "  walking -> walk\n"
                                     "missing: 5\n"
                                     "  and\n"
                                     "  end\n"
                                     "  s\n"
                                     "  the\n"
                                     "  xyzzy\n"));
    outcome = dictionary.run({"coverage", "--missing", text});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.out, QByteArray("and\nend\ns\nthe\nxyzzy\n"));

    outcome = dictionary.run({"coverage", dictionary.dir.filePath(QStringLiteral("none.txt"))});
    QCOMPARE(outcome.status, 1);
    QVERIFY(outcome.err.contains("cannot read"));
}

void TestDictCli::reverseSearch()
{
    const Dictionary dictionary;
    QVERIFY(dictionary.load(
        {{"a", "jalaM"}, {"b", "udakaM|JALAM"}, {"c", "agni"}, {"d", "x|toyaM, jalaM"}}));
    Outcome outcome = dictionary.run({"reverse", "jalaM"});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.out, QByteArray("a\tjalaM\nd\tx\ttoyaM, jalaM\n"));
    outcome = dictionary.run({"reverse", "-i", "jalaM"});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.out, QByteArray("a\tjalaM\nb\tudakaM\tJALAM\nd\tx\ttoyaM, jalaM\n"));
    outcome = dictionary.run({"reverse", "nothing"});
    QCOMPARE(outcome.status, 1);
    QVERIFY(outcome.out.isEmpty());
}

void TestDictCli::verifyVerdicts_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("said");
    QTest::newRow("consistent") << "btree" << 0 << QByteArray(": consistent\n");
    QTest::newRow("damaged leaf") << "damaged" << 1 << QByteArray("is damaged");
    QTest::newRow("text") << "text" << 1 << QByteArray("not a dictionary file (not a Berkeley");
    QTest::newRow("hash") << "hash" << 1 << QByteArray("not a dictionary file (a hash");
    QTest::newRow("recno") << "recno" << 1 << QByteArray("not a dictionary file (a record");
    QTest::newRow("duplicate keys")
        << "btree\nduplicates=1" << 1 << QByteArray("not a dictionary file (a B-tree with dup");
    QTest::newRow("directory") << "directory" << 1 << QByteArray("(not a regular file)");
    QTest::newRow("FIFO") << "fifo" << 1 << QByteArray("(not a regular file)");
}

// Only what the open takes for a dictionary is checked; anything else is named for what it is.
void TestDictCli::verifyVerdicts()
{
    QFETCH(QString, kind);
    QFETCH(int, status);
    QFETCH(QByteArray, said);
    const Dictionary dictionary;
    QList<KeyData> many;
    for (int i = 0; i < 2000; ++i)
        many.append({QByteArray::number(i + 1), "meaning of the word " + QByteArray::number(i)});
    if (kind == QLatin1String("directory"))
        QVERIFY(QDir().mkdir(dictionary.path));
    else if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(dictionary.path).constData(), 0600), 0);
    else if (kind == QLatin1String("text"))
        QVERIFY(QFile(dictionary.path).open(QIODevice::WriteOnly) &&
                QFile(dictionary.path).resize(8192));
    else
        QVERIFY(DbUtilities::load(dictionary.path, many,
                                  kind == QLatin1String("damaged") ? "btree" : kind.toLatin1()));
    // Scribble over the middle of a leaf page; the header stays intact.
    if (kind == QLatin1String("damaged")) {
        QFile file(dictionary.path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(3 * 4096 + 26));
        file.write(QByteArray(2000, char(0xA5)));
    }
    const Outcome outcome = dictionary.run({"verify"});
    QCOMPARE(outcome.status, status);
    QVERIFY2((status == 0 ? outcome.out : outcome.err).contains(said), outcome.err.constData());
}

QTEST_GUILESS_MAIN(TestDictCli)
#include "tst_dictcli.moc"
