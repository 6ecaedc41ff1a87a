// SPDX-License-Identifier: GPL-3.0-or-later
// vantro-grammar as a user runs it: usage errors, exit statuses, the shape of --tsv, the
// scripts and the join of standard input. The forms themselves are the library's tests.
#include "capture.h"
#include "dictdb.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace vantro::test;

namespace {

ProgramRun grammar(const QStringList &arguments, const QByteArray &input = {})
{
    return runProgram(QStringLiteral(VANTRO_GRAMMAR_EXECUTABLE), arguments, input);
}

// The first two fields every line of a --tsv paradigm of so many lines must have, in order.
QStringList tsvKeys(qsizetype lines)
{
    const QStringList rows =
        lines == 24 ? QStringList{"nom", "acc", "ins", "dat", "abl", "gen", "loc", "voc"}
                    : QStringList{"3", "2", "1"};
    QStringList keys;
    for (const QString &row : rows)
        for (const char *number : {"sg", "du", "pl"})
            keys << row + '\t' + number;
    return keys;
}

} // namespace

class TestGrammarCli : public QObject
{
    Q_OBJECT

private slots:
    void commands_data();
    void commands();
    void analyse_data();
    void analyse();
    void analyseWithDictionary();
    void unwritableOutput();
};

void TestGrammarCli::commands_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("lines");     // of standard output
    QTest::addColumn<QString>("first"); // a pattern for the first line of standard output
    QTest::addColumn<QString>("err");   // what standard error's first line holds
    const auto row = [](const char *name, const QStringList &arguments, int status, int lines,
                        const QString &first, const QString &err = {},
                        const QByteArray &input = {}) {
        QTest::newRow(name) << arguments << input << status << lines << first << err;
    };
    row("no command", {}, 2, 0, {}, "no command given");
    row("unknown command", {"decline", "deva"}, 2, 0, {}, "unknown command 'decline'");
    row("noun without a gender", {"noun", "deva"}, 2, 0, {}, "noun takes a stem and a gender");
    row("unknown gender", {"noun", "deva", "x"}, 2, 0, {}, "unknown gender 'x'");
    row("class out of range", {"verb", "bhU", "11"}, 2, 0, {}, "unknown class '11'");
    row("unknown tense", {"verb", "bhU", "1", "--tense", "pluperfect"}, 2, 0, {}, "unknown tense");
    row("class the root is not known in", {"verb", "dA", "1"}, 1, 0, {},
        "dA is a class 3 root (dadAti); class 1 is not known for it");
    row("participles", {"participles", "gam", "1"}, 0, 12, "^past passive participle: gata$");
    row("participles tsv", {"participles", "A-gam", "1", "--tsv"}, 0, 12,
        "^past passive participle\tAgata$");
    row("causative and desiderative at once", {"verb", "gam", "1", "--causative", "--desiderative"},
        2, 0, {}, "exclude each other");
    row("verb option on a noun", {"noun", "deva", "m", "--pada", "A"}, 2, 0, {}, "--pada is for");
    row("unknown option", {"noun", "deva", "m", "--frob"}, 2, 0, {}, "Unknown option 'frob'");
    row("unknown script", {"guess", "devaH", "--script", "x"}, 2, 0, {}, "unknown script 'x'");
    row("stem it cannot decline", {"noun", "123", "m"}, 1, 0, {}, "");
    row("root it cannot conjugate", {"verb", "123", "1"}, 1, 0, {}, "");
    row("nothing to guess from", {"guess", "123"}, 1, 0, {}, "no noun stem or verb root");
    row("noun table", {"noun", "deva", "m"}, 0, 9, "^ +Singular +Dual +Plural$");
    row("noun tsv", {"noun", "deva", "m", "--tsv"}, 0, 24, "^nom\tsg\tdevaH$");
    row("adjective's feminine, its stem named", {"noun", "sundara", "f"}, 0, 10,
        "^\\(feminine stem sundarI\\)$");
    row("adjective's feminine, tsv", {"noun", "tudat", "f", "--tsv"}, 0, 24,
        "^nom\tsg\ttudantI,tudatI$");
    row("noun's feminine refused", {"noun", "deva", "f"}, 1, 0, {}, "deva is masculine or neuter");
    row("verb tsv", {"verb", "bhU", "1", "--tsv"}, 0, 9, "^3\tsg\tbhavati$");
    row("tense named: periphrastic", {"verb", "gam", "1", "--tense", "periphrastic", "--tsv"}, 0, 9,
        "^3\tsg\tgantA$");
    row("tense named: aorist", {"verb", "bhU", "1", "--tense", "aorist", "--tsv"}, 0, 9,
        "^3\tsg\tabhUt$");
    row("tsv in Devanagari", {"noun", "deva", "m", "--tsv", "--script", "devanagari"}, 0, 24,
        QStringLiteral(u"^nom\tsg\tदेवः$"));
    row("guess in IAST", {"guess", "bhavati", "--script", "iast"}, 0, -1,
        QStringLiteral(u"^verb\tbhū\t1\tP$"));
    row("join words", {"join", "rAmaH", "atra"}, 0, 1, "^rAmo\\.atra$");
    row("join standard input", {"join"}, 0, 3, "^rAmo\\.atra$", {}, "rAmaH atra\n\nrAmaH atra");
    row("join, every variant", {"join", "--all", "rAmaH", "atra"}, 0, -1, "^rAmo\\.atra$");
    row("join: a line not UTF-8 passes unchanged", {"join"}, 1, 2, QStringLiteral(u"^a\uFFFD$"),
        "invalid UTF-8", "a\xff\nrAmaH atra\n");
    row("help", {"--help"}, 0, -1, "^Usage: .*vantro-grammar \\[options\\] command");
}

