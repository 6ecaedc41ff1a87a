#include "dbtools.h"
#include "dictdb.h"
#include "journal.h"

#include <QTemporaryDir>
#include <QTest>

using namespace vantro;
using namespace vantro::test;

namespace {

qsizetype recordsInFile(const QString &path)
{
    bool ok = false;
    const qsizetype records = DbUtilities::dump(path, &ok).size();
    return ok ? records : -1;
}

// One change, "op word": "add", "save", "del", "bulk" (putStoredRecord, overwriting) or "keep"
// (putStoredRecord, not overwriting); or "reopen" after a clean close, with the file "kept" as
// the close left it, "replaced" by another or "loaded" with two more records in between.
int apply(cDictDB &db, const QString &op, const QString &word, const QString &path)
{
    if (op == QLatin1String("reopen")) {
        // The count at a clean close is kept in the journal's header.
        if (db.closeDB() != 0 ||
            Journal::readHeader(QFile::encodeName(journalPath(path))).keyCount !=
                recordsInFile(path))
            return 1;
        if (word == QLatin1String("replaced"))
            QFile::remove(path);
        if (word != QLatin1String("kept"))
            DbUtilities::load(path, {{"x", "1"}, {"y", "2"}});
        return db.openDB();
    }
    db.setWord(word);
    if (op == QLatin1String("del"))
        return db.deleteRecord();
    if (op == QLatin1String("add") || op == QLatin1String("save"))
        return putRecord(db, word, QStringLiteral("artha"), {}, op == QLatin1String("add"));
    const auto outcome = db.putStoredRecord(word.toLatin1(), QByteArrayLiteral("artha"),
                                            op == QLatin1String("bulk"));
    return outcome == cDictDB::BulkPut::Failed ? 1 : 0;
}

} // namespace

class TestKeyCount : public QObject
{
    Q_OBJECT

private slots:
    void countStaysExact_data()
    {
        QTest::addColumn<QStringList>("steps"); // a leading '!': the step is refused
        QTest::addColumn<bool>("seeded");       // the file holds "one" and "two" before the open
        QTest::addColumn<int>("firstCount");    // the step after which the count is first asked for
        QTest::addColumn<bool>("deferred");     // changes are flushed only before each count
        const auto row = [](const char *name, const QString &steps, bool seeded = false,
                            int firstCount = 0, bool deferred = false) {
            QTest::newRow(name) << steps.split(QStringLiteral(", ")) << seeded << firstCount
                                << deferred;
        };
        row("adds and saves", "add apple, save berry, save APPLE, save apple, add cherry");
        row("refused adds and deletes", "!add , !save , add apple, !add Apple, !add apple, "
                                        "!del Apple, !del plum, del apple, !del apple");
        row("bulk writes", "bulk apple, bulk apple, keep apple, keep berry");
        row("mixed", "save a, add b, del a, save b, add a, !del c, bulk c, del b, !add a");
        // The file's count is not known at the open: the first count comes after changes.
        row("first count after changes", "save three, del one, save four", true, 1);
        QStringList deferred;
        for (int i = 0; i < 300; ++i)
            deferred.append(QStringLiteral("save w%1").arg(i % 200));
        row("deferred changes", deferred.join(QStringLiteral(", ")) + ", del w7", false, 300, true);
        // The count a clean close records is trusted at the next open only while the file is as
        // that close left it: another file or another program's writes make the open count again.
        row("reopened", "add one, reopen kept, add two");
        row("file replaced between", "add one, reopen replaced, del x");
        row("records loaded between", "add one, reopen loaded, add z");
    }

    // After every step the kept count equals what an independent reader finds in the file.
    void countStaysExact()
    {
        QFETCH(QStringList, steps);
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
            const QString step = steps[i].mid(steps[i].startsWith(QLatin1Char('!')) ? 1 : 0);
            const int result = apply(db, step.section(QLatin1Char(' '), 0, 0),
                                     step.section(QLatin1Char(' '), 1), path);
            QVERIFY2(result == int(step.size() < steps[i].size()), qPrintable(steps[i]));
            QVERIFY(!deferred || i < firstCount || db.flush() == 0);
            QVERIFY2(i < firstCount || db.getStat() == recordsInFile(path), qPrintable(steps[i]));
        }
        const int kept = db.getStat();
        QCOMPARE(db.closeDB(), 0);
        QCOMPARE(recordsInFile(path), kept);
    }
};

QTEST_GUILESS_MAIN(TestKeyCount)
#include "tst_keycount.moc"
