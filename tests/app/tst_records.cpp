#include "capture.h"
#include "dbtools.h"
#include "workspacefixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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
        // Written by the utilities, so that keys keep their capitals as another tool stores them.
        QList<vantro::test::KeyData> pairs;
        for (const Entry &e : entries)
            pairs.append(
                {e.word.toLatin1(),
                 (e.synonyms.isEmpty() ? e.meaning : e.meaning + '|' + e.synonyms).toLatin1()});
        DbUtilities::load(path("morvak.db"), pairs);
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
    void unsavedEditAnswers_data();
    void unsavedEditAnswers();
    void keyedCommands_data();
    void keyedCommands();
    void deleteThenNextContinues();
    void clearWithoutEdits();
    void searchShowsFoundKey();
    void searchNotFound_data();
    void searchNotFound();
    void crossReferenceTakesWordAtCursor_data();
    void crossReferenceTakesWordAtCursor();
    void crossReferenceSelection();
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
    // No on the last record: the edit stays, still modified, and the next move asks again.
    f.editMeaning("edited");
    f.dialogs.setNextAnswer(Dialogs::No);
    f.dialogs.setNextAnswer(Dialogs::No);
    f.w().btnNext->click();
    QVERIFY(f.word() == "water" && f.meaning() == "edited" && isModified(f.w().tedITRANS));
    f.w().btnPrev->click();
    QCOMPARE(f.word(), "mango");
    f.w().btnFirst->click();
    f.w().btnPrev->click();
    QCOMPARE(f.word(), "apple");
    QCOMPARE(f.questionsAsked("Text Changed"), 2);
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

// Every command that replaces edited meaning or synonyms asks first, and each answer does what
// its words say: Yes saves and goes on only when the record was written, No gives the edits up,
// Cancel stays. Closing the window asks the same, with Escape staying. The edited record is new,
// so a move after saving it starts from the record the cursor stood on.
void TestRecords::unsavedEditAnswers_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("meaning");
    const int yes = Dialogs::Yes, no = Dialogs::No, cancel = Dialogs::Cancel;
    // What each command shows once it goes on, with the edits dropped or saved.
    const struct
    {
        const char *command, *word, *dropped, *saved;
    } commands[] = {{"next", "mango", "AmraH", "AmraH"},   {"clear", "zebra", "", ""},
                    {"search", "zebra", "", "edited"},     {"qv", "mango", "AmraH", "AmraH"},
                    {"lookup", "mango", "AmraH", "AmraH"}, {"close", "zebra", "edited", "edited"}};
    for (const auto &c : commands) {
        auto row = [&c](const char *what, QList<int> answers, bool readOnly, const char *word,
                        const char *meaning) {
            QTest::addRow("%s: %s", c.command, what)
                << QString(c.command) << answers << readOnly << QString(word) << QString(meaning);
        };
        row("Cancel stays", {cancel}, false, "zebra", "edited");
        row("No gives the edits up", {no}, false, c.word, c.dropped);
        row("Yes, Save answered No: stays", {yes, no}, false, "zebra", "edited");
        row("Yes, Save cancelled: stays", {yes, cancel}, false, "zebra", "edited");
        row("Yes under Read Only: stays", {yes}, true, "zebra", "edited");
        row("Yes, saved: goes on", {yes, yes}, false, c.word, c.saved);
    }
}