void TestGrammarCli::commands()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(int, lines);
    const ProgramRun run = grammar(arguments, input);
    QCOMPARE(run.status, status);
    QStringList out = QString::fromUtf8(run.out).split('\n');
    if (out.last().isEmpty())
        out.removeLast();
    if (lines >= 0)
        QCOMPARE(out.size(), lines);
    QFETCH(QString, first);
    if (!first.isEmpty())
        QVERIFY2(QRegularExpression(first).match(out.value(0)).hasMatch(),
                 qPrintable(out.value(0)));
    if (arguments.contains("--tsv") && arguments.first() != u"participles")
        for (qsizetype i = 0; i < out.size(); ++i)
            QCOMPARE(out.at(i).section('\t', 0, 1), tsvKeys(out.size()).at(i));
    // A failure is one line on standard error; usage errors add the pointer to --help.
    const QStringList errLines = QString::fromUtf8(run.err).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(errLines.size(), status == 0 ? 0 : status == 2 ? 2 : 1);
    QFETCH(QString, err);
    QVERIFY2(errLines.value(0).contains(err), qPrintable(errLines.value(0)));
}

// analyse: one reading a line, "unknown" and status 1 for a word nothing explains.
void TestGrammarCli::analyse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const auto row = [](const char *name, const QStringList &arguments, int status,
                        const QString &out, const QString &err = {}, const QByteArray &input = {}) {
        QTest::newRow(name) << arguments << input << status << out << err;
    };
    row("known words", {"analyse", "gachChAmi", "cha"}, 0,
        "gachChAmi\tverb\tgam\t1\tP\tpresent\tfirst\tsingular\ncha\tindeclinable\n");
    row("a word nothing explains", {"analyse", "cha", "gachChAti"}, 1,
        "cha\tindeclinable\ngachChAti\tunknown\n");
    row("suggestions", {"analyse", "--suggest", "gachChAti"}, 1,
        "gachChAti\tunknown\tgachChati, gachChAni, gachChAmi\n");
    row("the pausal form a sandhi form stands for", {"analyse", "sa"}, 0,
        "sa (saH)\tnoun\ttad\tm\tnominative\tsingular\n");
    row("passive, and the causative's passive", {"analyse", "gamyate"}, 0,
        "gamyate\tverb\tgam\t1\tA\tpresent\tthird\tsingular\tpassive\n"
        "gamyate\tverb\tgam\t1\tA\tpresent\tthird\tsingular\tcausative\tpassive\n");
    row("gerund", {"analyse", "gatvA"}, 0, "gatvA\tgerund\tgam\t1\n");
    row("standard input word by word, fences left out", {"analyse"}, 0,
        "cha\tindeclinable\niti\tindeclinable\n", {}, "cha, ## not read ## iti |\n");
    row("Devanagari", {"analyse", "cha", "--script", "devanagari"}, 0,
        QStringLiteral(u"च\tindeclinable\n"));
    row("a dictionary that is not there", {"analyse", "--db", "/nonexistent/x.db", "cha"}, 1, {},
        "/nonexistent/x.db: no such dictionary");
    row("--db is for analyse", {"guess", "devaH", "--db", "x.db"}, 2, {}, "--db is for analyse");
}

void TestGrammarCli::analyse()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QTemporaryDir empty; // no morvak.db where it runs
    const ProgramRun run =
        runProgram(QStringLiteral(VANTRO_GRAMMAR_EXECUTABLE), arguments, input, empty.path());
    QFETCH(int, status);
    QCOMPARE(run.status, status);
    QFETCH(QString, out);
    QCOMPARE(QString::fromUtf8(run.out), out);
    QFETCH(QString, err);
    QVERIFY2(QString::fromUtf8(run.err).contains(err), run.err.constData());
}

// The English keys of the records whose meaning holds the stem end each line, from the file
// --db names or from morvak.db in the working directory.
void TestGrammarCli::analyseWithDictionary()
{
    QTemporaryDir dir;
    {
        vantro::cDictDB db(dir.filePath(QStringLiteral("morvak.db")));
        QCOMPARE(db.openDB(), 0);
        for (const auto &[word, meaning] : {std::pair{"water", "jalaM n."}, {"lake", "saraH"}}) {
            db.setWord(word);
            db.setITRANS(meaning);
            QCOMPARE(db.addRecord(), 0);
        }
        QCOMPARE(db.closeDB(), 0);
    }
    // A stem no record holds (cha) has no keys, and no field for them.
    const QString expected = QStringLiteral("jalena\tnoun\tjala\tn\tinstrumental\tsingular\twater\n"
                                            "cha\tindeclinable\n");
    ProgramRun run =
        grammar({"analyse", "--db", dir.filePath(QStringLiteral("morvak.db")), "jalena", "cha"});
    QCOMPARE(run.status, 0);
    QCOMPARE(QString::fromUtf8(run.out), expected);
    run = runProgram(QStringLiteral(VANTRO_GRAMMAR_EXECUTABLE), {"analyse", "jalena", "cha"}, {},
                     dir.path());
    QCOMPARE(QString::fromUtf8(run.out), expected);
}

// Output that cannot be written is reported, not taken for success.
void TestGrammarCli::unwritableOutput()
{
    QProcess process;
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start(QStringLiteral(VANTRO_GRAMMAR_EXECUTABLE), {"noun", "deva", "m"});
    QVERIFY(process.waitForFinished());
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardError().contains("cannot write the output"));
}

QTEST_GUILESS_MAIN(TestGrammarCli)
#include "tst_grammarcli.moc"
