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
    const auto row = [](const char *name, const char *word, const char *meaning,
                        const char *synonyms, const char *key, const char *data) {
        QTest::newRow(name) << QString::fromUtf8(word) << QString::fromLatin1(meaning)
                            << QString::fromLatin1(synonyms) << QByteArray(key) << QByteArray(data);
    };
    row("with synonyms", "Water", "jalaM", "udakaM, toyaM", "water", "jalaM|udakaM, toyaM");
    row("no synonyms", "Water", "jalaM", "", "water", "jalaM");
    row("empty meaning", "a", "", "S", "a", "|S");
    row("both empty", "b", "", "", "b", "");
    row("blanks kept", "Big Cat ", "x", "", "big cat ", "x");
    row("latin-1 word", "ÉCOLE", "shAlA", "", "\351cole", "shAlA");
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
    const auto row = [](const char *name, const QByteArray &data, const char *meaning,
                        const char *synonyms) {
        QTest::newRow(name) << data << QString::fromLatin1(meaning)
                            << QString::fromLatin1(synonyms);
    };
    row("split at bar", "jalaM|udakaM", "jalaM", "udakaM");
    row("no bar", "jalaM", "jalaM", "");
    row("leading bar stays meaning", "|S", "|S", "");
    row("later bars belong to synonyms", "a|b|c", "a", "b|c");
    row("empty", "", "", "");
    row("stops at NUL", QByteArray("ab\0|cd", 6), "ab", "");
    row("line breaks kept", "a\nb|c", "a\nb", "c");
    row("trailing bar", "a|", "a", "");
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
    QTest::newRow("last latin-1") << QString::fromUtf8("naïveÿ") << true;
    QTest::newRow("first beyond") << QString::fromUtf8("Ā") << false;
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
