#include "capture.h"
#include "dbtools.h"
#include "dictdb.h"
#include "workspacefixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using vantro::cDictDB;
using vantro::test::captureOutput;
using vantro::test::DbUtilities;

namespace {

struct Entry
{
    QString word;
    QString meaning;
    QString synonyms;
};

// A window over a dictionary that holds the given records.
class RecordForm : public WorkspaceFixture
{
public:
    explicit RecordForm(const QList<Entry> &entries = {{"apple", "phalaM", ""},
                                                       {"mango", "AmraH", "rasAlaH"},
                                                       {"water", "jalaM", "udakaM, toyaM"}})
    {
        {
            cDictDB db(path("morvak.db"));
            db.openDB();
            for (const Entry &entry : entries) {
                db.setWord(entry.word);
                db.setITRANS(entry.meaning);
                db.setSynonym(entry.synonyms);
                db.addRecord();
            }
            db.closeDB();
        }
        open();
    }

    MainForm &w() { return *form; }
    QString word() { return form->ledEng->text(); }
    QString meaning() { return form->tedITRANS->toPlainText(); }
    QString synonyms() { return form->ledSyn->text(); }
    QString keys() { return form->lblKeys->text(); }
    QList<vantro::test::KeyData> stored() { return DbUtilities::dump(path("morvak.db")); }

    // Edits the way typing does: the field becomes modified.
    void editMeaning(const QString &text)
    {
        form->tedITRANS->setPlainText(text);
        form->tedITRANS->document()->setModified(true);
    }
    void editSynonyms(const QString &text)
    {
        form->ledSyn->setText(text);
        form->ledSyn->setModified(true);
    }
    void editWord(const QString &text)
    {
        form->ledEng->setText(text);
        form->ledEng->setModified(true);
    }
    int questionsAsked(const QString &title) const
    {
        int count = 0;
        for (const ScriptedDialogs::Shown &box : dialogs.shown)
            count += box.kind == "question" && box.title == title;
        return count;
    }
};

// Clicks the button with the given text in the message box that will be open next.
void answerRealBoxLater(const QString &buttonText)
{
    QTimer::singleShot(50, [buttonText] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        for (QAbstractButton *button : box->buttons())
            if (button->text() == buttonText)
                button->click();
    });
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void startUpState();
    void navigationFromNoPosition();
    void failedMoveKeepsCursor();
    void emptyDictionaryMovesSilently();
    void editedWordAloneDoesNotPrompt();
    void promptAnswers();
    void yesSavesThenMovesFromOldPosition();
    void saveGuardsAndConfirmation();
    void saveAddsOrOverwrites();
    void failedSaveKeepsEditsAndSaysSo_data();
    void failedSaveKeepsEditsAndSaysSo();
    void deleteEmptiesFormAndRecounts();
    void deleteThenNextContinues();
    void clearAsksButNeverSaves();
    void searchShowsFoundKey();
    void searchNotFound_data();
    void searchNotFound();
    void searchWithUnsavedEdits();
    void searchThenNext();
    void crossReferenceTakesWordAtCursor_data();
    void crossReferenceTakesWordAtCursor();
    void crossReferenceSelectionAndPrompt();
    void realBoxesAreWired();
};

void TestRecords::startUpState()
{
    RecordForm f;
    QVERIFY(f.w().chkReadOnly->isChecked());
    QCOMPARE(f.keys(), "Keys: 3");
    QVERIFY(f.word().isEmpty() && f.meaning().isEmpty() && f.synonyms().isEmpty());
}

void TestRecords::navigationFromNoPosition()
{
    RecordForm next;
    next.w().btnNext->click();
    QCOMPARE(next.word(), "apple");
    QCOMPARE(next.meaning(), "phalaM");
    QVERIFY(!next.w().tedITRANS->document()->isModified());

    RecordForm prev;
    prev.w().btnPrev->click();
    QCOMPARE(prev.word(), "water");
    QCOMPARE(prev.synonyms(), "udakaM, toyaM");
    prev.w().btnFirst->click();
    QCOMPARE(prev.word(), "apple");
    prev.w().btnLast->click();
    QCOMPARE(prev.word(), "water");
}

