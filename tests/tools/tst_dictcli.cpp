// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture.h"
#include "dbtools.h"
#include "dictdb.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vantro;
using namespace vantro::test;

namespace {

// A dictionary file in a temporary directory, named to the tool through --db.
struct Dictionary
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("morvak.db"));

    ProgramRun run(const QStringList &arguments, const QByteArray &input = {}) const
    {
        return runProgram(QStringLiteral(VANTRO_DICT_EXECUTABLE),
                          QStringList{QStringLiteral("--db"), path} + arguments, input);
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
};

const QMap<QByteArray, QByteArray> kSample{
    {"walk", "gam"},      {"wall", "bhitti"}, {"water", "jalaM|udakaM, toyaM"},
    {"book", "pustakaM"}, {"booking", "x"},   {"boot", "upAnah"},
    {"cat", "mArjAraH"},  {"dog", "shvan"},   {"Upper", "u"},
    {"wez\tz", "t"}};

QList<KeyData> pairsOf(const QMap<QByteArray, QByteArray> &records)
{
    QList<KeyData> pairs;
    for (auto it = records.cbegin(); it != records.cend(); ++it)
        pairs.append({it.key(), it.value()});
    return pairs;
}

} // namespace

class TestDictCli : public QObject
{
    Q_OBJECT

private slots:
    void commands_data();
    void commands();
    void helpAndVersion();
    void exportImportRoundTrip();
    void killedImportIsAllOrNothing();
    void verifyFindsADamagedLeaf();
};

using Changes = QList<KeyData>; // records set afterwards; a null data removes the key

