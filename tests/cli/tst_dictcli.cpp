// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture.h"
#include "dbtools.h"
#include "dictdb.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

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
    // The same run under strace (inject: its fault options); what it did out of order in faults.
    ProgramRun traced(const QStringList &arguments, const QByteArray &input = {},
                      const QStringList &inject = {}) const;
    mutable QStringList faults;
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

// What a run traced by strace -f -y did out of order: a journal entry not flushed before the
// dictionary is written or success reported; a file put in place (renamed or linked) before its
// flush; a rename whose folder was not flushed before success was reported or the program ended.
// A trace without a rename, or a journaled change's without its journal entry, proves nothing.
QStringList outOfOrder(const QByteArray &log, const QByteArray &db, bool journaled)
{
    const QByteArray journal = db + "-journal";
    QStringList faults;
    bool entry = false, entryUnflushed = false, renamed = false;
    QSet<QByteArray> unflushed, folders;
    // "PID call(FD<file>, ..., offset) = result", or "PID rename("from", "to") = 0".
    for (const QByteArray &text : log.split('\n')) {
        const qsizetype open = text.indexOf('('), close = text.lastIndexOf(") = ");
        if (open < 0 || close < open || text.mid(close + 4).startsWith('-'))
            continue;
        const QByteArray call = text.left(open).split(' ').last();
        const QByteArray arguments = text.mid(open + 1, close - open - 1);
        const QList<QByteArray> quoted = arguments.split('"');
        const qsizetype named = arguments.indexOf('<') + 1;
        const QByteArray file = named ? arguments.mid(named, arguments.indexOf('>') - named) : "";
        const bool toStandardOutput = arguments.startsWith("1<");
        if (call.startsWith("rename") || call.startsWith("link")) {
            renamed = true;
            if (unflushed.contains(quoted.value(1)))
                faults << "put in place before its flush: " + quoted.value(1);
            folders.insert(quoted.value(3).left(quoted.value(3).lastIndexOf('/')));
        } else if (call == "fdatasync" || call == "fsync") {
            unflushed.remove(file);
            folders.remove(file);
            entryUnflushed = entryUnflushed && file != journal;
        } else if (toStandardOutput) {
            if (entryUnflushed || !folders.isEmpty())
                faults << "success reported before a flush";
        } else {
            if (entryUnflushed && file == db)
                faults << "the dictionary written before its journal entry was flushed";
            const bool isEntry =
                file == journal && arguments.split(',').last().trimmed().toLongLong() >= 128;
            entry = entry || isEntry;
            entryUnflushed = entryUnflushed || isEntry;
            unflushed.insert(file);
        }
    }
    if (!folders.isEmpty())
        faults << "ended with a rename whose folder was not flushed";
    if (!renamed || (journaled && !entry))
        faults << "the trace shows no rename, or no journal entry";
    return faults;
}

ProgramRun Dictionary::traced(const QStringList &arguments, const QByteArray &input,
                              const QStringList &inject) const
{
    const QString log = dir.filePath(QStringLiteral("trace"));
    const ProgramRun run = runProgram(
        QStringLiteral("strace"),
        // The leak checker of a sanitizer build cannot run under ptrace; the untraced runs
        // check for leaks.
        QStringList{"-f", "-y", "-s", "0", "-o", log, "-E", "ASAN_OPTIONS=detect_leaks=0", "-e",
                    "trace=write,pwrite64,fdatasync,fsync,rename,renameat2,link,linkat"} +
            inject + QStringList{VANTRO_DICT_EXECUTABLE, "--db", path} + arguments,
        input);
    const bool journaled = arguments.value(0) == "put" || arguments.value(0) == "del";
    faults = outOfOrder(fileBytes(log), QFile::encodeName(path), journaled);
    QFile::remove(log);
    return run;
}

} // namespace