void TestRecords::failedMoveKeepsCursor()
{
    RecordForm f;
    f.w().btnLast->click();
    f.w().btnNext->click();
    QCOMPARE(f.word(), "water");
    f.w().btnPrev->click();
    QCOMPARE(f.word(), "mango");
    f.w().btnFirst->click();
    f.w().btnPrev->click();
    QCOMPARE(f.word(), "apple");
    QVERIFY(f.dialogs.shown.isEmpty());
}

void TestRecords::emptyDictionaryMovesSilently()
{
    RecordForm f(QList<Entry>{});
    QCOMPARE(f.keys(), "Keys: 0");
    const auto out = captureOutput([&] {
        for (QPushButton *button : {f.w().btnFirst, f.w().btnLast, f.w().btnNext, f.w().btnPrev})
            button->click();
    });
    QVERIFY(out.out.isEmpty() && out.err.isEmpty());
    QVERIFY(f.dialogs.shown.isEmpty());
    QVERIFY(f.word().isEmpty());
}

void TestRecords::editedWordAloneDoesNotPrompt()
{
    RecordForm f;
    f.editWord("typed");
    f.w().btnNext->click();
    QCOMPARE(f.word(), "apple");
    QVERIFY(f.dialogs.shown.isEmpty());
    QVERIFY(!f.w().ledEng->isModified());
}

void TestRecords::promptAnswers()
{
    RecordForm f;
    f.w().btnLast->click();
    // No on the last record: the edit stays and stays modified, and the next move asks again.
    f.editMeaning("edited");
    f.dialogs.setNextAnswer(Dialogs::No);
    f.w().btnNext->click();
    QCOMPARE(f.meaning(), "edited");
    QVERIFY(f.w().tedITRANS->document()->isModified());
    const ScriptedDialogs::Shown prompt = f.dialogs.shown.constLast();
    QCOMPARE(prompt.title, "Text Changed");
    QCOMPARE(prompt.text, "Meaning/Synonym(s) modified. Save them?");
    QCOMPARE(prompt.defaultButton, int(Dialogs::Yes));
    QCOMPARE(prompt.escapeButton, int(Dialogs::Yes));
    QCOMPARE(prompt.parent, &f.w());

    // Cancel behaves like No: the move happens and the edits are dropped.
    f.editSynonyms("edited too");
    f.dialogs.setNextAnswer(Dialogs::Cancel);
    f.w().btnFirst->click();
    QCOMPARE(f.word(), "apple");
    QCOMPARE(f.synonyms(), "");
    QCOMPARE(f.questionsAsked("Text Changed"), 2);

    // Yes runs Save, which does nothing while Read Only is ticked; the move still happens.
    f.editMeaning("lost");
    f.dialogs.setNextAnswer(Dialogs::Yes);
    f.w().btnNext->click();
    QCOMPARE(f.word(), "mango");
    QCOMPARE(f.questionsAsked("Confirm Add/Save"), 0);
    QCOMPARE(f.stored().at(0).second, QByteArray("phalaM"));
    QVERIFY(f.dialogs.scriptIsUsedUp());
}

void TestRecords::yesSavesThenMovesFromOldPosition()
{
    RecordForm f;
    f.w().chkReadOnly->setChecked(false);
    f.w().btnFirst->click();
    f.editWord("zebra");
    f.editMeaning("gardabhaH");
    f.dialogs.setNextAnswer(Dialogs::Yes); // the unsaved-change prompt
    f.dialogs.setNextAnswer(Dialogs::Yes); // Save's own confirmation
    f.w().btnNext->click();
    QCOMPARE(f.word(), "mango"); // from apple, not from zebra
    QCOMPARE(f.keys(), "Keys: 4");
    QCOMPARE(f.stored().constLast(), vantro::test::KeyData("zebra", "gardabhaH"));
}