void TestDictCli::commands_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<Changes>("changes");
    const auto row = [](const char *name, const QStringList &arguments, int status,
                        const QByteArray &out, const QByteArray &err = {},
                        const Changes &changes = {}, const QByteArray &input = {}) {
        QTest::newRow(name) << arguments << input << status << out << err << changes;
    };
    // Bad usage: two lines, the reason and the pointer to --help; nothing is opened.
    row("no command", {}, 2, {}, "no command given");
    row("unknown command", {"frob"}, 2, {}, "unknown command 'frob'");
    row("missing argument", {"get"}, 2, {}, "get takes 1 argument");
    row("too few for put", {"put", "w"}, 2, {}, "put takes 2 to 3 arguments");
    row("too many", {"count", "x"}, 2, {}, "count takes no arguments");
    row("unknown option", {"--bogus", "count"}, 2, {}, "Unknown option 'bogus'");
    row("option of another command", {"count", "--loose"}, 2, {}, "Unknown option 'loose'");
    row("bad limit", {"list", "--limit", "x"}, 2, {}, "--limit takes a whole");
    row("negative limit", {"list", "--limit", "-3"}, 2, {}, "--limit");
    row("empty word", {"put", "", "m"}, 2, {}, "the word is empty");
    row("word beyond latin-1", {"put", QString::fromUtf8("\xe0\xa4\x85"), "a"}, 2, {},
        "cannot store");
    row("meaning beyond latin-1", {"put", "w", QString::fromUtf8("\xe0\xa4\x85")}, 2, {},
        "cannot store");
    // Writing; keys are lower-cased and escaped in the report as get shows them.
    row("put adds", {"put", "Fire", "agni", "anala, vahni"}, 0, "added: fire\n", {},
        {{"fire", "agni|anala, vahni"}});
    row("put overwrites", {"put", "WATER", "jala"}, 0, "overwritten: water\n", {},
        {{"water", "jala"}});
    row("put escapes", {"put", "a\tB", "x"}, 0, "added: a\\tb\n", {}, {{"a\tb", "x"}});
    row("del", {"del", "Water"}, 0, "deleted: water\n", {}, {{"water", {}}});
    row("del escapes", {"del", "WEZ\tz"}, 0, "deleted: wez\\tz\n", {}, {{"wez\tz", {}}});
    row("del of nothing", {"del", "cow"}, 1, {}, "no record for \"cow\"; nothing deleted");
    row("import replacing, byte-order mark and CR LF", {"import", "--on-conflict", "replace"}, 0,
        "added 1, kept 0, replaced 1, appended 0\n", {}, {{"walk", "car|gam"}, {"new", "nava"}},
        "\xEF\xBB\xBFWalk\tcar\tgam\r\nnew\tnava\n\n");
    row("import keeps the stored record", {"import"}, 0,
        "added 1, kept 2, replaced 0, appended 0\n", {}, {{"run", "dhAv"}},
        "cat\tmArjAraH\nrun\tdhAv\nwalk\tcar\n");
    row("import appending", {"import", "--on-conflict", "append"}, 0,
        "added 0, kept 1, replaced 0, appended 1\n", {}, {{"water", "jalaM; nIraM|udakaM, toyaM"}},
        "water\tnIraM\ttoyaM\nwalk\tgam\n");
    row("bad policy", {"import", "--on-conflict", "merge"}, 2, {}, "--on-conflict takes keep");
    // A bad import names each bad line, then writes nothing at all.
    const QByteArray noTab = "no tab after the word (a line holds word, meaning and optionally "
                             "synonyms, separated by tabs)\n";
    row("import, bad lines", {"import"}, 1, {},
        "line 2: " + noTab +
            "vantro-dict: line 3: the word is empty\nvantro-dict: line 5: in "
            "the word: a backslash ends the field (write \\\\ for a backslash)\nvantro-dict: 3 bad "
            "line(s); nothing was imported\n",
        {}, "ok\tfine\nbad\n\ta\nalso\tok\nc\\\td\n");
    row("import, not utf-8", {"import"}, 1, {},
        "line 1: the meaning is not valid UTF-8 text\nvantro-dict: 1 bad line(s); nothing was "
        "imported\n",
        {}, "a\t\xff\xfe\n");
    row("import, repeated word", {"import"}, 1, {},
        "line 3: the word \"walk\" is also on line 2\nvantro-dict: line 5: the word \"walk\" is "
        "also on line 2\nvantro-dict: 2 bad line(s); nothing was imported\n",
        {}, "b\tx\nWalk\ty\nwalk\tz\nwalk \tq\nWALK\tr\n");
    row("import, bad last line without line end", {"import"}, 1, {},
        "line 2: " + noTab + "vantro-dict: 1 bad line(s); nothing was imported\n", {},
        "ok\tfine\nbad");
    // Reading.
    row("count", {"count"}, 0, "10\n");
    row("get", {"get", "Water"}, 0, "water\tjalaM\tudakaM, toyaM\n");
    row("get not found", {"get", "wat"}, 1, {}, "vantro-dict: no record for \"wat\"\n");
    row("capitals stored by another tool", {"get", "Upper"}, 0, "Upper\tu\n");
    row("look-up by the lemma", {"lookup", "WALKING"}, 0, "walk\tgam\n");
    row("look-up, --loose kept for scripts", {"lookup", "--loose", "books"}, 0, "book\tpustakaM\n");
    row("look-up takes no unrelated key", {"lookup", "bookish"}, 1, {}, "bookish not found");
    row("not found", {"lookup", "cow"}, 1, {}, "cow");
    row("list from, limited", {"list", "--from", "WAL", "--limit", "2"}, 0,
        "walk\tgam\nwall\tbhitti\n");
    row("list past the end", {"list", "--from", "zz"}, 0, {});
    row("list limit 0", {"list", "--limit", "0"}, 0, {});
    const QByteArray all =
        "Upper\tu\nbook\tpustakaM\nbooking\tx\nboot\tupAnah\ncat\tmArjAraH\ndog\tshvan\n"
        "walk\tgam\nwall\tbhitti\nwater\tjalaM\tudakaM, toyaM\nwez\\tz\tt\n";
    row("list all", {"list"}, 0, all);
    row("export", {"export"}, 0, all);
    row("verify", {"verify"}, 0, "DB: consistent\n");
    row("reverse, a synonym", {"reverse", "toyaM"}, 0, "water\tjalaM\tudakaM, toyaM\n");
    row("reverse minds case", {"reverse", "JALAM"}, 1, {}, "no record holds \"JALAM\"");
    row("reverse -i", {"reverse", "-i", "JALAM"}, 0, "water\tjalaM\tudakaM, toyaM\n");
    const QByteArray text =
        "The wall and Walking water.\nBookish books; the cat's xyzzy, THE end!\n";
    row("coverage", {"coverage", "-"}, 0,
        "found as keys: 3\n  cat\n  wall\n  water\nfound through a related key: 2\n"
        "  books -> book\n  walking -> walk\n"
        "missing: 6\n  and\n  bookish\n  end\n  s\n  the\n  xyzzy\n",
        {}, {}, text);
    row("coverage --missing", {"coverage", "--missing", "-"}, 0,
        "and\nbookish\nend\ns\nthe\nxyzzy\n", {}, {}, text);
    row("coverage of no file", {"coverage", "none.txt"}, 1, {}, "cannot read");
}