class TestDictCli : public QObject
{
    Q_OBJECT

private slots:
    void commands_data();
    void commands();
    void helpAndVersion();
    void versionOnAFullDisk_data();
    void versionOnAFullDisk();
    void changeOnAFullDisk_data();
    void changeOnAFullDisk();
    void outputNames_data();
    void outputNames();
    void exportImportRoundTrip();
    void readsWhileAWindowWrites();
    void killedImportIsAllOrNothing();
    void damagedFileIsRepaired_data();
    void damagedFileIsRepaired();
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
    row("bar in the meaning", {"put", "gamma", "mean|ing"}, 2, {}, "the meaning holds \"|\"");
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
    // Already in key order, so nothing is sorted: the repeat is found all the same.
    row("import, repeated word on the next line", {"import"}, 1, {},
        "line 2: the word \"dup\" is also on line 1\nvantro-dict: 1 bad line(s); nothing was "
        "imported\n",
        {}, "dup\tx\nDUP\ty\n");
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
    row("look-up: the word's own record, then its lemma's", {"lookup", "Booking"}, 0,
        "booking\tx\nbook\tpustakaM\n");
    row("look-up of a word with blanks around it", {"lookup", " walked "}, 0, "walk\tgam\n");
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

    // A reader is not held up by a FIFO in the journal's place.
    QVERIFY(writes || ::mkfifo(QFile::encodeName(dictionary.path + "-journal"), 0600) == 0);
    const ProgramRun run = dictionary.traced(arguments, input);
    QCOMPARE(run.status, status);
    QCOMPARE(QByteArray(run.out).replace(QFile::encodeName(dictionary.path), "DB"), out);
    QVERIFY2(run.err.contains(err), run.err.constData());
    QCOMPARE(run.err.count('\n'), status == 1 ? qMax(qsizetype(1), err.count('\n')) : status);
    QCOMPARE(run.err.contains("--help"), status == 2);
    QVERIFY2(!writes || status != 0 || dictionary.faults.isEmpty(),
             qPrintable(dictionary.faults.join('\n')));
    // Output that cannot be written (a full disk) is a failure, said in one line.
    if (!writes && !out.isEmpty()) {
        const ProgramRun full = runProgram("/bin/sh",
                                           QStringList{"-c", "\"$0\" --db \"$@\" >/dev/full",
                                                       VANTRO_DICT_EXECUTABLE, dictionary.path} +
                                               arguments,
                                           input);
        QVERIFY2(full.status == 1 && full.err.count('\n') == 1, full.err.constData());
    }
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
    // The log of imports is beside it too.
    if (imports) {
        QCOMPARE(dictionary.files(), (QStringList{"morvak.db", "morvak.db-journal", "morvak.db.bak",
                                                  "morvak.db.imports"}));
        cDictDB next(dictionary.path);
        QCOMPARE(next.openDB(), 0);
        QCOMPARE(next.notices(), QStringList());
        QCOMPARE(next.closeDB(), 0);
        QCOMPARE(DbUtilities::dump(dictionary.path + ".bak"), pairsOf(expected));
        QCOMPARE(dictionary.files(), (QStringList{"morvak.db", "morvak.db-journal", "morvak.db.bak",
                                                  "morvak.db.imports"}));
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
    // holds it, which refuses the tool's writing commands all the same. The reading ones read
    // the file as last saved.
    QVERIFY(QFile::setPermissions(dictionary.path, QFile::ReadOwner | QFile::WriteOwner));
    cDictDB window(dictionary.path);
    QCOMPARE(window.openDB(), 0);
    const QByteArray held = fileBytes(dictionary.path);
    const ProgramRun refused = dictionary.run(arguments, input);
    // The check of the whole file wants it closed.
    if (writes || arguments[0] == "verify")
        QVERIFY2(refused.status == 1 && refused.out.isEmpty() &&
                     refused.err.contains("is open in another program"),
                 refused.err.constData());
    else
        QVERIFY2(refused.status == run.status && refused.out == run.out, refused.err.constData());
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

void TestDictCli::versionOnAFullDisk_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("vantro-dict") << QStringLiteral(VANTRO_DICT_EXECUTABLE);
    QTest::newRow("vantro-translit") << QStringLiteral(VANTRO_TRANSLIT_EXECUTABLE);
    QTest::newRow("vantro-grammar") << QStringLiteral(VANTRO_GRAMMAR_EXECUTABLE);
}

void TestDictCli::versionOnAFullDisk()
{
    QFETCH(QString, program);
    const ProgramRun full = runProgram("/bin/sh", {"-c", "\"$0\" --version >/dev/full", program});
    QCOMPARE(full.status, 1);
    QVERIFY2(full.err.contains("writing the version failed") && full.err.count('\n') == 1,
             full.err.constData());
}

void TestDictCli::changeOnAFullDisk_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("said");
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("put") << QStringList{"put", "gamma", "ga"} << QByteArray("added: gamma")
                         << QByteArray("ga");
    QTest::newRow("del") << QStringList{"del", "water"} << QByteArray("deleted: water")
                         << QByteArray();
}

