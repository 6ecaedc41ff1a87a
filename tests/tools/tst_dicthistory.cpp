#include "dictdb.h"
#include "journal.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vantro;

namespace {

struct Run
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run history(const QString &db)
{
    QProcess process;
    process.start(QStringLiteral(VANTRO_DICT_EXECUTABLE),
                  {QStringLiteral("--db"), db, QStringLiteral("history")});
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

int save(cDictDB &db, const QString &word, const QString &meaning, const QString &synonyms = {})
{
    db.setWord(word);
    db.setITRANS(meaning);
    db.setSynonym(synonyms);
    return db.saveRecord();
}

} // namespace

class TestDictHistory : public QObject
{
    Q_OBJECT

private slots:
    void listsTheChangesSinceTheSnapshot();
    void tornLastEntryIsNotShown();
    void withoutJournalItFails();
};

void TestDictHistory::listsTheChangesSinceTheSnapshot()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    cDictDB db(path);
    QCOMPARE(db.openDB(), 0);
    QCOMPARE(save(db, QStringLiteral("Water"), QStringLiteral("jalaM"), QStringLiteral("toyaM")),
             0);
    QCOMPARE(save(db, QStringLiteral("fire"), QStringLiteral("agniH\tvahniH")), 0);
    db.setWord(QStringLiteral("fire"));
    QCOMPARE(db.deleteRecord(), 0);
    QCOMPARE(db.closeDB(), 0);

    const Run run = history(path);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QByteArray());
    const QList<QByteArray> lines = run.out.split('\n');
    QCOMPARE(lines.size(), 5);
    QVERIFY(lines[0].endsWith("\tsave\twater\tjalaM\ttoyaM"));
    QVERIFY(lines[1].endsWith("\tsave\tfire\tagniH\\tvahniH"));
    QVERIFY(lines[2].endsWith("\tdelete\tfire"));
    QVERIFY(lines[3].startsWith("3 change(s) since the snapshot"));

    // After a snapshot nothing is left to list.
    QCOMPARE(db.openDB(), 0);
    QCOMPARE(db.takeSnapshot(), QString());
    QCOMPARE(db.closeDB(), 0);
    QVERIFY(history(path).out.startsWith("0 change(s)"));
}

void TestDictHistory::tornLastEntryIsNotShown()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    cDictDB db(path);
    QCOMPARE(db.openDB(), 0);
    QCOMPARE(save(db, QStringLiteral("one"), QStringLiteral("ekaH")), 0);
    QCOMPARE(db.closeDB(), 0);
    QFile journal(journalPath(path));
    QVERIFY(journal.open(QIODevice::Append));
    journal.write(encodeJournalEntry({JournalEntry::Op::Save, 0, "two", "dve"}).chopped(1));
    journal.close();
    const Run run = history(path);
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.contains("\tone\tekaH"));
    QVERIFY(!run.out.contains("two"));
}

void TestDictHistory::withoutJournalItFails()
{
    QTemporaryDir dir;
    const Run run = history(dir.filePath(QStringLiteral("morvak.db")));
    QCOMPARE(run.status, 1);
    QVERIFY(run.err.contains("no journal"));
}

QTEST_GUILESS_MAIN(TestDictHistory)
#include "tst_dicthistory.moc"