// Each row runs on the sample dictionary; the db utilities then read back exactly the sample
// with the row's changes, and the file keeps its mode. A reading command (and a refused import)
// takes a write-protected file as it is and leaves nothing beside it; every failure is one line,
// bad usage adds the pointer to --help.
void TestDictCli::commands()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QFETCH(Changes, changes);
    const Dictionary dictionary;
    QVERIFY(DbUtilities::load(dictionary.path, pairsOf(kSample)));
    const QByteArray before = fileBytes(dictionary.path);
    const bool writes = status != 2 && QStringList{"put", "del", "import"}.contains(arguments[0]);
    const bool imports = arguments.value(0) == "import" && status == 0;
    QVERIFY(QFile::setPermissions(
        dictionary.path, QFile::ReadOwner | (writes ? QFile::WriteOwner : QFile::ReadOwner)));
    // A temporary a killed import left behind.
    QVERIFY(!imports || QFile(dictionary.path + ".new-Xq3z9a").open(QIODevice::WriteOnly));

    const ProgramRun run = dictionary.run(arguments, input);
    QCOMPARE(run.status, status);
    QCOMPARE(QByteArray(run.out).replace(QFile::encodeName(dictionary.path), "DB"), out);
    QVERIFY2(run.err.contains(err), run.err.constData());
    QCOMPARE(run.err.count('\n'), status == 1 ? qMax(qsizetype(1), err.count('\n')) : status);
    QCOMPARE(run.err.contains("--help"), status == 2);
    QMap<QByteArray, QByteArray> expected = kSample;
    for (const KeyData &change : changes)
        expected.insert(change.first, change.second);
    expected.removeIf([](const auto &record) { return record.value().isNull(); });
    QCOMPARE(DbUtilities::dump(dictionary.path), pairsOf(expected));
    QCOMPARE(QFile::permissions(dictionary.path) & (QFile::ReadGroup | QFile::ReadOther), 0);
    if (!writes || (arguments[0] == "import" && status == 1)) {
        QCOMPARE(fileBytes(dictionary.path), before);
        QCOMPARE(dictionary.files(), QStringList{"morvak.db"});
    }
    // The imported file is whole on disk; the next program that opens it for writing takes its
    // snapshot before any change, so a rebuild keeps the import's records.
    if (imports) {
        QCOMPARE(dictionary.files(),
                 (QStringList{"morvak.db", "morvak.db-journal", "morvak.db.bak"}));
        cDictDB next(dictionary.path);
        QCOMPARE(next.openDB(), 0);
        QCOMPARE(next.notices(), QStringList());
        QCOMPARE(next.closeDB(), 0);
        QCOMPARE(DbUtilities::dump(dictionary.path + ".bak"), pairsOf(expected));
        QCOMPARE(dictionary.files(),
                 (QStringList{"morvak.db", "morvak.db-journal", "morvak.db.bak"}));
    }
    if (status == 2 || err == "cannot read") // stops before the dictionary is opened
        return;

    // Without a file, only the writing commands that succeed make one.
    const bool creates = (arguments[0] == "put" || arguments[0] == "import");
    const Dictionary missing;
    const ProgramRun none = missing.run(arguments, input);
    QCOMPARE(none.status, creates && status == 0 ? 0 : 1);
    QCOMPARE(none.err.contains("no such dictionary file"), !creates);
    QCOMPARE(QFile::exists(missing.path), creates && status == 0);
    if (arguments[0] == "import" && status == 1) // the input is refused before the lock is taken
        return;

    // The window holds the lock for its whole session; here a dictionary object of this process
    // holds it, which refuses the tool's process all the same.
    QVERIFY(QFile::setPermissions(dictionary.path, QFile::ReadOwner | QFile::WriteOwner));
    cDictDB window(dictionary.path);
    QCOMPARE(window.openDB(), 0);
    const QByteArray held = fileBytes(dictionary.path);
    const ProgramRun refused = dictionary.run(arguments, input);
    QVERIFY2(refused.status == 1 && refused.out.isEmpty() &&
                 refused.err.contains("is open in another program"),
             refused.err.constData());
    QCOMPARE(fileBytes(dictionary.path), held);
    window.closeDB();
    QCOMPARE(DbUtilities::dump(dictionary.path), pairsOf(expected));
}