// The change is made before its report is written: a report that cannot be written fails the
// run, and the error stream says the change stands.
void TestDictCli::changeOnAFullDisk()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, said);
    QFETCH(QByteArray, data);
    const Dictionary dictionary;
    QVERIFY(DbUtilities::load(dictionary.path, pairsOf(kSample)));
    const ProgramRun full =
        runProgram("/bin/sh", QStringList{"-c", "\"$0\" --db \"$@\" >/dev/full",
                                          VANTRO_DICT_EXECUTABLE, dictionary.path} +
                                  arguments);
    QCOMPARE(full.status, 1);
    QVERIFY2(full.err.contains(said + " (the change is stored") && full.err.count('\n') == 1,
             full.err.constData());
    QMap<QByteArray, QByteArray> expected = kSample;
    expected.insert(arguments[1].toLatin1(), data);
    expected.removeIf([](const auto &record) { return record.value().isNull(); });
    QCOMPARE(DbUtilities::dump(dictionary.path), pairsOf(expected));
}

namespace {

// Makes what the row names under name; answers its type as lstat sees it (0 when absent). A
// link leads to "target" or, dangling, to "nowhere", with the name's ending.
mode_t makeOutputName(const QString &kind, const QDir &dir, const QString &name)
{
    const QByteArray path = QFile::encodeName(dir.filePath(name));
    const QString ending = name.mid(name.lastIndexOf('.'));
    if (kind == "fifo")
        ::mkfifo(path.constData(), 0600);
    else if (kind == "device")
        ::mknod(path.constData(), S_IFCHR | 0600, makedev(1, 3));
    else if (kind == "folder")
        dir.mkdir(name);
    else if (kind == "link" || kind == "dangling link")
        QFile::link((kind == "link" ? "target" : "nowhere") + ending, dir.filePath(name));
    if (kind == "link")
        QFile(dir.filePath("target" + ending)).open(QIODevice::WriteOnly);
    struct stat info;
    return ::lstat(path.constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

} // namespace

void TestDictCli::outputNames_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("written"); // the file that gets the output, or the refusal
    for (const char *command : {"export", "import --conflicts", "export --format stardict"}) {
        for (const char *kind : {"fifo", "device", "folder"})
            QTest::newRow(qPrintable(QStringLiteral("%1 to a %2").arg(command, kind)))
                << command << kind << QStringLiteral("it is a ");
        QTest::newRow(qPrintable(QStringLiteral("%1 to a link").arg(command))) << command << "link"
                                                                               << "target";
        QTest::newRow(qPrintable(QStringLiteral("%1 to a dangling link").arg(command)))
            << command << "dangling link"
            << "nowhere";
    }
}

// A name that is not a regular file is refused in one line before any work, and stays what it
// was; a symbolic link stays a link, and the file it leads to gets the output.
void TestDictCli::outputNames()
{
    QFETCH(QString, command);
    QFETCH(QString, kind);
    QFETCH(QString, written);
    const Dictionary dictionary;
    QVERIFY(DbUtilities::load(dictionary.path, pairsOf(kSample)));
    const QDir dir(dictionary.dir.path());
    const bool stardict = command.endsWith("stardict");
    // StarDict's .ifo is written last: its refusal must come before the .idx is written.
    const QString name = stardict ? "out.ifo" : "out.tsv";
    const mode_t type = makeOutputName(kind, dir, name);
    QStringList arguments = command.split(' ') << dir.filePath(name);
    if (arguments[0] == "import")
        arguments << "-";
    const ProgramRun run = dictionary.run(arguments, "fire\tagni\nwater\tjala\n");
    struct stat after;
    QVERIFY(::lstat(QFile::encodeName(dir.filePath(name)).constData(), &after) == 0);
    QCOMPARE(after.st_mode & S_IFMT, type);
    if (written.startsWith("it is")) {
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(written.toUtf8()) && run.err.count('\n') == 1, run.err.constData());
        QVERIFY2(!QFile::exists(dir.filePath("out.idx")), "StarDict's .idx was written");
        QCOMPARE(DbUtilities::dump(dictionary.path), pairsOf(kSample));
        return;
    }
    QVERIFY2(run.status == 0, run.err.constData());
    const QByteArray output = fileBytes(dir.filePath(written + name.mid(3)));
    QVERIFY2(output.contains(arguments[0] == "import" ? "water\tjala" : "walk\tgam") ||
                 (stardict && output.startsWith("StarDict's dict ifo file")),
             output.constData());
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