void TestRecords::unsavedEditAnswers()
{
    QFETCH(QString, command);
    QFETCH(QList<int>, answers);
    QFETCH(bool, readOnly);
    RecordForm f;
    f.w().chkReadOnly->setChecked(readOnly);
    f.w().btnFirst->click();
    f.editWord("zebra");
    f.editMeaning("edited");
    f.editSynonyms("mango");
    f.w().ledSyn->setCursorPosition(0);
    f.w().english->setPlainText("Mango");
    for (int answer : answers)
        f.dialogs.setNextAnswer(answer);
    const bool saved = answers == QList<int>{Dialogs::Yes, Dialogs::Yes};
    const bool goesOn = saved || answers == QList<int>{Dialogs::No};
    const QMap<QString, QPushButton *> buttons{{"next", f.w().btnNext},
                                               {"clear", f.w().btnClear},
                                               {"search", f.w().btnSearch},
                                               {"qv", f.w().btnQV},
                                               {"lookup", f.w().btnLookUp}};
    if (command == "close")
        QCOMPARE(f.w().close(), goesOn);
    else
        buttons.value(command)->click();

    QTEST(f.word(), "word");
    QTEST(f.meaning(), "meaning");
    QCOMPARE(isModified(f.w().tedITRANS), !goesOn || (command == "close" && !saved));
    QCOMPARE(f.stored().constLast(), saved ? vantro::test::KeyData("zebra", "edited|mango")
                                           : vantro::test::KeyData("water", "jalaM|udakaM, toyaM"));
    QCOMPARE(f.keys(), saved ? "Keys: 4" : "Keys: 3");
    const ScriptedDialogs::Shown prompt = f.dialogs.shown.constFirst();
    QCOMPARE(prompt.title, "Text Changed");
    QCOMPARE(prompt.text, "Meaning/Synonym(s) modified. Save them?");
    QCOMPARE(prompt.defaultButton, int(Dialogs::Yes));
    QCOMPARE(prompt.escapeButton, int(command == "close" ? Dialogs::Cancel : Dialogs::Yes));
    QCOMPARE(prompt.parent, &f.w());
    QCOMPARE(f.dialogs.shown.constLast().text == "Read Only is ticked: nothing was saved.",
             readOnly);
    QVERIFY(f.dialogs.scriptIsUsedUp() && f.dialogs.unscripted == 0);
}

// Save and Delete take the key without surrounding blanks; Delete takes the key as typed when
// it is stored, else its lower-cased form. Every refusal or failure is said in a box, with the
// store's reason on a second line.
void TestRecords::keyedCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QByteArray>("line");  // the last line on the standard output
    QTest::addColumn<QString>("box");      // the information box, empty when none
    QTest::addColumn<QStringList>("keys"); // stored afterwards
    const QStringList all{"Pear", "pear", "water"};
    QTest::newRow("delete, exact key with capitals")
        << "delete"
        << "Pear"
        << "" << false << QByteArray("key: Pear deleted\n") << "" << QStringList{"pear", "water"};
    QTest::newRow("delete, lower-cased key")
        << "delete"
        << "WATER"
        << "" << false << QByteArray("key: WATER deleted\n") << "" << QStringList{"Pear", "pear"};
    QTest::newRow("delete, blanks around the key")
        << "delete"
        << " pear\t"
        << "" << false << QByteArray("key: pear deleted\n") << "" << QStringList{"Pear", "water"};
    QTest::newRow("delete, absent key")
        << "delete"
        << "absent"
        << "x" << false << QByteArray("key: absent not deleted\n")
        << "Could not delete record: absent\nthe word is not in the dictionary" << all;
    QTest::newRow("delete, blank key") << "delete"
                                       << "  "
                                       << "" << false << QByteArray("key:  not deleted\n")
                                       << "Could not delete record: \nthe word is empty" << all;
    QTest::newRow("delete under Read Only")
        << "delete"
        << "water"
        << "x" << true << QByteArray() << "Read Only is ticked: nothing was deleted." << all;
    QTest::newRow("save over a key in other letters, blanks around it")
        << "save"
        << " WATER "
        << "toyaM" << false << QByteArray() << "" << all;
    QTest::newRow("save, a new key is stored lower-cased")
        << "save"
        << "Fig"
        << "udumbaraH" << false << QByteArray() << ""
        << QStringList{"Pear", "fig", "pear", "water"};
    QTest::newRow("save, blank key")
        << "save"
        << " "
        << "jalaM" << false << QByteArray("Could not add/save record: \n")
        << "Could not add/save record: \nthe word is empty" << all;
    QTest::newRow("save, meaning without a Latin-1 form")
        << "save"
        << "water" << QString::fromUtf8("जलम्") << false
        << QByteArray("Could not add/save record: water\n")
        << "Could not add/save record: water\nthe meaning holds characters without a Latin-1 form"
        << all;
    QTest::newRow("save under Read Only")
        << "save"
        << "fig"
        << "x" << true << QByteArray() << "Read Only is ticked: nothing was saved." << all;
}

