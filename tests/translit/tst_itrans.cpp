#include "transliterate.h"

#include <QFile>
#include <QTest>

using namespace vantro;

namespace {

QString unescaped(QStringView cell)
{
    QString text;
    for (qsizetype i = 0; i < cell.size(); ++i) {
        if (cell[i] != u'\\' || i + 1 == cell.size()) {
            text += cell[i];
        } else if (cell[++i] == u'u') {
            text += QChar(cell.mid(i + 1, 4).toUShort(nullptr, 16));
            i += 4;
        } else {
            text += cell[i] == u'n'   ? u'\n'
                    : cell[i] == u't' ? u'\t'
                    : cell[i] == u'r' ? u'\r'
                                      : cell[i];
        }
    }
    return text;
}

// One row for each line of a [section] of data/itrans.tsv, named after its first cell; cells
// are split at tabs and missing ones are empty.
void addRows(const char *section, std::initializer_list<const char *> columns)
{
    for (const char *column : columns)
        QTest::addColumn<QString>(column);
    QFile file(QStringLiteral(VANTRO_TRANSLIT_DATA "/itrans.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    const QString header = QStringLiteral("[%1]").arg(QLatin1String(section));
    bool inSection = false;
    int rows = 0;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(u'[')) {
            inSection = line == header;
        } else if (inSection && !line.isEmpty() && !line.startsWith(QLatin1String("# "))) {
            QStringList cells = line.split(u'\t');
            cells.resize(qsizetype(columns.size()));
            QTestData &row = QTest::newRow(qPrintable(cells.first()));
            for (const QString &cell : cells)
                row << unescaped(cell);
            ++rows;
        }
    }
    if (rows == 0)
        qFatal("no rows in %s", qPrintable(header));
}

} // namespace

class TestItrans : public QObject
{
    Q_OBJECT

private slots:
    void vowels_data() { addRows("vowels", {"itrans", "letter", "afterConsonant", "iast"}); }
    void vowels();
    void consonants_data() { addRows("consonants", {"itrans", "devanagari", "iast"}); }
    void consonants();
    void toDevanagari_data() { addRows("toDevanagari", {"itrans", "devanagari", "explicitOnly"}); }
    void toDevanagari();
    void notItransPassesThrough_data();
    void notItransPassesThrough();
    void iast_data() { addRows("iast", {"itrans", "iast"}); }
    void iast();
    void backToItrans_data()
    {
        addRows("backToItrans", {"devanagari", "itrans", "explicitItrans"});
    }
    void backToItrans();
};

void TestItrans::vowels()
{
    QFETCH(QString, itrans);
    QFETCH(QString, letter);
    QFETCH(QString, afterConsonant);
    QFETCH(QString, iast);
    QCOMPARE(itransToDevanagari(itrans), letter);
    QCOMPARE(itransToDevanagari(QLatin1Char('k') + itrans), afterConsonant);
    QCOMPARE(itransToIast(itrans), iast);
    QCOMPARE(itransToIast(QLatin1Char('k') + itrans), QLatin1Char('k') + iast);
}

// Each consonant with its inherent a, bare at the end of a word, and before a vowel sign.
void TestItrans::consonants()
{
    QFETCH(QString, itrans);
    QFETCH(QString, devanagari);
    QFETCH(QString, iast);
    QCOMPARE(itransToDevanagari(itrans + QLatin1Char('a')), devanagari);
    QCOMPARE(itransToDevanagari(itrans), devanagari + QChar(0x094D));
    QCOMPARE(itransToDevanagari(itrans + QLatin1Char('I')), devanagari + QChar(0x0940));
    QCOMPARE(itransToIast(itrans + QLatin1Char('a')), iast + QLatin1Char('a'));
}

void TestItrans::toDevanagari()
{
    QFETCH(QString, itrans);
    QFETCH(QString, devanagari);
    QFETCH(QString, explicitOnly);
    QCOMPARE(itransToDevanagari(itrans), devanagari);
    QCOMPARE(itransToDevanagari(itrans, {FinalConsonant::Virama}), devanagari);
    if (!explicitOnly.isEmpty())
        QCOMPARE(itransToDevanagari(itrans, {FinalConsonant::Explicit}), explicitOnly);
}

void TestItrans::notItransPassesThrough_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("punctuation") << ",;:!?()[]-+=*/\"'<>&%$@`{}\\";
    QTest::newRow("whitespace") << " \t\n\r\n  ";
    QTest::newRow("unknown Latin letters") << "BCFPQVWXZ c C S R";
    QTest::newRow("caret and tilde alone") << "^ ~ ^^~~";
    QTest::newRow("Devanagari") << u"राम सीता"_qs;
    QTest::newRow("other scripts") << u"ü é ж λ 中"_qs;
    QTest::newRow("astral") << u"😀𝔸"_qs;
    QTest::newRow("joiners") << u"\u200C\u200D"_qs;
    QTest::newRow("replacement") << u"\uFFFD"_qs;
}

void TestItrans::notItransPassesThrough()
{
    QFETCH(QString, text);
    QCOMPARE(itransToDevanagari(text), text);
    QCOMPARE(itransToDevanagari(QStringLiteral("rAma") + text + QStringLiteral("sItA")),
             QStringLiteral(u"राम") + text + QStringLiteral(u"सीता"));
}

void TestItrans::iast()
{
    QFETCH(QString, itrans);
    QFETCH(QString, iast);
    QCOMPARE(itransToIast(itrans), iast);
}

void TestItrans::backToItrans()
{
    QFETCH(QString, devanagari);
    QFETCH(QString, itrans);
    QFETCH(QString, explicitItrans);
    QCOMPARE(devanagariToItrans(devanagari), itrans);
    QCOMPARE(devanagariToItrans(devanagari, {FinalConsonant::Explicit}), explicitItrans);
    const QString normal = devanagari.normalized(QString::NormalizationForm_C);
    QCOMPARE(itransToDevanagari(itrans), normal);
    QCOMPARE(itransToDevanagari(explicitItrans, {FinalConsonant::Explicit}), normal);
}

QTEST_GUILESS_MAIN(TestItrans)
#include "tst_itrans.moc"
