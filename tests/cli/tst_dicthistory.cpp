// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture.h"
#include "dbtools.h"
#include "dictdb.h"
#include "journal.h"

#include <QTemporaryDir>
#include <QTest>

using namespace vantro;
using namespace vantro::test;

class TestDictHistory : public QObject
{
    Q_OBJECT

private slots:
    void listsTheChangesSinceTheSnapshot();
};

void TestDictHistory::listsTheChangesSinceTheSnapshot()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    const QStringList history = {QStringLiteral("--db"), path, QStringLiteral("history")};
    // Without a journal there is nothing to list, and saying so is a failure.
    const auto missing = runProgram(VANTRO_DICT_EXECUTABLE, history);
    QCOMPARE(missing.status, 1);
    QVERIFY(missing.err.contains("no journal"));

    cDictDB db(path);
    QCOMPARE(db.openDB(), 0);
    QCOMPARE(putRecord(db, "Water", "jalaM", "toyaM", false), 0);
    QCOMPARE(putRecord(db, "fire", "agniH\tvahniH", {}, false), 0);
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
    QString why;
    QVERIFY2(db.takeSnapshot(&why), qPrintable(why));
    QCOMPARE(putRecord(db, "one", "ekaH", {}, false), 0);
    QCOMPARE(db.closeDB(), 0);
    QFile journal(journalPath(path));
    QVERIFY(journal.open(QIODevice::Append));
    journal.write(encodeJournalEntry({JournalEntry::Op::Save, 0, "two", "dve"}).chopped(1));
    journal.close();
    const QByteArray out = runProgram(VANTRO_DICT_EXECUTABLE, history).out;
    QVERIFY(out.contains("\tone\tekaH\n1 change(s)"));
    QVERIFY(!out.contains("two"));
}

QTEST_GUILESS_MAIN(TestDictHistory)
#include "tst_dicthistory.moc"