void TestRecords::saveGuardsAndConfirmation()
{
    RecordForm f;
    f.editWord("new");
    f.editMeaning("navaH");
    f.w().btnSave->click();
    f.w().btnDelete->click();
    QVERIFY(f.dialogs.shown.isEmpty());
    QCOMPARE(f.stored().size(), 3);

    f.w().chkReadOnly->setChecked(false);
    f.dialogs.setNextAnswer(Dialogs::No);
    f.dialogs.setNextAnswer(Dialogs::Cancel);
    f.w().btnSave->click();
    f.w().btnSave->click();
    QCOMPARE(f.stored().size(), 3);
    const ScriptedDialogs::Shown confirm = f.dialogs.shown.constFirst();
    QCOMPARE(confirm.title, "Confirm Add/Save");
    QCOMPARE(confirm.text, "Confirm Add/Save?");
    QCOMPARE(confirm.defaultButton, int(Dialogs::No));
    QCOMPARE(confirm.escapeButton, int(Dialogs::No));
    QVERIFY(f.w().tedITRANS->document()->isModified());
}

void TestRecords::saveAddsOrOverwrites()
{
    RecordForm f;
    f.w().chkReadOnly->setChecked(false);
    f.editWord("Banana");
    f.editMeaning("kadalI");
    f.editSynonyms("rambhA");
    f.dialogs.setNextAnswer(Dialogs::Yes);
    f.w().btnSave->click();
    QCOMPARE(f.keys(), "Keys: 4");
    QCOMPARE(f.word(), "Banana"); // not redisplayed in lower case
    QVERIFY(f.w().ledEng->isModified());
    QVERIFY(!f.w().tedITRANS->document()->isModified());
    QVERIFY(!f.w().ledSyn->isModified());

    f.editWord("WATER");
    f.editMeaning("toyaM");
    f.editSynonyms("");
    f.dialogs.setNextAnswer(Dialogs::Yes);
    f.w().btnSave->click();
    QCOMPARE(f.keys(), "Keys: 4");
    QCOMPARE(f.stored().constLast(), vantro::test::KeyData("water", "toyaM"));
    QCOMPARE(f.stored().at(1), vantro::test::KeyData("banana", "kadalI|rambhA"));
}

void TestRecords::failedSaveKeepsEditsAndSaysSo_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("meaning");
    QTest::newRow("empty key") << ""
                               << "jalaM";
    QTest::newRow("meaning without a Latin-1 form") << "water" << QString::fromUtf8("जलम्");
}

void TestRecords::failedSaveKeepsEditsAndSaysSo()
{
    QFETCH(QString, word);
    QFETCH(QString, meaning);
    RecordForm f;
    f.w().chkReadOnly->setChecked(false);
    const auto before = f.stored();
    f.editWord(word);
    f.editMeaning(meaning);
    f.dialogs.setNextAnswer(Dialogs::Yes);
    const auto out = captureOutput([&] { f.w().btnSave->click(); });
    QVERIFY(out.out.endsWith("Could not add/save record: " + word.toLatin1() + "\n"));
    QCOMPARE(f.dialogs.shown.constLast().kind, "information");
    QCOMPARE(f.dialogs.shown.constLast().title, "VANTRO");
    QCOMPARE(f.dialogs.shown.constLast().text, "Could not add/save record: " + word);
    QVERIFY(f.w().tedITRANS->document()->isModified());
    QCOMPARE(f.meaning(), meaning);
    QCOMPARE(f.keys(), "Keys: 3");
    QCOMPARE(f.stored(), before);

    // The next move asks about the unsaved text again instead of dropping it.
    f.dialogs.setNextAnswer(Dialogs::No);
    f.w().btnNext->click();
    QCOMPARE(f.questionsAsked("Text Changed"), 1);
}