    // The second import names the new dictionary from its parent folder.
    for (const QString &from : {file, QStringLiteral("-")}) {
        const Dictionary target;
        const QFileInfo folder(target.dir.path());
        run = from == file ? target.run({"import", from}, exported)
                           : runProgram(VANTRO_DICT_EXECUTABLE,
                                        {"--db", folder.fileName() + "/morvak.db", "import", from},
                                        exported, folder.path());
        QCOMPARE(run.out, QByteArray("added 14, kept 0, replaced 0, appended 0\n"));
        QCOMPARE(DbUtilities::dump(target.path), DbUtilities::dump(source.path));
    }
}

// With a window holding the dictionary for writing, the reading commands read it as last saved.
void TestDictCli::readsWhileAWindowWrites()
{
    const Dictionary dictionary;
    QVERIFY(DbUtilities::load(dictionary.path, {{"water", "jalam"}}));
    cDictDB window(dictionary.path);
    QCOMPARE(window.openDB(), 0);
    window.setWord("fire");
    window.setITRANS("agniH");
    QCOMPARE(window.addRecord(), 0);
    QCOMPARE(dictionary.run({"get", "water"}).out, QByteArray("water\tjalam\n"));
    QCOMPARE(dictionary.run({"lookup", "fire"}).out, QByteArray("fire\tagniH\n"));
    QCOMPARE(dictionary.run({"count"}).out, QByteArray("2\n"));
    QCOMPARE(dictionary.run({"list"}).out, QByteArray("fire\tagniH\nwater\tjalam\n"));
    const QString tsv = dictionary.dir.filePath("words.tsv");
    QCOMPARE(dictionary.run({"export", tsv}).status, 0);
    QCOMPARE(fileBytes(tsv), QByteArray("fire\tagniH\nwater\tjalam\n"));
    // A writing command still finds the dictionary taken.
    const ProgramRun put = dictionary.run({"put", "earth", "bhUmiH"});
    QVERIFY2(put.status == 1 && put.err.contains("open in another program"), put.err.constData());
    QCOMPARE(window.closeDB(), 0);
}

// Killed at each folder flush in turn (some before the new file is in place, one after it but
// before the snapshot of it), an import leaves the old dictionary or the whole new one, and the
// next program that writes it goes on without a word of a stranger's journal.
void TestDictCli::killedImportIsAllOrNothing()
{
    QByteArray input;
    for (int i = 0; i < 2000; ++i)
        input += "word" + QByteArray::number(i) + "\tartha\n";
    QSet<qsizetype> outcomes;
    for (int flush = 1; flush <= 8; ++flush) {
        const Dictionary dictionary;
        QVERIFY(DbUtilities::load(dictionary.path, pairsOf(kSample)));
        dictionary.traced({"import"}, input,
                          {"-e", QStringLiteral("inject=fsync:signal=KILL:when=%1").arg(flush)});
        const qsizetype records = DbUtilities::dump(dictionary.path).size();
        QVERIFY2(records == kSample.size() || records == kSample.size() + 2000,
                 qPrintable(QString::number(flush)));
        outcomes.insert(records);
        QVERIFY(DbUtilities::verify(dictionary.path));
        const ProgramRun put = dictionary.run({"put", "z", "y"});
        QVERIFY2(put.status == 0 && put.err.isEmpty(), put.err.constData());
    }
    QCOMPARE(outcomes.size(), 2);
    // The folder flush after the new file is in place fails (the fourth of an import into a
    // dictionary with a snapshot, after those of the snapshot before it, the import's mark and
    // the snapshot of the new file): the import is done, and said to be not yet flushed.
    const Dictionary dictionary;
    QCOMPARE(dictionary.run({"put", "a", "b"}).status, 0);
    const ProgramRun run =
        dictionary.traced({"import"}, input, {"-e", "inject=fsync:error=EIO:when=4"});
    QVERIFY2(run.status == 1 && run.out == "added 2000, kept 0, replaced 0, appended 0\n" &&
                 run.err.contains("in place, but its folder could not be flushed"),
             run.err.constData());
    QCOMPARE(DbUtilities::dump(dictionary.path).size(), 2001);
}

