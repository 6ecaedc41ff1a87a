#include "dbtools.h"
#include "dictdb.h"
#include "journal.h"

#include <QTemporaryDir>
#include <QTest>

using namespace vantro;
using namespace vantro::test;

namespace {

// One change to the dictionary, written as "add word", "save word", "del word" or
// "bulk word" (putStoredRecord, overwriting) / "keep word" (putStoredRecord, not overwriting);
// or a clean close and an open, with the file "kept" as the close left it, "replaced" by another
// or "loaded" with two more records by another program in between.
struct Step
{
    QString operation;
    QString word;
    int result;
};

qsizetype recordsInFile(const QString &path)
{
    bool ok = false;
    const qsizetype records = DbUtilities::dump(path, &ok).size();
    return ok ? records : -1;
}

int apply(cDictDB &db, const Step &step, const QString &path)
{
    if (step.operation == QLatin1String("reopen")) {
        // The count at a clean close is kept in the journal's header.
        if (db.closeDB() != 0 ||
            Journal::readHeader(QFile::encodeName(journalPath(path))).keyCount !=
                recordsInFile(path))
            return 1;
        if (step.word == QLatin1String("replaced"))
            QFile::remove(path);
        if (step.word != QLatin1String("kept"))
            DbUtilities::load(path, {{"x", "1"}, {"y", "2"}});
        return db.openDB();
    }
    db.setWord(step.word);
    if (step.operation == QLatin1String("del"))
        return db.deleteRecord();
    if (step.operation == QLatin1String("add") || step.operation == QLatin1String("save"))
        return putRecord(db, step.word, QStringLiteral("artha"), {}, step.operation == "add");
    const auto outcome = db.putStoredRecord(step.word.toLatin1(), QByteArrayLiteral("artha"),
                                            step.operation == QLatin1String("bulk"));
    return outcome == cDictDB::BulkPut::Failed ? 1 : 0;
}

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

class TestKeyCount : public QObject
{
    Q_OBJECT

private slots:
    void countStaysExact_data();
    void countStaysExact();
};

void TestKeyCount::countStaysExact_data()
{
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<bool>("seeded");    // the file holds "one" and "two" before the open
    QTest::addColumn<int>("firstCount"); // the step after which the count is first asked for
    QTest::addColumn<bool>("deferred");  // changes are flushed only before each count
    const auto row = [](const char *name, const QList<Step> &steps, bool seeded = false,
                        int firstCount = 0, bool deferred = false) {
        QTest::newRow(name) << steps << seeded << firstCount << deferred;
    };
    row("adds and saves", {{"add", "apple", 0},
                           {"save", "berry", 0},
                           {"save", "APPLE", 0},
                           {"save", "apple", 0},
                           {"add", "cherry", 0}});
    row("refused adds and deletes", {{"add", "", 1},
                                     {"save", "", 1},
                                     {"add", "apple", 0},
                                     {"add", "Apple", 1},
                                     {"add", "apple", 1},
                                     {"del", "Apple", 1},
                                     {"del", "plum", 1},
                                     {"del", "apple", 0},
                                     {"del", "apple", 1}});
    row("bulk writes",
        {{"bulk", "apple", 0}, {"bulk", "apple", 0}, {"keep", "apple", 0}, {"keep", "berry", 0}});
    row("mixed", {{"save", "a", 0},
                  {"add", "b", 0},
                  {"del", "a", 0},
                  {"save", "b", 0},
                  {"add", "a", 0},
                  {"del", "c", 1},
                  {"bulk", "c", 0},
                  {"del", "b", 0},
                  {"add", "a", 1}});
    // The file's count is not known at the open: the first count comes after changes.
    row("first count after changes", {{"save", "three", 0}, {"del", "one", 0}, {"save", "four", 0}},
        true, 1);
    QList<Step> deferred;
    for (int i = 0; i < 300; ++i)
        deferred.append({"save", QStringLiteral("w%1").arg(i % 200), 0});
    deferred.append({"del", "w7", 0});
    row("deferred changes", deferred, false, 300, true);
    // The count a clean close records is trusted at the next open only while the file is as
    // that close left it: another file or another program's writes make the open count again.
    row("reopened", {{"add", "one", 0}, {"reopen", "kept", 0}, {"add", "two", 0}});
    row("file replaced between", {{"add", "one", 0}, {"reopen", "replaced", 0}, {"del", "x", 0}});
    row("records loaded between", {{"add", "one", 0}, {"reopen", "loaded", 0}, {"add", "z", 0}});
}

// After every step the kept count equals what an independent reader finds in the file.
void TestKeyCount::countStaysExact()
{
    QFETCH(QList<Step>, steps);
    QFETCH(bool, seeded);
    QFETCH(int, firstCount);
    QFETCH(bool, deferred);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    QVERIFY(!seeded || DbUtilities::load(path, {{"one", "eka"}, {"two", "dvi"}}));
    cDictDB db(path);
    QCOMPARE(db.openDB(), 0);
    db.setDeferredSync(deferred);
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const QString what = steps[i].operation + QLatin1Char(' ') + steps[i].word;
        QVERIFY2(apply(db, steps[i], path) == steps[i].result, qPrintable(what));
        QVERIFY(!deferred || i < firstCount || db.flush() == 0);
        QVERIFY2(i < firstCount || db.getStat() == recordsInFile(path), qPrintable(what));
    }
    const int kept = db.getStat();
    QCOMPARE(db.closeDB(), 0);
    QCOMPARE(recordsInFile(path), kept);
}

QTEST_GUILESS_MAIN(TestKeyCount)
#include "tst_keycount.moc"