void TestRecords::deleteEmptiesFormAndRecounts()
{
    RecordForm f;
    f.w().chkReadOnly->setChecked(false);
    f.editWord("absent");
    f.editMeaning("x");
    f.dialogs.setNextAnswer(Dialogs::Yes);
    auto out = captureOutput([&] { f.w().btnDelete->click(); });
    QVERIFY(out.out.endsWith("key: absent not deleted\n"));
    QVERIFY(f.word().isEmpty() && f.meaning().isEmpty() && f.synonyms().isEmpty());
    QVERIFY(!f.w().tedITRANS->document()->isModified() && !f.w().ledEng->isModified());
    QCOMPARE(f.keys(), "Keys: 3");
    const ScriptedDialogs::Shown confirm = f.dialogs.shown.constLast();
    QCOMPARE(confirm.title, "Confirm Delete");
    QCOMPARE(confirm.text, "Confirm Delete?");
    QCOMPARE(confirm.defaultButton, int(Dialogs::No));
    QCOMPARE(confirm.escapeButton, int(Dialogs::No));

    // The key is used as typed: Water does not delete water.
    f.editWord("Water");
    f.dialogs.setNextAnswer(Dialogs::Yes);
    out = captureOutput([&] { f.w().btnDelete->click(); });
    QVERIFY(out.out.endsWith("key: Water not deleted\n"));

    f.w().btnLast->click();
    f.dialogs.setNextAnswer(Dialogs::No);
    f.w().btnDelete->click();
    QCOMPARE(f.word(), "water");
    f.dialogs.setNextAnswer(Dialogs::Yes);
    out = captureOutput([&] { f.w().btnDelete->click(); });
    QCOMPARE(out.out, QByteArray("key: water deleted\n"));
    QCOMPARE(f.keys(), "Keys: 2");
}

void TestRecords::deleteThenNextContinues()
{
    RecordForm f;
    f.w().chkReadOnly->setChecked(false);
    f.w().ledEng->setText("mango");
    f.w().btnSearch->click();
    f.dialogs.setNextAnswer(Dialogs::Yes);
    captureOutput([&] { f.w().btnDelete->click(); });
    f.w().btnNext->click();
    QCOMPARE(f.word(), "water");
}

void TestRecords::clearAsksButNeverSaves()
{
    RecordForm f;
    f.w().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.w()));
    f.w().btnLast->click();
    f.w().ledEng->setFocus();
    f.w().btnClear->click();
    QCOMPARE(f.word(), "water");
    QVERIFY(f.meaning().isEmpty() && f.synonyms().isEmpty());
    QVERIFY(f.dialogs.shown.isEmpty());
    QTRY_COMPARE(QApplication::focusWidget(), f.w().tedITRANS);

    f.editMeaning("edited");
    for (int answer : {int(Dialogs::No), int(Dialogs::Cancel)}) {
        f.dialogs.setNextAnswer(answer);
        f.w().btnClear->click();
        QCOMPARE(f.meaning(), "edited");
    }
    f.dialogs.setNextAnswer(Dialogs::Yes);
    f.w().btnClear->click();
    QVERIFY(f.meaning().isEmpty());
    QVERIFY(!f.w().tedITRANS->document()->isModified());
    QCOMPARE(f.questionsAsked("Confirm Add/Save"), 0);
    QCOMPARE(f.stored().constLast().second, QByteArray("jalaM|udakaM, toyaM"));
}

void TestRecords::searchShowsFoundKey()
{
    RecordForm f({{"walk", "cal", ""}, {"wall", "bhittiH", ""}, {"apple", "phalaM", ""}});
    f.w().ledEng->setText("Walking");
    f.w().btnSearch->click();
    QCOMPARE(f.word(), "walk");
    QCOMPARE(f.meaning(), "cal");
    f.w().ledEng->setText("WALL");
    f.w().btnSearch->click();
    QCOMPARE(f.word(), "wall");
    f.w().ledEng->clear();
    f.w().btnSearch->click();
    QCOMPARE(f.word(), "apple");
    QVERIFY(f.dialogs.shown.isEmpty());
}

void TestRecords::searchNotFound_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("emptyDictionary");
    QTest::newRow("cow among cat and dog") << "cow" << false;
    QTest::newRow("two letters") << "cx" << false;
    QTest::newRow("empty key, empty dictionary") << "" << true;
}

void TestRecords::searchNotFound()
{
    QFETCH(QString, typed);
    QFETCH(bool, emptyDictionary);
    RecordForm f(emptyDictionary ? QList<Entry>{}
                                 : QList<Entry>{{"cat", "mArjAraH", ""}, {"dog", "shvA", ""}});
    f.editMeaning("kept");
    f.w().tedITRANS->document()->setModified(false);
    f.w().ledEng->setText(typed);
    f.w().btnSearch->click();
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(f.dialogs.shown.constFirst().kind, "information");
    QCOMPARE(f.dialogs.shown.constFirst().title, "VANTRO - Search");
    QCOMPARE(f.dialogs.shown.constFirst().text, typed + " not found");
    QCOMPARE(f.word(), typed);
    QCOMPARE(f.meaning(), "kept");
}

