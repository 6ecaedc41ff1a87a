#include "capture.h"
#include "dictdb.h"
#include "journal.h"

#include <QTemporaryDir>
#include <QTest>

using namespace vantro;
using vantro::test::runProgram;

class TestDictHistory : public QObject
{
    Q_OBJECT

private slots:
    void listsTheChangesSinceTheSnapshot();
    void withoutJournalItFails();
};

void TestDictHistory::listsTheChangesSinceTheSnapshot()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    const QStringList history = {QStringLiteral("--db"), path, QStringLiteral("history")};
    cDictDB db(path);
    const auto save = [&](const char *word, const char *meaning, const char *synonyms) {
        db.setWord(QString::fromLatin1(word));
        db.setITRANS(QString::fromLatin1(meaning));
        db.setSynonym(QString::fromLatin1(synonyms));
        return db.saveRecord();
    };
    QCOMPARE(db.openDB(), 0);
    QCOMPARE(save("Water", "jalaM", "toyaM"), 0);
    QCOMPARE(save("fire", "agniH\tvahniH", ""), 0);
    QCOMPARE(db.deleteRecord(), 0);
    QCOMPARE(db.closeDB(), 0);

    const auto run = runProgram(VANTRO_DICT_EXECUTABLE, history);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QByteArray());
    const QList<QByteArray> lines = run.out.split('\n');
    QCOMPARE(lines.size(), 5);
    QVERIFY(lines[0].endsWith("\tsave\twater\tjalaM\ttoyaM"));
    QVERIFY(lines[1].endsWith("\tsave\tfire\tagniH\\tvahniH"));
    QVERIFY(lines[2].endsWith("\tdelete\tfire"));
    QVERIFY(lines[3].startsWith("3 change(s) since the snapshot"));

    // After a snapshot only the new change is listed; a torn last entry is not shown.
    QCOMPARE(db.openDB(), 0);
    QCOMPARE(db.takeSnapshot(), QString());
    QCOMPARE(save("one", "ekaH", ""), 0);
    QCOMPARE(db.closeDB(), 0);
    QFile journal(journalPath(path));
    QVERIFY(journal.open(QIODevice::Append));
    journal.write(encodeJournalEntry({JournalEntry::Op::Save, 0, "two", "dve"}).chopped(1));
    journal.close();
    const QByteArray out = runProgram(VANTRO_DICT_EXECUTABLE, history).out;
    QVERIFY(out.contains("\tone\tekaH\n1 change(s)"));
    QVERIFY(!out.contains("two"));
}

void TestDictHistory::withoutJournalItFails()
{
    QTemporaryDir dir;
    const auto run = runProgram(VANTRO_DICT_EXECUTABLE,
                                {QStringLiteral("--db"), dir.filePath(QStringLiteral("morvak.db")),
                                 QStringLiteral("history")});
    QCOMPARE(run.status, 1);
    QVERIFY(run.err.contains("no journal"));
}

QTEST_GUILESS_MAIN(TestDictHistory)
#include "tst_dicthistory.moc"
