// Inputs far beyond everyday sizes: a 20 MiB English text looked up in its middle, a key beyond
// a page with a 1 MiB meaning, and a dictionary of 100 thousand records (VANTRO_STRESS_LONG=1:
// a million) opened by the window and searched. What they cost is measured under bench/.

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
        QVERIFY(form.dictionary()->putStoredRecord(word, "artha", false) ==
                cDictDB::BulkPut::Added);
    QCOMPARE(form.dictionary()->flush(), 0);
    form.btnBrowse->click();
    QCOMPARE(form.english->document()->characterCount() - 1, text.size());

    QTextCursor cursor = form.english->textCursor();
    // The text is ASCII, so a byte offset is a position in the document.
    cursor.setPosition(int(text.indexOf("walking", text.size() / 2)) + 2);
    form.english->setTextCursor(cursor);
    form.btnLookUp->click();
    QCOMPARE(form.ledEng->text(), QStringLiteral("walk"));
}

// A key far beyond a page is stored on overflow pages; both must come back byte for byte.
void TestLargeInputs::longKeyAndMeaningRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morvak.db"));
    QString word(100000, QLatin1Char('a'));
    for (int i = 0; i < word.size(); i += 7)
        word[i] = QLatin1Char('a' + i % 26);
    QString meaning(1 << 20, QLatin1Char('m'));
    for (int i = 0; i < meaning.size(); i += 11)
        meaning[i] = QLatin1Char('A' + i % 26);
    cDictDB db(path);
    QCOMPARE(db.openDB(), 0);
    db.setWord(word);
    db.setITRANS(meaning);
    db.setSynonym(QStringLiteral("paryAyaH"));
    QCOMPARE(db.saveRecord(), 0);
    db.setWord(QStringLiteral("b"));
    QCOMPARE(db.saveRecord(), 0);
    QCOMPARE(db.closeDB(), 0);

    QCOMPARE(db.openDB(), 0);
    QCOMPARE(db.getCursorRec(cDictDB::First), 0);
    QCOMPARE(db.getWord(), word);
    QCOMPARE(db.getITRANS(), meaning);
    QCOMPARE(db.getSynonym(), QStringLiteral("paryAyaH"));
    db.setWord(word.left(99999));
    QCOMPARE(db.getCursorRec(cDictDB::AtOrAfter), 0);
    QCOMPARE(db.getWord().size(), 100000);
    QCOMPARE(db.getCursorRec(cDictDB::Next), 0);
    QCOMPARE(db.getWord(), QStringLiteral("b"));
    QCOMPARE(db.closeDB(), 0);
    QVERIFY(vantro::test::DbUtilities::verify(path));
}

void TestLargeInputs::bigDictionaryOpens()
{
    const int records = qEnvironmentVariableIntValue("VANTRO_STRESS_LONG") ? 1000000 : 100000;
    WorkspaceFixture fx;
    {
        cDictDB db(fx.path(QStringLiteral("morvak.db")));
        QCOMPARE(db.openDB(), 0);
        db.setDeferredSync(true);
        for (int i = 0; i < records; ++i) {
            const QByteArray key = "w" + QByteArray::number(i).rightJustified(7, '0');
            QVERIFY(db.putStoredRecord(key, "artha " + key, false) == cDictDB::BulkPut::Added);
        }
        QCOMPARE(db.flush(), 0);
        QCOMPARE(db.takeSnapshot(), QString());
        QCOMPARE(db.closeDB(), 0);
    }
    MainForm &form = fx.open();
    QCOMPARE(form.lblKeys->text(), QStringLiteral("Keys: %1").arg(records));
    form.ledEng->setText(QStringLiteral("W0054321x"));
    form.btnSearch->click();
    QCOMPARE(form.ledEng->text(), QStringLiteral("w0054321"));
}

QTEST_MAIN(TestLargeInputs)
#include "tst_largeinputs.moc"