void TestRecords::keyedCommands()
{
    QFETCH(QString, command);
    QFETCH(QString, typed);
    QFETCH(QString, meaning);
    QFETCH(bool, readOnly);
    QFETCH(QByteArray, line);
    QFETCH(QString, box);
    QFETCH(QStringList, keys);
    RecordForm f({{"Pear", "phalaM", ""}, {"pear", "phalaM", ""}, {"water", "jalaM", ""}});
    f.w().chkReadOnly->setChecked(readOnly);
    f.editWord(typed);
    f.editMeaning(meaning);
    f.dialogs.setNextAnswer(Dialogs::Yes);
    const bool deleting = command == "delete";
    const auto out = captureOutput([&] { (deleting ? f.w().btnDelete : f.w().btnSave)->click(); });

    QMap<QByteArray, QByteArray> stored;
    for (const vantro::test::KeyData &pair : f.stored())
        stored.insert(pair.first, pair.second);
    QCOMPARE(QStringList(stored.keyBegin(), stored.keyEnd()), keys);
    QCOMPARE(f.keys(), "Keys: " + QString::number(keys.size()));
    if (!deleting && box.isEmpty())
        QCOMPARE(stored.value(typed.trimmed().toLower().toLatin1()), meaning.toLatin1());
    QVERIFY(line.isEmpty() ? out.out.isEmpty() : out.out.endsWith(line));
    const ScriptedDialogs::Shown last = f.dialogs.shown.constLast();
    QCOMPARE(last.kind == "information" ? last.title + ": " + last.text : QString(),
             box.isEmpty() ? box : "VANTRO: " + box);
    // Save leaves the key as typed, still modified; Delete empties the form.
    QCOMPARE(f.word(), deleting && !readOnly ? QString() : typed);
    QCOMPARE(f.w().ledEng->isModified(), !deleting || readOnly);
    QCOMPARE(isModified(f.w().tedITRANS), !box.isEmpty() && (!deleting || readOnly));
    QCOMPARE(f.dialogs.shown.size(), readOnly || box.isEmpty() ? 1 : 2);
    if (!readOnly) {
        const ScriptedDialogs::Shown confirm = f.dialogs.shown.constFirst();
        QCOMPARE(confirm.title, deleting ? "Confirm Delete" : "Confirm Add/Save");
        QCOMPARE(confirm.text, confirm.title + "?");
        QCOMPARE(confirm.defaultButton, int(Dialogs::No));
        QCOMPARE(confirm.escapeButton, int(Dialogs::No));
    }
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

void TestRecords::clearWithoutEdits()
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
    f.w().tedITRANS->setPlainText("of the last record");
    f.w().ledSyn->setText("too");
    f.w().ledEng->setText(typed);
    f.w().btnSearch->click();
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(f.dialogs.shown.constFirst().kind, "information");
    QCOMPARE(f.dialogs.shown.constFirst().title, "VANTRO - Search");
    QCOMPARE(f.dialogs.shown.constFirst().text, typed + " not found");
    QCOMPARE(f.word(), typed);
    // No record's meaning may stand under another key.
    QVERIFY(f.meaning().isEmpty() && f.synonyms().isEmpty() && !isModified(f.w().tedITRANS));
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

void TestRecords::crossReferenceSelection()
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
    QVERIFY(f.meaning().isEmpty());
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
