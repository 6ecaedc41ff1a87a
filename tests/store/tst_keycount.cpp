#include "dbtools.h"
#include "dictdb.h"
#include "journal.h"

#include <QTemporaryDir>
#include <QTest>

using namespace vantro;
using namespace vantro::test;

namespace {

// One change to the dictionary, written as "add word", "save word", "del word" or
// "bulk word" (putStoredRecord, overwriting) / "keep word" (putStoredRecord, not overwriting).
struct Step
{
    QString operation;
    QString word;
    int result;
};

int apply(cDictDB &db, const Step &step)
{
    db.setWord(step.word);
    db.setITRANS(QStringLiteral("artha"));
    db.setSynonym(QString());
    if (step.operation == QLatin1String("add"))
        return db.addRecord();
    if (step.operation == QLatin1String("save"))
        return db.saveRecord();
    if (step.operation == QLatin1String("del"))
        return db.deleteRecord();
    const auto outcome = db.putStoredRecord(step.word.toLatin1(), QByteArrayLiteral("artha"),
                                            step.operation == QLatin1String("bulk"));
    return outcome == cDictDB::BulkPut::Failed ? 1 : 0;
}

qsizetype recordsInFile(const QString &path)
{
    bool ok = false;
    const qsizetype records = DbUtilities::dump(path, &ok).size();
    return ok ? records : -1;
}

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

class TestKeyCount : public QObject
{
    Q_OBJECT

private slots:
    void countStaysExact_data();
    void countStaysExact();
    void firstCountAfterChangesIsExact();
    void deferredChangesAreCounted();
    void reopeningTrustsOnlyAnUnchangedFile_data();
    void reopeningTrustsOnlyAnUnchangedFile();
};

void TestKeyCount::countStaysExact_data()
{
    QTest::addColumn<QList<Step>>("steps");
    QTest::newRow("adds") << QList<Step>{{"add", "apple", 0}, {"add", "berry", 0}};
    QTest::newRow("failed add of a stored word")
        << QList<Step>{{"add", "apple", 0}, {"add", "Apple", 1}, {"add", "apple", 1}};
    QTest::newRow("save adds a new word")
        << QList<Step>{{"save", "apple", 0}, {"save", "cherry", 0}};
    QTest::newRow("save overwrites a stored word")
        << QList<Step>{{"add", "apple", 0}, {"save", "APPLE", 0}, {"save", "apple", 0}};
    QTest::newRow("empty word is not written")
        << QList<Step>{{"add", "", 1}, {"save", "", 1}, {"add", "apple", 0}};
    QTest::newRow("deletes") << QList<Step>{
        {"add", "apple", 0}, {"add", "berry", 0}, {"del", "apple", 0}, {"del", "berry", 0}};
    QTest::newRow("failed deletes")
        << QList<Step>{{"add", "apple", 0}, {"del", "Apple", 1}, {"del", "plum", 1}};
    QTest::newRow("bulk writes") << QList<Step>{
        {"bulk", "apple", 0}, {"bulk", "apple", 0}, {"keep", "apple", 0}, {"keep", "berry", 0}};
    QTest::newRow("mixed") << QList<Step>{{"save", "a", 0}, {"add", "b", 0}, {"del", "a", 0},
                                          {"save", "b", 0}, {"add", "a", 0}, {"del", "c", 1},
                                          {"bulk", "c", 0}, {"del", "b", 0}, {"add", "a", 1}};
}

// After every step the kept count equals what an independent reader finds in the file.
void TestKeyCount::countStaysExact()
{
    QFETCH(QList<Step>, steps);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    cDictDB db(path);
    QCOMPARE(db.openDB(), 0);
    QCOMPARE(db.getStat(), 0);
    for (const Step &step : steps) {
        const QString what = step.operation + QLatin1Char(' ') + step.word;
        QVERIFY2(apply(db, step) == step.result, qPrintable(what));
        QVERIFY2(db.getStat() == recordsInFile(path), qPrintable(what));
    }
    const int kept = db.getStat();
    QCOMPARE(db.closeDB(), 0);
    QCOMPARE(recordsInFile(path), kept);
}

void TestKeyCount::firstCountAfterChangesIsExact()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    QVERIFY(DbUtilities::load(path, {{"one", "eka"}, {"two", "dvi"}}));
    cDictDB db(path);
    QCOMPARE(db.openDB(), 0);
    QCOMPARE(apply(db, {"save", "three", 0}), 0);
    QCOMPARE(apply(db, {"del", "one", 0}), 0);
    QCOMPARE(db.getStat(), 2);
    QCOMPARE(apply(db, {"save", "four", 0}), 0);
    QCOMPARE(db.getStat(), 3);
    db.closeDB();
    QCOMPARE(recordsInFile(path), 3);
}

void TestKeyCount::deferredChangesAreCounted()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    cDictDB db(path);
    QCOMPARE(db.openDB(), 0);
    QCOMPARE(db.getStat(), 0);
    db.setDeferredSync(true);
    for (int i = 0; i < 300; ++i)
        QCOMPARE(apply(db, {"save", QStringLiteral("w%1").arg(i % 200), 0}), 0);
    QCOMPARE(apply(db, {"del", "w7", 0}), 0);
    QCOMPARE(db.flush(), 0);
    QCOMPARE(db.getStat(), 199);
    QCOMPARE(recordsInFile(path), 199);
    db.closeDB();
}

void TestKeyCount::reopeningTrustsOnlyAnUnchangedFile_data()
{
    QTest::addColumn<QString>("between");
    QTest::addColumn<int>("keys");
    QTest::newRow("nothing") << "nothing" << 1;
    QTest::newRow("file replaced") << "replaced" << 2;
    QTest::newRow("records loaded into the same file") << "loaded" << 3;
}

// The count a clean close records is trusted at the next open only while the file is as that
// close left it: another file or another program's writes make the open count again.
void TestKeyCount::reopeningTrustsOnlyAnUnchangedFile()
{
    QFETCH(QString, between);
    QFETCH(int, keys);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    cDictDB db(path);
    QCOMPARE(db.openDB(), 0);
    QCOMPARE(apply(db, {"add", "one", 0}), 0);
    QCOMPARE(db.getStat(), 1);
    QCOMPARE(db.closeDB(), 0);
    QCOMPARE(Journal::readHeader(QFile::encodeName(journalPath(path))).keyCount, 1);
    if (between == QLatin1String("replaced"))
        QVERIFY(QFile::remove(path));
    if (between != QLatin1String("nothing"))
        QVERIFY(DbUtilities::load(path, {{"a", "1"}, {"b", "2"}}));
    QCOMPARE(db.openDB(), 0);
    QCOMPARE(db.getStat(), keys);
    db.closeDB();
}

QTEST_GUILESS_MAIN(TestKeyCount)
#include "tst_keycount.moc"