void TestDictCli::helpAndVersion()
{
    const ProgramRun help = runProgram(QStringLiteral(VANTRO_DICT_EXECUTABLE), {"--help"});
    QCOMPARE(help.status, 0);
    QVERIFY2(help.out.startsWith("Usage: vantro-dict [options]"), help.out.constData());
    const ProgramRun version = runProgram(QStringLiteral(VANTRO_DICT_EXECUTABLE), {"--version"});
    QCOMPARE(version.status, 0);
    QVERIFY(version.out.startsWith("vantro-dict " VANTRO_VERSION "\nLicense GPL-3.0-or-later"));
}

void TestDictCli::exportImportRoundTrip()
{
    const QMap<QByteArray, QByteArray> tricky{
        {"\xe9t\xe9", "sh"},    {"bars", "a|b|c"},   {"empty", ""},         {"nomeaning", "|syn"},
        {"lines", "a\nb\r\nc"}, {"na\xefve", "m|s"}, {"nul", {"a\0|b", 4}}, {"tab", "a\tb\\c"},
        {"bar", "x|"},          {"blank ", " x "},   {"\xff\xdf", "\xe9"},  {"bars2", "||"},
        {"bars3", "a||"},       {"b\\s\tw", "x"}};
    const Dictionary source;
    QVERIFY(DbUtilities::load(source.path, pairsOf(tricky)));
    const QString file = source.dir.filePath(QStringLiteral("words.tsv"));
    ProgramRun run = source.run({"export", file});
    QCOMPARE(run.out, "exported 14 records to " + file.toUtf8() + '\n');
    const QByteArray exported = fileBytes(file);
    QCOMPARE(source.run({"export", "-"}).out, exported);
    QCOMPARE(exported.count('\n'), tricky.size());

    for (const QString &from : {file, QStringLiteral("-")}) {
        const Dictionary target;
        run = target.run({"import", from}, exported);
        QCOMPARE(run.out, QByteArray("added 14, kept 0, replaced 0, appended 0\n"));
        QCOMPARE(DbUtilities::dump(target.path), DbUtilities::dump(source.path));
    }
}

// Killed at whatever point, an import leaves the old dictionary or the whole new one.
void TestDictCli::killedImportIsAllOrNothing()
{
    const Dictionary dictionary;
    QVERIFY(DbUtilities::load(dictionary.path, pairsOf(kSample)));
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
    const qsizetype records = DbUtilities::dump(dictionary.path).size();
    QVERIFY2(records == kSample.size() || records == kSample.size() + 200000,
             qPrintable(QString::number(records)));
    QVERIFY(DbUtilities::verify(dictionary.path));
}

// Scribbled over the middle of a leaf page, the header intact, the file fails verify.
void TestDictCli::verifyFindsADamagedLeaf()
{
    const Dictionary dictionary;
    QList<KeyData> many;
    for (int i = 0; i < 2000; ++i)
        many.append({QByteArray::number(i + 1), "meaning of the word " + QByteArray::number(i)});
    QVERIFY(DbUtilities::load(dictionary.path, many));
    QFile file(dictionary.path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(3 * 4096 + 26) &&
            file.write(QByteArray(2000, char(0xA5))) == 2000);
    file.close();
    const ProgramRun run = dictionary.run({"verify"});
    QVERIFY2(run.status == 1 && run.err.contains("is damaged"), run.err.constData());
}

QTEST_GUILESS_MAIN(TestDictCli)
#include "tst_dictcli.moc"
