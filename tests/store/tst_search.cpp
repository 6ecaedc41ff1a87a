#include "dbtools.h"
#include "dictdb.h"
#include "search.h"

#include <QTemporaryDir>
#include <QTest>

using namespace vantro;
using namespace vantro::test;

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void searchShortensDownToThreeCharacters_data();
    void searchShortensDownToThreeCharacters();
    void wordAtPosition_data();
    void wordAtPosition();
};

void TestSearch::searchShortensDownToThreeCharacters_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("found"); // empty: not found
    QTest::addColumn<QString>("next");  // where Next lands afterwards; empty: nowhere
    const auto row = [](const char *name, const QStringList &keys, const char *typed,
                        const char *found, const char *next) {
        QTest::newRow(name) << keys << QString(typed) << QString(found) << QString(next);
    };
    row("exact key, any case", {"walk", "wall"}, "WALK", "walk", "wall");
    row("walking falls back to walk", {"walk", "wall"}, "walking", "walk", "wall");
    // A failed search leaves the cursor where its last positioning put it (dog).
    row("cow is not shortened", {"cat", "dog", "emu"}, "cow", "", "emu");
    row("two letters tried whole", {"cat", "dog"}, "cx", "", "");
    row("prefix of a longer key", {"water"}, "wat", "water", "");
    row("never below three", {"wa", "wall"}, "wxyz", "", "wa");
    row("empty text finds the first key", {"b", "a"}, "", "a", "b");
    row("empty dictionary", {}, "", "", "");
    row("past the last key", {"apple"}, "zebra", "", "apple");
    row("past the last key, shortened", {"fire", "water"}, "waterfall", "water", "");
    row("key containing the text further on", {"catalog"}, "at", "catalog", "");
}

void TestSearch::searchShortensDownToThreeCharacters()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, typed);
    QFETCH(QString, found);
    QFETCH(QString, next);
    QTemporaryDir dir;
    cDictDB db(dir.filePath(QStringLiteral("morvak.db")));
    QCOMPARE(db.openDB(), 0);
    for (const QString &key : keys)
        QCOMPARE(putRecord(db, key, "meaning of " + key), 0);
    QCOMPARE(searchAtOrAfter(db, typed), !found.isEmpty());
    if (!found.isEmpty())
        QCOMPARE(db.getWord() + '=' + db.getITRANS(), found + "=meaning of " + found);
    QCOMPARE(db.getCursorRec(cDictDB::Next), next.isEmpty() ? 1 : 0);
    if (!next.isEmpty())
        QCOMPARE(db.getWord(), next);
    QCOMPARE(db.closeDB(), 0);
}

void TestSearch::wordAtPosition_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("word");
    QTest::newRow("inside a word") << "big, large" << 7 << "large";
    QTest::newRow("first letter") << "big, large" << 5 << "large";
    QTest::newRow("before the comma") << "big, large" << 3 << "";
    QTest::newRow("at the end") << "big, large" << 10 << "";
    QTest::newRow("past the end") << "big" << 12 << "";
    QTest::newRow("negative") << "big" << -1 << "";
    QTest::newRow("apostrophe ends a word") << "don't" << 0 << "don";
    QTest::newRow("hyphen ends a word") << "well-known" << 6 << "known";
    QTest::newRow("digits are not letters") << "ab12cd" << 1 << "ab";
    QTest::newRow("latin-1 letters") << QString::fromUtf8("café au") << 3 << "café";
    QTest::newRow("itrans marks are not letters") << "R^itaM" << 3 << "itaM";
}

void TestSearch::wordAtPosition()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(QString, word);
    QCOMPARE(wordAt(text, position), word);
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
