#include "transliterate.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace vantro;

namespace {

QString dataFile(const char *name)
{
    QFile file(QStringLiteral(VANTRO_TRANSLIT_DATA "/") + QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    return QString::fromUtf8(file.readAll());
}

bool hasLatinLetters(const QString &text)
{
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    return text.contains(latin);
}

} // namespace

// Devanagari -> ITRANS -> Devanagari over real text. The ITRANS was typed in the preferred
// spellings, so going back must also give it letter for letter.
class TestRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void words_data();
    void words();
    void verses();
    void typedDevanagari();
};

void TestRoundTrip::words_data()
{
    QTest::addColumn<QString>("word");
    const QStringList lines = dataFile("words.itrans").split(u'\n');
    int count = 0;
    for (const QString &line : lines) {
        if (line.startsWith(u'#'))
            continue;
        for (const QString &word : line.split(u' ', Qt::SkipEmptyParts)) {
            QTest::newRow(qPrintable(word)) << word;
            ++count;
        }
    }
    QVERIFY(count >= 300);
}

void TestRoundTrip::words()
{
    QFETCH(QString, word);
    const QString devanagari = itransToDevanagari(word);
    QVERIFY2(!hasLatinLetters(devanagari), qPrintable(devanagari));
    const QString itrans = devanagariToItrans(devanagari);
    QCOMPARE(itrans, word);
    QCOMPARE(itransToDevanagari(itrans), devanagari);

    const TranslitOptions explicitVirama{FinalConsonant::Explicit};
    const QString explicitItrans = devanagariToItrans(devanagari, explicitVirama);
    QCOMPARE(itransToDevanagari(explicitItrans, explicitVirama), devanagari);
}

void TestRoundTrip::verses()
{
    const QString itrans = dataFile("gita-1.itrans");
    const QString devanagari = itransToDevanagari(itrans);
    QVERIFY(!hasLatinLetters(devanagari));
    QVERIFY(devanagari.startsWith(dataFile("gita-1-1.devanagari")));
    QCOMPARE(devanagariToItrans(devanagari), itrans);
    QCOMPARE(itransToDevanagari(devanagariToItrans(devanagari)), devanagari);
}

void TestRoundTrip::typedDevanagari()
{
    const QString devanagari = dataFile("gita-1-1.devanagari");
    const QString itrans = devanagariToItrans(devanagari);
    QVERIFY(!itrans.contains(u"##"));
    QCOMPARE(itransToDevanagari(itrans), devanagari);
    QVERIFY(dataFile("gita-1.itrans").startsWith(itrans));
}

QTEST_GUILESS_MAIN(TestRoundTrip)
#include "tst_roundtrip.moc"
