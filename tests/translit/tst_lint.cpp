#include "itranslinter.h"

#include <QTest>

using namespace vantro;

class TestLint : public QObject
{
    Q_OBJECT

private slots:
    void findings_data();
    void findings();
};

void TestLint::findings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("clean verse") << "dharmakShetre kurukShetre samavetA yuyutsavaH |\n"
                                    "mAmakAH pANDavAshchaiva kimakurvata sa~njaya ||1||\n"
                                 << QStringList{};
    QTest::newRow("unknown letter") << "rAma Bq" << QStringList{"1:6: not ITRANS: \"B\""};
    QTest::newRow("unknown run is one finding")
        << "kaQWX\nCat" << QStringList{"1:3: not ITRANS: \"QWX\"", "2:1: not ITRANS: \"C\""};
    QTest::newRow("stray caret and tilde")
        << "R^ ~" << QStringList{"1:1: not ITRANS: \"R^\"", "1:4: not ITRANS: \"~\""};
    QTest::newRow("Devanagari in ITRANS")
        << u"rAma राम"_qs << QStringList{u"1:6: not ITRANS: \"राम\""_qs};
    QTest::newRow("verbatim is not checked") << "##Bob## rAma" << QStringList{};
    QTest::newRow("punctuation is fine") << "rAma, (sItA)! -- \"iti\"" << QStringList{};
    QTest::newRow("mixed spellings once")
        << "rAma raama raama rAma"
        << QStringList{u"1:7: mixed spellings: \"aa\" here, \"A\" at 1:2 (both आ)"_qs};
    QTest::newRow("mixed spellings across lines")
        << "kShamA\nxatriya"
        << QStringList{u"2:1: mixed spellings: \"x\" here, \"kSh\" at 1:1 (both क्ष)"_qs};
    QTest::newRow("lazy anusvara")
        << "saMkalpa saMdhi shaMbhu"
        << QStringList{"1:3: anusvara \"M\" before the stop \"k\": the class nasal is \"~N\"",
                       "1:12: anusvara \"M\" before the stop \"dh\": the class nasal is \"n\"",
                       "1:20: anusvara \"M\" before the stop \"bh\": the class nasal is \"m\""};
    QTest::newRow("anusvara before non-stops") << "saMsAra saMyama kaM pAtu" << QStringList{};
    QTest::newRow("vowels run together")
        << "aI pra_uga gaai"
        << QStringList{"1:2: vowels \"a\" and \"I\" run together: write \"_\" where they part",
                       "1:15: vowels \"aa\" and \"i\" run together: write \"_\" where they part"};
    QTest::newRow("columns count characters")
        << u"😀 saMtoSha"_qs
        << QStringList{u"1:1: not ITRANS: \"😀\""_qs,
                       "1:5: anusvara \"M\" before the stop \"t\": the class nasal is \"n\""};
    QTest::newRow("findings in text order")
        << "\n\n  saMtoSha Bx"
        << QStringList{"3:5: anusvara \"M\" before the stop \"t\": the class nasal is \"n\"",
                       "3:12: not ITRANS: \"B\""};
}

void TestLint::findings()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QStringList actual;
    for (const LintFinding &finding : ItransLinter().lint(text))
        actual << QStringLiteral("%1:%2: %3")
                      .arg(finding.line)
                      .arg(finding.column)
                      .arg(finding.message);
    QCOMPARE(actual, expected);
}

QTEST_GUILESS_MAIN(TestLint)
#include "tst_lint.moc"
