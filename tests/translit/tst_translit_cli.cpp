#include "scheme.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vantro;

namespace {

struct Run
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run runTool(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(QStringLiteral(VANTRO_TRANSLIT_TOOL), arguments);
    if (!process.waitForStarted())
        qFatal("cannot start %s", VANTRO_TRANSLIT_TOOL);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

class TestTranslitCli : public QObject
{
    Q_OBJECT

private slots:
    void runs_data();
    void runs();
    void readsAFile();
    void outputFlowsBeforeTheInputEnds();
    void helpAndVersion();
    void tablePageShowsEveryLetter();
};

void TestTranslitCli::runs_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QByteArray>("errors");
    // A stray byte, an overlong 2- and 3-byte form, a surrogate, past U+10FFFF, cut short.
    const QByteArray invalid("rAma\nka\xff\n\xc0\xafsItA\n\xed\xa0\x80\n\xe0\x80\xaf\n"
                             "\xf4\x90\x80\x80\n\xf0\x9f\x98\x80 vAk\nvAk\xe0\xa4",
                             43);
    QByteArray invalidLines;
    for (const auto &[line, offset] : {std::pair{2, 7}, {3, 9}, {4, 16}, {5, 20}, {6, 24}, {8, 41}})
        invalidLines += QStringLiteral("vantro-translit: <stdin>:%1: invalid UTF-8 at byte offset "
                                       "%2; the line is left out\n")
                            .arg(line)
                            .arg(offset)
                            .toUtf8();
    QTest::newRow("default") << QStringList{} << QByteArray("saMskR^itaM\n") << 0
                             << QString(u"संस्कृतं\n"_qs).toUtf8() << QByteArray();
    QTest::newRow("stdin as -") << QStringList{"-"} << QByteArray("vAk") << 0
                                << QString(u"वाक्"_qs).toUtf8() << QByteArray();
    QTest::newRow("iast") << QStringList{"--to", "iast"} << QByteArray("kR^iShNaH") << 0
                          << QString(u"kṛṣṇaḥ"_qs).toUtf8() << QByteArray();
    QTest::newRow("itrans") << QStringList{"--to", "itrans"} << QString(u"वाक् कइ"_qs).toUtf8() << 0
                            << QByteArray("vAk ka_i") << QByteArray();
    QTest::newRow("explicit virama") << QStringList{"--explicit-virama"} << QByteArray("rAm vAk.h")
                                     << 0 << QString(u"राम वाक्"_qs).toUtf8() << QByteArray();
    QTest::newRow("empty input") << QStringList{} << QByteArray() << 0 << QByteArray()
                                 << QByteArray();
    QTest::newRow("fence across lines")
        << QStringList{} << QByteArray("rAma ##one\ntwo## sItA\n") << 0
        << QString(u"राम one\ntwo सीता\n"_qs).toUtf8() << QByteArray();
    QTest::newRow("line longer than a piece")
        << QStringList{} << QByteArray("rAma ").repeated(40000) << 0
        << QString(u"राम "_qs).repeated(40000).toUtf8() << QByteArray();
    QTest::newRow("invalid UTF-8 lines left out")
        << QStringList{} << invalid << 1 << QString(u"राम\n😀 वाक्\n"_qs).toUtf8() << invalidLines;
    QTest::newRow("lossy") << QStringList{"--lossy"} << QByteArray("ka\xff(kha\xc3", 8) << 0
                           << QString(u"क\uFFFD(ख\uFFFD"_qs).toUtf8() << QByteArray();
    QTest::newRow("lint clean") << QStringList{"--lint"} << QByteArray("rAmaH\n") << 0
                                << QByteArray() << QByteArray();
    QTest::newRow("lint found")
        << QStringList{"--lint", "-"} << QByteArray("rAmaH\nsaMkalpa aa\n") << 1
        << QString(u"<stdin>:2:3: anusvara \"M\" before the stop \"k\": the class nasal is \"~N\"\n"
                   "<stdin>:2:10: mixed spellings: \"aa\" here, \"A\" at 1:2 (both आ)\n"_qs)
               .toUtf8()
        << QByteArray();
    QTest::newRow("lint across a fence")
        << QStringList{"--lint"} << QByteArray("rAma ##x\naa## raama\n") << 1
        << QString(u"<stdin>:2:7: mixed spellings: \"aa\" here, \"A\" at 1:2 (both आ)\n"_qs)
               .toUtf8()
        << QByteArray();
    QTest::newRow("unknown script")
        << QStringList{"--to", "latin"} << QByteArray() << 2 << QByteArray()
        << QByteArray(
               "vantro-translit: unknown script \"latin\": use devanagari, iast or itrans\n");
    QTest::newRow("two inputs") << QStringList{"a", "b"} << QByteArray() << 2 << QByteArray()
                                << QByteArray("vantro-translit: one input at most; see --help\n");
    QTest::newRow("missing file")
        << QStringList{"/nonexistent/verse.txt"} << QByteArray() << 2 << QByteArray()
        << QByteArray("vantro-translit: cannot read /nonexistent/verse.txt: No such file or "
                      "directory\n");
    QTest::newRow("directory") << QStringList{"/"} << QByteArray() << 2 << QByteArray()
                               << QByteArray("vantro-translit: cannot read /: Is a directory\n");
}

void TestTranslitCli::runs()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QByteArray, output);
    QFETCH(QByteArray, errors);
    const Run run = runTool(arguments, input);
    QCOMPARE(run.err, errors);
    QCOMPARE(run.out, output);
    QCOMPARE(run.status, status);
}

void TestTranslitCli::readsAFile()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("verse.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("OM namaH shivAya\n");
    file.close();
    const Run run = runTool({file.fileName()}, "ignored");
    QCOMPARE(run.status, 0);
    QCOMPARE(QString::fromUtf8(run.out), u"ॐ नमः शिवाय\n"_qs);
}

// A line comes out while the input is still open, as a pipe into a pager needs.
void TestTranslitCli::outputFlowsBeforeTheInputEnds()
{
    QProcess process;
    process.start(QStringLiteral(VANTRO_TRANSLIT_TOOL), {});
    process.write("rAma\n");
    QVERIFY(process.waitForReadyRead(30000));
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), u"राम\n"_qs);
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished());
}

void TestTranslitCli::helpAndVersion()
{
    const Run help = runTool({"--help"});
    QCOMPARE(help.status, 0);
    for (const char *option :
         {"--to <script>", "--lint", "--explicit-virama", "--lossy", "[FILE|-]"})
        QVERIFY2(help.out.contains(option), option);
    const Run version = runTool({"--version"});
    QCOMPARE(version.status, 0);
    QVERIFY(version.out.startsWith("vantro-translit " VANTRO_VERSION "\nLicense GPL-3.0-or-later"));
}

// The help page is generated from the same table, so every spelling and letter must be on it.
void TestTranslitCli::tablePageShowsEveryLetter()
{
    QFile file(QStringLiteral(VANTRO_ITRANS_TABLE_PAGE));
    QVERIFY2(file.open(QIODevice::ReadOnly), VANTRO_ITRANS_TABLE_PAGE);
    const QString page = QString::fromUtf8(file.readAll());
    for (const Letter *letter : Scheme::instance().letters()) {
        QVERIFY(page.contains(QString::fromUtf16(letter->devanagari)));
        for (const char *spelling : letter->itrans)
            if (spelling)
                QVERIFY2(page.contains(QStringLiteral("<tt>%1</tt>").arg(spelling)), spelling);
    }
}

QTEST_GUILESS_MAIN(TestTranslitCli)
#include "tst_translit_cli.moc"
