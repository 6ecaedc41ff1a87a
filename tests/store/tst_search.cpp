#include "dictdb.h"
#include "search.h"

#include <QTemporaryDir>
#include <QTest>

using namespace vantro;

namespace {

struct Dictionary
{
    QTemporaryDir dir;
    cDictDB db{dir.filePath(QStringLiteral("morvak.db"))};

    explicit Dictionary(const QStringList &words)
    {
        QVERIFY(db.openDB() == 0);
        for (const QString &word : words) {
            db.setWord(word);
            db.setITRANS(QStringLiteral("meaning of ") + word);
            db.setSynonym({});
            QVERIFY(db.addRecord() == 0);
        }
    }
    ~Dictionary() { db.closeDB(); }
};

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void searchShortensDownToThreeCharacters_data();
    void searchShortensDownToThreeCharacters();
    void failedSearchLeavesCursorOnLastPositioning();
    void wordAtPosition_data();
    void wordAtPosition();
    void lookUpKeepsKeysInsideTheWord_data();
    void lookUpKeepsKeysInsideTheWord();
    void lookUpStopsAtFirstMiss();
};

void TestSearch::searchShortensDownToThreeCharacters_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("found"); // empty: not found
    QTest::newRow("exact key, any case") << QStringList{"walk", "wall"} << "WALK"
                                         << "walk";
    QTest::newRow("walking falls back to walk") << QStringList{"walk", "wall"} << "walking"
                                                << "walk";
    QTest::newRow("cow is not shortened") << QStringList{"cat", "dog"} << "cow"
                                          << "";
    QTest::newRow("two letters tried whole") << QStringList{"cat", "dog"} << "cx"
                                             << "";
    QTest::newRow("prefix of a longer key") << QStringList{"water"} << "wat"
                                            << "water";
    QTest::newRow("never below three") << QStringList{"wa", "wall"} << "wxyz"
                                       << "";
    QTest::newRow("empty text finds the first key") << QStringList{"b", "a"} << ""
                                                    << "a";
    QTest::newRow("empty dictionary") << QStringList{} << ""
                                      << "";
    QTest::newRow("past the last key") << QStringList{"apple"} << "zebra"
                                       << "";
    QTest::newRow("past the last key, shortened") << QStringList{"fire", "water"} << "waterfall"
                                                  << "water";
    QTest::newRow("key containing the text further on") << QStringList{"catalog"} << "at"
                                                        << "catalog";
}

void TestSearch::searchShortensDownToThreeCharacters()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, typed);
    QFETCH(QString, found);
    Dictionary d(keys);
    QCOMPARE(searchAtOrAfter(d.db, typed), !found.isEmpty());
    if (!found.isEmpty()) {
        QCOMPARE(d.db.getWord(), found);
        QCOMPARE(d.db.getITRANS(), "meaning of " + found);
    }
}

void TestSearch::failedSearchLeavesCursorOnLastPositioning()
{
    Dictionary d({"cat", "dog", "emu"});
    QVERIFY(!searchAtOrAfter(d.db, "cow"));
    // The failed search positioned on dog; Next continues from there.
    QCOMPARE(d.db.getCursorRec(cDictDB::Next), 0);
    QCOMPARE(d.db.getWord(), "emu");
    QVERIFY(searchAtOrAfter(d.db, "Cat"));
    QCOMPARE(d.db.getCursorRec(cDictDB::Next), 0);
    QCOMPARE(d.db.getWord(), "dog");
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
    QTest::newRow("empty text") << "" << 0 << "";
}

void TestSearch::wordAtPosition()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(QString, word);
    QCOMPARE(wordAt(text, position), word);
}

void TestSearch::lookUpKeepsKeysInsideTheWord_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("candidates");
    QTest::newRow("books settles on book") << QStringList{"book", "boot"} << "books"
                                           << "book" << QStringList{"books"};
    QTest::newRow("bookish passes over booking")
        << QStringList{"book", "booking", "boot"} << "bookish"
        << "book" << QStringList{"bookish", "bookis", "booki", "book"};
    QTest::newRow("word is lower-cased") << QStringList{"running"} << "Running"
                                         << "running" << QStringList{"running"};
    QTest::newRow("phrase looked up whole") << QStringList{"the old man"} << "The Old Man"
                                            << "the old man" << QStringList{"the old man"};
}

void TestSearch::lookUpKeepsKeysInsideTheWord()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, word);
    QFETCH(QString, shown);
    QFETCH(QStringList, candidates);
    Dictionary d(keys);
    QStringList tried;
    const QString result = lookUpWord(word, [&](const QString &candidate) {
        tried << candidate;
        return searchAtOrAfter(d.db, candidate) ? d.db.getWord() : candidate;
    });
    QCOMPARE(result, shown);
    QCOMPARE(tried, candidates);
}

void TestSearch::lookUpStopsAtFirstMiss()
{
    QStringList tried;
    // A key with capitals never lies inside the lower-cased word, so shortening goes on.
    QString result = lookUpWord("Walks", [&](const QString &candidate) {
        tried << candidate;
        return candidate.size() > 3 ? QStringLiteral("WALK") : candidate;
    });
    QCOMPARE(tried, QStringList({"walks", "walk", "wal"}));
    QCOMPARE(result, "wal");
    tried.clear();
    QVERIFY(lookUpWord("", [&](const QString &c) { return tried << c, c; }).isEmpty());
    QVERIFY(tried.isEmpty());
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
