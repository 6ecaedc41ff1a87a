// SPDX-License-Identifier: GPL-3.0-or-later
// Inputs far beyond everyday sizes: long texts that come into the panes a piece at a time, a
// 20 MiB English text looked up in its middle, a key beyond a page with a 1 MiB meaning, and a
// dictionary of 100 thousand records (VANTRO_STRESS_LONG=1: a million) opened by the window and
// searched. What they cost is measured under bench/.

#include "dbtools.h"
#include "dictdb.h"
#include "workspacefixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace vantro;

class TestLargeInputs : public QObject
{
    Q_OBJECT

private slots:
    void longEnglishTextLoadsAndLooksUp();
    void commandsTakeTheWholeText_data();
    void commandsTakeTheWholeText();
    void longKeyAndMeaningRoundTrip();
    void bigDictionaryOpens();
};

void TestLargeInputs::longEnglishTextLoadsAndLooksUp()
{
    const QByteArray sentence = "The translator was walking along the river, reading the old "
                                "verses of the morning prayer aloud. ";
    QByteArray text;
    for (int line = 0; text.size() < 20 * 1024 * 1024; ++line)
        text += sentence + (line % 8 == 7 ? "\n" : "");
    WorkspaceFixture fx;
    fx.dialogs.setNextFileName(fx.write(QStringLiteral("long.txt"), text));
    MainForm &form = fx.open();
    for (const char *word : {"walk", "wall", "river", "translator", "verse"})
        QCOMPARE(vantro::test::putRecord(*form.dictionary(), QLatin1String(word),
                                         QStringLiteral("artha")),
                 0);
    form.btnBrowse->click();
    QVERIFY(form.isLoading() && form.english->isReadOnly());
    // The look-up takes the whole text in first. The text is ASCII: a byte offset is a position.
    for (const qsizetype from : {qsizetype(0), text.size() / 2}) {
        const int at = int(text.indexOf("walking", from)) + 2;
        selectRange(form.english, at, at);
        form.btnLookUp->click();
        QCOMPARE(form.english->document()->characterCount() - 1, text.size());
        QCOMPARE(form.ledEng->text(), QStringLiteral("walk"));
    }
    QVERIFY(!form.english->isReadOnly());
}

// A long ITRANS document comes in a piece at a time; it is read-only, unmodified and without
// undo steps meanwhile, and whatever reads or replaces it takes all of it first or stops it.
void TestLargeInputs::commandsTakeTheWholeText_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("Save As while loading: every byte") << QString();
    QTest::newRow("Find while loading reaches the last line") << QStringLiteral("find");
    QTest::newRow("loaded from the event loop: every byte") << QStringLiteral("wait");
    QTest::newRow("New stops the load") << QStringLiteral("new");
    QTest::newRow("keys typed while loading: Ctrl+End means the end") << QStringLiteral("type");
}

void TestLargeInputs::commandsTakeTheWholeText()
{
    QFETCH(QString, command);
    QByteArray text; // Latin-1 with CRLF line ends, written back as it was
    for (int line = 0; text.size() < 4 * 1024 * 1024; ++line)
        text += "na ca s\xe9rie " + QByteArray::number(line) + "\r\n";
    text += "the last line";
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    fx.dialogs.setNextFileName(fx.write(QStringLiteral("long.txt"), text));
    form.fileOpenAction->trigger();
    QVERIFY(form.isLoading() && form.itrans->isReadOnly());
    if (command == QLatin1String("find"))
        QCOMPARE(form.findString(QStringLiteral("the last line")), MainForm::Found);
    else if (command == QLatin1String("wait"))
        QTRY_VERIFY_WITH_TIMEOUT(!form.isLoading(), 300000);
    else if (command == QLatin1String("new"))
        form.fileNewAction->trigger();
    const bool typed = command == QLatin1String("type");
    if (typed) {
        QTest::keyClick(form.itrans, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(form.itrans, QStringLiteral("HELLO"));
    }
    QCOMPARE(isModified(form.itrans), typed);
    QCOMPARE(form.itrans->document()->isUndoAvailable(), typed);
    fx.dialogs.setNextFileName(fx.path(QStringLiteral("copy.txt")));
    form.fileSaveAsAction->trigger();
    QCOMPARE(vantro::test::fileBytes(fx.path(QStringLiteral("copy.txt"))),
             command == QLatin1String("new") ? QByteArray() : text + (typed ? "HELLO" : ""));
    QVERIFY(!form.isLoading() && !form.itrans->isReadOnly());
    QCOMPARE(fx.dialogs.unscripted, 0);
}

// A key far beyond a page is stored on overflow pages; both must come back byte for byte, read
// first, at or after the word less its last letter, and before the next record.
void TestLargeInputs::longKeyAndMeaningRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    const QString word = QStringLiteral("abcdefghijklmnopqrstuvwxyz").repeated(3846);
    const QString meaning =
        QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ").repeated(1 << 15);
    cDictDB db(path);
    QCOMPARE(db.openDB(), 0);
    for (const QString &key : {word, QStringLiteral("b")})
        QCOMPARE(vantro::test::putRecord(db, key, meaning, QStringLiteral("paryAyaH"), false), 0);
    QCOMPARE(db.closeDB() + db.openDB(), 0);
    for (const int move : {cDictDB::First, cDictDB::AtOrAfter, cDictDB::Next}) {
        db.setWord(word.chopped(1));
        QCOMPARE(db.getCursorRec(move), 0);
        QCOMPARE(QStringList({db.getWord(), db.getITRANS(), db.getSynonym()}),
                 QStringList({move == cDictDB::Next ? QStringLiteral("b") : word, meaning,
                              QStringLiteral("paryAyaH")}));
    }
    QCOMPARE(db.closeDB(), 0);
    QVERIFY(vantro::test::DbUtilities::verify(path));
}

void TestLargeInputs::bigDictionaryOpens()
{
    const int records = qEnvironmentVariableIntValue("VANTRO_STRESS_LONG") ? 1000000 : 100000;
    WorkspaceFixture fx;
    QList<vantro::test::KeyData> pairs;
    for (int i = 0; i < records; ++i) {
        const QByteArray key = "w" + QByteArray::number(i).rightJustified(7, '0');
        pairs.append({key, "artha " + key});
    }
    QVERIFY(vantro::test::DbUtilities::load(fx.path(QStringLiteral("morvak.db")), pairs));
    MainForm &form = fx.open();
    QCOMPARE(form.lblKeys->text(), QStringLiteral("Keys: %1").arg(records));
    form.ledEng->setText(QStringLiteral("W0054321x"));
    form.btnSearch->click();
    QCOMPARE(form.ledEng->text(), QStringLiteral("w0054321"));
}

QTEST_MAIN(TestLargeInputs)
#include "tst_largeinputs.moc"
