#include "record.h"

#include <QTest>

using namespace vantro;

class TestRecord : public QObject
{
    Q_OBJECT

private slots:
    void encodesKeyAndData_data();
    void encodesKeyAndData();
    void readsDataBack_data();
    void readsDataBack();
    void latin1Check_data();
    void latin1Check();
};

void TestRecord::encodesKeyAndData_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<QString>("synonyms");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("with synonyms")
        << "Water"
        << "jalaM"
        << "udakaM, toyaM" << QByteArray("water") << QByteArray("jalaM|udakaM, toyaM");
    QTest::newRow("no synonyms") << "Water"
                                 << "jalaM"
                                 << "" << QByteArray("water") << QByteArray("jalaM");
    QTest::newRow("empty meaning") << "a"
                                   << ""
                                   << "S" << QByteArray("a") << QByteArray("|S");
    QTest::newRow("both empty") << "b"
                                << ""
                                << "" << QByteArray("b") << QByteArray("");
    QTest::newRow("blanks kept") << "Big Cat "
                                 << "x"
                                 << "" << QByteArray("big cat ") << QByteArray("x");
    QTest::newRow("latin-1 word") << QString::fromUtf8("ÉCOLE") << "shAlA"
                                  << ""
                                  << QByteArray("\xe9"
                                                "cole")
                                  << QByteArray("shAlA");
}

void TestRecord::encodesKeyAndData()
{
    QFETCH(QString, word);
    QFETCH(QString, meaning);
    QFETCH(QString, synonyms);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, data);
    QCOMPARE(encodeKey(word), key);
    QCOMPARE(encodeData(meaning, synonyms), data);
}

void TestRecord::readsDataBack_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<QString>("synonyms");
    QTest::newRow("split at bar") << QByteArray("jalaM|udakaM") << "jalaM"
                                  << "udakaM";
    QTest::newRow("no bar") << QByteArray("jalaM") << "jalaM"
                            << "";
    QTest::newRow("leading bar stays meaning") << QByteArray("|S") << "|S"
                                               << "";
    QTest::newRow("later bars belong to synonyms") << QByteArray("a|b|c") << "a"
                                                   << "b|c";
    QTest::newRow("bar in meaning splits there") << QByteArray("x|y") << "x"
                                                 << "y";
    QTest::newRow("empty") << QByteArray("") << ""
                           << "";
    QTest::newRow("stops at NUL") << QByteArray("ab\0|cd", 6) << "ab"
                                  << "";
    QTest::newRow("line breaks kept") << QByteArray("a\nb|c") << "a\nb"
                                      << "c";
    QTest::newRow("trailing bar") << QByteArray("a|") << "a"
                                  << "";
}

void TestRecord::readsDataBack()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, meaning);
    QFETCH(QString, synonyms);
    QString gotMeaning = QStringLiteral("stale");
    QString gotSynonyms = QStringLiteral("stale");
    decodeData(data.constData(), data.size(), gotMeaning, gotSynonyms);
    QCOMPARE(gotMeaning, meaning);
    QCOMPARE(gotSynonyms, synonyms);
}

void TestRecord::latin1Check_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::newRow("ascii") << "saMskR^itaM" << true;
    QTest::newRow("latin-1") << QString::fromUtf8("naïve") << true;
    QTest::newRow("euro") << QString::fromUtf8("€") << false;
    QTest::newRow("devanagari") << QString::fromUtf8("संस्कृत") << false;
    QTest::newRow("astral") << QString::fromUtf8("😀") << false;
}

void TestRecord::latin1Check()
{
    QFETCH(QString, text);
    QFETCH(bool, fits);
    QCOMPARE(fitsLatin1(text), fits);
}

QTEST_GUILESS_MAIN(TestRecord)
#include "tst_record.moc"
