// SPDX-License-Identifier: GPL-3.0-or-later
#include "dbtools.h"
#include "record.h"
#include "recordline.h"

#include <QTest>

using namespace vantro;
using vantro::test::KeyData;

class TestRecordLine : public QObject
{
    Q_OBJECT

private slots:
    void readsLines_data();
    void readsLines();
    void wordsAreLowerCasedAsTheStoreDoes();
};

void TestRecordLine::readsLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("reason");
    const auto good = [](const char *name, const QByteArray &line, const QByteArray &key,
                         const QByteArray &data) {
        QTest::newRow(name) << line << key << data << QString();
    };
    good("word and meaning", "water\tjalaM", "water", "jalaM");
    good("with synonyms, word lower-cased", "Water\tjalaM\tudakaM, toyaM", "water",
         "jalaM|udakaM, toyaM");
    good("empty meaning, synonyms", "a\t\tS", "a", "|S");
    good("empty meaning", "b\t", "b", "");
    good("empty synonyms field adds no bar", "b\tx\t", "b", "x");
    good("escapes", "a\\tb\tline\\none\\\\two\\r\\0", "a\tb", QByteArray("line\none\\two\r\0", 14));
    good("latin-1 in utf-8",
         "\xc3\x89"
         "cole\tsh\xc3\xa2l\xc3\xa2",
         "\xe9"
         "cole",
         "sh\xe2l\xe2");
    good("blanks kept", " big cat \t x ", " big cat ", " x ");
    // Data export writes whole: a leading "|", one at the very end.
    good("bar leading the meaning field", "w\t|x|y", "w", "|x|y");
    good("bar ending the meaning field", "w\tx|", "w", "x|");
    const auto bad = [](const char *name, const QByteArray &line, const char *reason) {
        QTest::newRow(name) << line << QByteArray() << QByteArray() << QString(reason);
    };
    bad("no tab", "justaword", "no tab after the word");
    bad("four fields", "a\tb\tc\td", "4 tab-separated fields");
    bad("empty word", "\tmeaning", "the word is empty");
    bad("unknown escape", "a\\q\tx", "in the word: unknown escape \\q");
    bad("backslash at the end", "a\tx\\", "in the meaning: a backslash ends the field");
    bad("backslash before the tab", "a\\\tx", "in the word: a backslash ends the field");
    bad("not utf-8", "a\t\xff", "the meaning is not valid UTF-8");
    bad("cut utf-8", "\xc3\tx", "the word is not valid UTF-8");
    bad("beyond latin-1", "a\tb\t\xe0\xa4\x85",
        "the synonyms holds characters that a dictionary cannot");
    bad("overlong latin-1", "a\t\xc1\x81", "the meaning is not valid UTF-8");
    bad("bar inside the meaning field", "w\tx|y", "the meaning holds \"|\"");
    bad("bar in the meaning, synonyms after", "w\tx|\ty", "the meaning holds \"|\"");
    bad("escaped line, bar in the meaning", "w\\t\tx|y", "the meaning holds \"|\"");
}

// A good line gives its key and data; a bad one only its reason.
void TestRecordLine::readsLines()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, data);
    QFETCH(QString, reason);
    QByteArray readKey("left over"), readData = readKey;
    QString why;
    const bool read = parseRecordLine(line, readKey, readData, &why);
    QVERIFY2(reason.isEmpty() ? read && why.isEmpty() : !read && why.contains(reason),
             qPrintable(why));
    if (reason.isEmpty())
        QCOMPARE(KeyData(readKey, readData), KeyData(key, data));
}

// The import reads words byte by byte; its lower-casing must be the one saving a record uses.
void TestRecordLine::wordsAreLowerCasedAsTheStoreDoes()
{
    for (int byte = 1; byte < 256; ++byte) {
        const QString word{QChar(ushort(byte))};
        QByteArray key, data;
        QVERIFY(
            parseRecordLine(formatRecordLine(word.toLatin1(), "x").chopped(1), key, data, nullptr));
        QVERIFY2(key == encodeKey(word), qPrintable(QString::number(byte)));
    }
}

QTEST_GUILESS_MAIN(TestRecordLine)
#include "tst_recordline.moc"
