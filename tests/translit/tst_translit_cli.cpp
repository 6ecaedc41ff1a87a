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
    void converts_data();
    void converts();
    void readsAFile();
    void lintExitStatus();
    void refusesWhatItCannotDo_data();
    void refusesWhatItCannotDo();
    void helpAndVersion();
    void invalidUtf8GivesValidUtf8();
    void tablePageShowsEveryLetter();
};

void TestTranslitCli::converts_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");
    QTest::newRow("default") << QStringList{} << QByteArray("saMskR^itaM\n")
                             << QString(u"संस्कृतं\n"_qs).toUtf8();
    QTest::newRow("stdin as -") << QStringList{"-"} << QByteArray("vAk")
                                << QString(u"वाक्"_qs).toUtf8();
    QTest::newRow("iast") << QStringList{"--to", "iast"} << QByteArray("kR^iShNaH")
                          << QString(u"kṛṣṇaḥ"_qs).toUtf8();
    QTest::newRow("itrans") << QStringList{"--to", "itrans"} << QString(u"वाक् कइ"_qs).toUtf8()
                            << QByteArray("vAk ka_i");
    QTest::newRow("explicit virama") << QStringList{"--explicit-virama"} << QByteArray("rAm vAk.h")
                                     << QString(u"राम वाक्"_qs).toUtf8();
    QTest::newRow("empty input") << QStringList{} << QByteArray() << QByteArray();
}

void TestTranslitCli::converts()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    const Run run = runTool(arguments, input);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, output);
    QCOMPARE(run.err, QByteArray());
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

void TestTranslitCli::lintExitStatus()
{
    const Run clean = runTool({"--lint"}, "rAmaH\n");
    QCOMPARE(clean.status, 0);
    QCOMPARE(clean.out, QByteArray());

    const Run found = runTool({"--lint", "-"}, "rAmaH\nsaMkalpa aa\n");
    QCOMPARE(found.status, 1);
    QCOMPARE(QString::fromUtf8(found.out),
             u"<stdin>:2:3: anusvara \"M\" before the stop \"k\": the class nasal is \"~N\"\n"
             "<stdin>:2:10: mixed spellings: \"aa\" here, \"A\" at 1:2 (both आ)\n"_qs);
}

void TestTranslitCli::refusesWhatItCannotDo_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("unknown script")
        << QStringList{"--to", "latin"}
        << QByteArray(
               "vantro-translit: unknown script \"latin\": use devanagari, iast or itrans\n");
    QTest::newRow("two inputs") << QStringList{"a", "b"}
                                << QByteArray("vantro-translit: one input at most; see --help\n");
    QTest::newRow("missing file")
        << QStringList{"/nonexistent/verse.txt"}
        << QByteArray("vantro-translit: cannot read /nonexistent/verse.txt: No such file or "
                      "directory\n");
}

void TestTranslitCli::refusesWhatItCannotDo()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    const Run run = runTool(arguments);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.err, message);
    QCOMPARE(run.out, QByteArray());
}

void TestTranslitCli::helpAndVersion()
{
    const Run help = runTool({"--help"});
    QCOMPARE(help.status, 0);
    for (const char *option : {"--to <script>", "--lint", "--explicit-virama", "[FILE|-]"})
        QVERIFY2(help.out.contains(option), option);
    const Run version = runTool({"--version"});
    QCOMPARE(version.status, 0);
    QVERIFY(version.out.startsWith("vantro-translit " VANTRO_VERSION "\nLicense GPL-3.0-or-later"));
}

void TestTranslitCli::invalidUtf8GivesValidUtf8()
{
    const Run run = runTool({}, QByteArray("ka\xff\xc3(kha\xed\xa0\x80", 12));
    QCOMPARE(run.status, 0);
    const QString decoded = QString::fromUtf8(run.out);
    QCOMPARE(decoded.toUtf8(), run.out);
    QVERIFY(decoded.startsWith(u"क"));
    QVERIFY(decoded.contains(u"(ख"));
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