void TestRecords::searchWithUnsavedEdits()
{
    RecordForm f;
    f.w().btnFirst->click();
    f.editMeaning("edited");
    f.w().ledEng->setText("water");
    for (int answer : {int(Dialogs::No), int(Dialogs::Cancel)}) {
        f.dialogs.setNextAnswer(answer);
        f.w().btnSearch->click();
        QCOMPARE(f.meaning(), "edited");
    }
    // The cursor did not move: Next still continues from apple.
    f.dialogs.setNextAnswer(Dialogs::Yes);
    f.w().btnSearch->click();
    QCOMPARE(f.meaning(), "jalaM");
    QCOMPARE(f.questionsAsked("Confirm Add/Save"), 0);
    f.w().btnPrev->click();
    QCOMPARE(f.word(), "mango");
}

void TestRecords::searchThenNext()
{
    RecordForm f;
    f.w().ledEng->setText("mango");
    f.w().btnSearch->click();
    f.w().btnNext->click();
    QCOMPARE(f.word(), "water");
}

void TestRecords::crossReferenceTakesWordAtCursor_data()
{
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("shown");
    QTest::newRow("before the l of large") << 5 << "large";
    QTest::newRow("inside large") << 7 << "large";
    QTest::newRow("after big, before the comma") << 3 << "";
    QTest::newRow("at the end") << 10 << "";
}

void TestRecords::crossReferenceTakesWordAtCursor()
{
    QFETCH(int, cursor);
    QFETCH(QString, shown);
    RecordForm f({{"big", "bRRihat", "big, large"}, {"large", "mahat", "huge"}});
    f.w().btnFirst->click();
    f.w().ledSyn->setCursorPosition(cursor);
    f.w().btnQV->click();
    QCOMPARE(f.word(), shown.isEmpty() ? QStringLiteral("big") : shown);
    QCOMPARE(f.synonyms(), shown.isEmpty() ? QStringLiteral("big, large") : QStringLiteral("huge"));
    QVERIFY(f.dialogs.shown.isEmpty());
}

void TestRecords::crossReferenceSelectionAndPrompt()
{
    RecordForm f({{"big", "bRRihat", "big, large"}, {"large", "mahat", ""}});
    f.w().btnFirst->click();
    // A selection wins over the cursor and is searched as it stands.
    f.w().ledSyn->setCursorPosition(5);
    f.w().ledSyn->setSelection(2, 4);
    f.w().btnQV->click();
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(f.dialogs.shown.constLast().text, "g, l not found");
    QCOMPARE(f.word(), "g, l");

    f.w().btnFirst->click();
    f.editMeaning("edited");
    f.w().ledSyn->setCursorPosition(6);
    f.dialogs.setNextAnswer(Dialogs::No);
    f.w().btnQV->click();
    QCOMPARE(f.word(), "large");
    QCOMPARE(f.meaning(), "edited");
}

void TestRecords::realBoxesAreWired()
{
    RecordForm f;
    Dialogs::setCurrent(nullptr); // the real message boxes from here on
    f.w().show();
    f.w().chkReadOnly->setChecked(false);
    f.w().btnLast->click();
    f.editMeaning("edited");

    // Save's confirmation answered No: nothing written, the edit still pending.
    answerRealBoxLater("No");
    f.w().btnSave->click();
    QCOMPARE(f.stored().constLast().second, QByteArray("jalaM|udakaM, toyaM"));

    // Escape in the unsaved-change prompt answers Yes, which runs Save: its box then gets Yes.
    QTimer::singleShot(50, [] {
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
        answerRealBoxLater("Yes");
    });
    f.w().btnFirst->click();
    QCOMPARE(f.word(), "apple");
    QCOMPARE(f.stored().constLast(), vantro::test::KeyData("water", "edited|udakaM, toyaM"));
}

QTEST_MAIN(TestRecords)
#include "tst_records.moc"