void TestDictCli::damagedFileIsRepaired_data()
{
    QTest::addColumn<qint64>("at"); // the byte flipped
    QTest::addColumn<bool>("timeKept");
    QTest::addColumn<QStringList>("writer");
    QTest::addColumn<int>("keys");
    QTest::newRow("leaf, time kept") << 3 * 4096LL + 26 << true << QStringList{"repair"} << 2003;
    QTest::newRow("first page, time kept") << 100LL << true << QStringList{"put", "d", "x"} << 2004;
    // The journal's middle entry damaged too (one change lost), and the second link failing, so
    // that the damaged dictionary is kept as a written copy.
    QTest::newRow("leaf and journal, links failing")
        << 3 * 4096LL + 26 << false
        << QStringList{"-e", "inject=link:error=EPERM:when=2", "put", "d", "x"} << 2003;
}

// A bit flipped after a clean close: the page checksums of an imported file find it, a reader
// says so in one line and stops (met while listing when the file kept its time, at the open
// otherwise), verify names it, and the next writer rebuilds the file from snapshot and journal,
// every step of it flushed in order.
void TestDictCli::damagedFileIsRepaired()
{
    QFETCH(qint64, at);
    QFETCH(bool, timeKept);
    QFETCH(QStringList, writer);
    QFETCH(int, keys);
    const Dictionary dictionary;
    QByteArray input;
    for (int i = 0; i < 2000; ++i)
        input += QByteArray::number(i + 1) + "\tmeaning " + QByteArray::number(i) + '\n';
    QCOMPARE(dictionary.run({"import"}, input).status, 0);
    for (const char *word : {"a", "b", "c"})
        QCOMPARE(dictionary.run({"put", word, "x"}).status, 0);
    QFile file(dictionary.path);
    const QDateTime modified = QFileInfo(file).lastModified();
    QByteArray bytes = fileBytes(dictionary.path);
    bytes[at] = char(bytes[at] ^ 0x10);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.write(bytes) == bytes.size());
    QVERIFY(!timeKept || file.setFileTime(modified, QFileDevice::FileModificationTime));
    file.close();
    QFile journal(dictionary.path + "-journal");
    QVERIFY(timeKept || (journal.open(QIODevice::ReadWrite) && journal.seek(128 + 30 + 4) &&
                         journal.write("X") == 1));
    journal.close();
    for (const char *reader : {"list", "verify"}) {
        const ProgramRun run = dictionary.run({reader});
        QVERIFY2(run.status == 1 && run.err.contains("is damaged"), run.err.constData());
        QVERIFY(reader != QByteArray("list") || run.err.count('\n') == 1);
    }
    // What comes before the command is for strace.
    const qsizetype split = qMax(qsizetype(0), writer.indexOf("put"));
    const ProgramRun repaired = dictionary.traced(writer.mid(split), {}, writer.first(split));
    QVERIFY2(repaired.status == 0 && repaired.err.contains("is damaged; kept it as"),
             repaired.err.constData());
    QVERIFY2(dictionary.faults.isEmpty(), qPrintable(dictionary.faults.join('\n')));
    QCOMPARE(dictionary.run({"count"}).out, QByteArray::number(keys) + '\n');
    QCOMPARE(dictionary.run({"repair"}).out,
             QFile::encodeName(dictionary.path) + ": sound, nothing to repair\n");
}

QTEST_GUILESS_MAIN(TestDictCli)
#include "tst_dictcli.moc"
