#include "importbatch.h"
#include "record.h"
#include "recordline.h"

#include <QTest>

using namespace vantro;
using namespace vantro::dict;

class TestRecordLine : public QObject
{
    Q_OBJECT

private slots:
    void readsGoodLines_data();
    void readsGoodLines();
    void refusesBadLines_data();
    void refusesBadLines();
    void storedBytesComeBackExactly_data();
    void storedBytesComeBackExactly();
    void wordsAreLowerCasedAsTheStoreDoes();
    void checkFindsRepeatedWords();
};

void TestRecordLine::readsGoodLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("word and meaning")
        << QByteArray("water\tjalaM") << QByteArray("water") << QByteArray("jalaM");
    QTest::newRow("with synonyms, word lower-cased")
        << QByteArray("Water\tjalaM\tudakaM, toyaM") << QByteArray("water")
        << QByteArray("jalaM|udakaM, toyaM");
    QTest::newRow("empty meaning, synonyms")
        << QByteArray("a\t\tS") << QByteArray("a") << QByteArray("|S");
    QTest::newRow("empty meaning") << QByteArray("b\t") << QByteArray("b") << QByteArray();
    QTest::newRow("empty synonyms field adds no bar")
        << QByteArray("b\tx\t") << QByteArray("b") << QByteArray("x");
    QTest::newRow("escapes") << QByteArray("a\\tb\tline\\none\\\\two\\r\\0") << QByteArray("a\tb")
                             << QByteArray("line\none\\two\r\0", 14);
    QTest::newRow("latin-1 in utf-8") << QByteArray("\xc3\x89"
                                                    "cole\tsh\xc3\xa2l\xc3\xa2")
                                      << QByteArray("\xe9"
                                                    "cole")
                                      << QByteArray("sh\xe2l\xe2");
    QTest::newRow("blanks kept") << QByteArray(" big cat \t x ") << QByteArray(" big cat ")
                                 << QByteArray(" x ");
    QTest::newRow("bar inside the meaning field")
        << QByteArray("w\tx|y") << QByteArray("w") << QByteArray("x|y");
}

void TestRecordLine::readsGoodLines()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, data);
    QByteArray readKey("left over");
    QByteArray readData("left over");
    QCOMPARE(parseRecordLine(line, readKey, readData), QString());
    QCOMPARE(readKey, key);
    QCOMPARE(readData, data);
}

void TestRecordLine::refusesBadLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no tab") << QByteArray("justaword") << "no tab after the word";
    QTest::newRow("four fields") << QByteArray("a\tb\tc\td") << "4 tab-separated fields";
    QTest::newRow("empty word") << QByteArray("\tmeaning") << "the word is empty";
    QTest::newRow("unknown escape") << QByteArray("a\\q\tx") << "in the word: unknown escape \\q";
    QTest::newRow("backslash at the end")
        << QByteArray("a\tx\\") << "in the meaning: a backslash ends the field";
    QTest::newRow("backslash before the tab")
        << QByteArray("a\\\tx") << "in the word: a backslash ends the field";
    QTest::newRow("not utf-8") << QByteArray("a\t\xff") << "the meaning is not valid UTF-8";
    QTest::newRow("cut utf-8") << QByteArray("\xc3\tx") << "the word is not valid UTF-8";
    QTest::newRow("beyond latin-1") << QByteArray("a\tb\t\xe0\xa4\x85")
                                    << "the synonyms holds characters that a dictionary cannot";
    QTest::newRow("overlong latin-1")
        << QByteArray("a\t\xc1\x81") << "the meaning is not valid UTF-8";
}

void TestRecordLine::refusesBadLines()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, reason);
    QByteArray key;
    QByteArray data;
    const QString why = parseRecordLine(line, key, data);
    QVERIFY2(why.contains(reason), qPrintable(why));
}

void TestRecordLine::storedBytesComeBackExactly_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("fields");
    QTest::newRow("meaning and synonyms") << QByteArray("water") << QByteArray("jalaM|udakaM") << 3;
    QTest::newRow("meaning only") << QByteArray("water") << QByteArray("jalaM") << 2;
    QTest::newRow("bar with nothing after it") << QByteArray("w") << QByteArray("x|") << 2;
    QTest::newRow("leading bar") << QByteArray("w") << QByteArray("|S") << 2;
    QTest::newRow("only bars") << QByteArray("w") << QByteArray("||") << 2;
    QTest::newRow("later bars") << QByteArray("w") << QByteArray("a|b|c") << 3;
    QTest::newRow("double bar") << QByteArray("w") << QByteArray("a||") << 3;
    QTest::newRow("empty data") << QByteArray("w") << QByteArray() << 2;
    QTest::newRow("line breaks, tab, backslash")
        << QByteArray("w") << QByteArray("one\ntwo\r\nthree\tfour\\five") << 2;
    QTest::newRow("NUL inside") << QByteArray("w") << QByteArray("a|b\0c", 5) << 2;
    QTest::newRow("latin-1") << QByteArray("caf\xe9\xff") << QByteArray("\xe0|\xfe") << 3;
    QTest::newRow("escaped word") << QByteArray("a\\b\tc") << QByteArray("x") << 2;
}

void TestRecordLine::storedBytesComeBackExactly()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, data);
    QFETCH(int, fields);
    const QByteArray line = formatRecordLine(key, data);
    QVERIFY(line.endsWith('\n'));
    QCOMPARE(line.count('\n'), 1);
    QCOMPARE(line.count('\t') + 1, fields);
    QByteArray readKey;
    QByteArray readData;
    QCOMPARE(parseRecordLine(line.chopped(1), readKey, readData), QString());
    QCOMPARE(readKey, key);
    QCOMPARE(readData, data);
}

// The import reads words byte by byte; its lower-casing must be the one saving a record uses.
void TestRecordLine::wordsAreLowerCasedAsTheStoreDoes()
{
    for (int byte = 1; byte < 256; ++byte) {
        const QString word{QChar(ushort(byte))};
        const QByteArray line = formatRecordLine(word.toLatin1(), "x").chopped(1);
        QByteArray key;
        QByteArray data;
        QCOMPARE(parseRecordLine(line, key, data), QString());
        QVERIFY2(key == encodeKey(word), qPrintable(QString::number(byte)));
    }
}

void TestRecordLine::checkFindsRepeatedWords()
{
    const QByteArray input = "Water\tjala\n"
                             "fire\tagni\n"
                             "bad line\n"
                             "water\tudaka\n"
                             "WATER\ttoya\n"
                             "fire \tnot the same word\n";
    const ImportCheck check = checkImport(input);
    QCOMPARE(check.problems.size(), 3);
    QCOMPARE(check.problems.at(0).number, 3);
    QCOMPARE(check.problems.at(1).number, 4);
    QCOMPARE(check.problems.at(1).reason, QStringLiteral("the word \"water\" is also on line 1"));
    QCOMPARE(check.problems.at(2).number, 5);
    QCOMPARE(check.problems.at(2).reason, QStringLiteral("the word \"water\" is also on line 1"));
}

QTEST_GUILESS_MAIN(TestRecordLine)
#include "tst_recordline.moc"
