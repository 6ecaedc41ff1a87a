// SPDX-License-Identifier: GPL-3.0-or-later
// The record form (navigation, Save, Delete, Clear, Search, QV) and the English pane's Browse and
// look-up.

#include "capture.h"
#include "dbtools.h"
#include "importoptionsdialog.h"
#include "workspacefixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QtEndian>

using vantro::test::captureOutput;
using vantro::test::KeyData;

static QStringList boxTexts(const ScriptedDialogs &dialogs)
{
    QStringList texts;
    for (const ScriptedDialogs::Shown &box : dialogs.shown)
        texts.append(box.kind + ": " + box.text);
    return texts;
}

namespace {

// Records are stored as "meaning|synonyms".
const QList<KeyData> kFruit{
    {"apple", "phalaM"}, {"mango", "AmraH|rasAlaH"}, {"water", "jalaM|udakaM, toyaM"}};

// A window over a dictionary written by the utilities, so that keys keep their capitals as
// another tool stores them.
class RecordForm : public WorkspaceFixture
{
public:
    explicit RecordForm(const QList<KeyData> &pairs = kFruit)
    {
        QVERIFY(vantro::test::DbUtilities::load(path("morvak.db"), pairs));
        open();
    }

    QString word() { return form->ledEng->text(); }
    QString record() { return form->tedITRANS->toPlainText() + '|' + form->ledSyn->text(); }
    QList<KeyData> stored() { return vantro::test::DbUtilities::dump(path("morvak.db")); }

    // Edits the way typing does: the meaning becomes modified.
    void editMeaning(const QString &meaning)
    {
        form->tedITRANS->setPlainText(meaning);
        form->tedITRANS->document()->setModified(true);
    }
    void click(const QString &name) { form->findChild<QPushButton *>("btn" + name)->click(); }
    // Each box shown, a question with its default and Escape answers.
    QStringList boxes() const
    {
        const QStringList answers{"Yes", "No", "Cancel"};
        QStringList texts;
        for (const ScriptedDialogs::Shown &box : dialogs.shown)
            texts.append(box.kind + ' ' + box.title + ": " + box.text +
                         (box.kind == "question" ? " (" + answers.value(box.defaultButton) + ", " +
                                                       answers.value(box.escapeButton) + ")"
                                                 : ""));
        return texts;
    }
};

// Answers the real message boxes that open next, one answer each: Escape, or a button's text.
void answerRealBoxes(QStringList answers)
{
    QTimer::singleShot(50, [answers]() mutable {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        const QString answer = answers.takeFirst();
        if (!answers.isEmpty())
            answerRealBoxes(answers);
        if (answer == "Escape")
            QTest::keyClick(box, Qt::Key_Escape);
        for (QAbstractButton *button : box->buttons())
            if (button->text() == answer)
                button->click();
    });
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void form_data();
    void form();
    void unsavedEditAnswers_data();
    void unsavedEditAnswers();
    void keyedCommands_data();
    void keyedCommands();
    void deleteKeepsTypedEdits_data();
    void deleteKeepsTypedEdits();
    void insertFromShownRecord_data();
    void insertFromShownRecord();
    void lookUpWordByWord_data();
    void lookUpWordByWord();
    void realBoxesAreWired();
    void lookUp_data();
    void lookUp();
    void browse_data();
    void browse();
    void importDictionary_data();
    void importDictionary();
    void importReading_data();
    void importReading();
    void importOptionsByKeys();
    void exportDictionary();
    void insertMeaning_data();
    void insertMeaning();
    void searchOnDamageOffersRepair();
};

// Steps name the buttons pressed in turn, with Read Only unticked, or edit: the meaning is
// edited; key: the key field is set to the text; syn: the synonyms are set to the text, where '|'
// marks the cursor and two mark a selection; Return and Tab: that key in the key or meaning
// field. No to "Save them?" gives the edits up only when the move happens. Search and QV that
// find nothing name the word in a box and leave no record's meaning under it; Next and Prev go
// on from that word. The row whose word ends empty runs over an empty dictionary.
void TestRecords::form_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("answers"); // to the questions, in turn
    QTest::addColumn<QString>("missed");  // named in the not-found box, if any
    auto row = [](const char *name, const char *steps, const char *word, const char *record,
                  const char *text = "", const char *answers = "", const char *missed = "") {
        QTest::newRow(name) << QString(steps) << QString(word) << QString(record) << QString(text)
                            << QString(answers) << QString(missed);
    };
    const char *water = "jalaM|udakaM, toyaM";
    row("Next from no position, Prev on the first record stays", "Next Prev", "apple", "phalaM|");
    row("Prev from no position, First, Last", "Prev First Last", "water", water);
    row("a failed move keeps the edit", "Last edit Next", "water", "edited|udakaM, toyaM", "",
        "No");
    row("the next move asks again", "Last edit Next Prev", "mango", "AmraH|rasAlaH", "", "No No");
    row("an edited key alone does not ask", "key Next", "apple", "phalaM|", "typed");
    row("Next after a Delete continues", "Next Next Delete Next", "large", "mahat|huge", "", "Yes");
    row("Clear without edits keeps the key, Tab leaves the meaning", "Last Clear Tab", "water",
        "|");
    row("an empty dictionary moves silently", "First Last Next Prev", "", "|");
    row("Search by Return: a shorter key", "key Return", "mango", "AmraH|rasAlaH", "Mangoes");
    row("Search: blanks and capitals", "key Search", "water", water, " WATER ");
    row("Search: the empty key", "Last key Search", "apple", "phalaM|");
    row("Search: not found", "Last key Search", "cow", "|", "cow", "", "cow");
    row("not found, Next: the record after the word", "key Search Next", "large", "mahat|huge",
        "bzz", "", "bzz");
    row("QV: the word at the cursor", "First syn QV", "large", "mahat|huge", "big, la|rge");
    row("QV: no word at the cursor", "First syn QV", "apple", "phalaM|big, large", "big|, large");
    row("QV: the selection as it stands", "First syn QV", "g, l", "|", "bi|g, l|arge", "", "g, l");
}

void TestRecords::form()
{
    QFETCH(QString, steps);
    QFETCH(QString, text);
    QFETCH(QString, answers);
    QFETCH(QString, word);
    QFETCH(QString, record);
    QFETCH(QString, missed);
    RecordForm f(word.isEmpty() ? QList<KeyData>()
                                : kFruit + QList<KeyData>{{"big", "bRRihat|big, large"},
                                                          {"large", "mahat|huge"}});
    f.form->chkReadOnly->setChecked(false);
    f.form->ledEng->setFocus();
    for (const QString &answer : answers.split(' ', Qt::SkipEmptyParts))
        f.dialogs.setNextAnswer(answer == "Yes" ? Dialogs::Yes : Dialogs::No);
    const int anchor = int(text.indexOf('|'));
    const int position = int(text.lastIndexOf('|') - text.count('|') + 1);
    const auto out = captureOutput([&] {
        for (const QString &step : steps.split(' ')) {
            if (step == "edit")
                f.editMeaning("edited");
            else if (step == "key")
                f.form->ledEng->setText(text);
            else if (step == "Return" || step == "Tab")
                QTest::keyClick(step == "Tab" ? (QWidget *)f.form->tedITRANS : f.form->ledEng,
                                step == "Tab" ? Qt::Key_Tab : Qt::Key_Return);
            else if (step == "syn") {
                f.form->ledSyn->setText(QString(text).remove('|'));
                f.form->ledSyn->setSelection(anchor, position - anchor);
            } else
                f.click(step);
        }
    });

    QCOMPARE(f.word(), word);
    QCOMPARE(f.record(), record);
    QCOMPARE(isModified(f.form->tedITRANS), record.startsWith("edited"));
    QVERIFY(!f.form->ledSyn->isModified());
    QCOMPARE(out.out + out.err, QByteArray(steps.contains("Delete") ? "key: big deleted\n" : ""));
    QCOMPARE(f.boxes().filter(QRegularExpression("^information")),
             missed.isEmpty()
                 ? QStringList()
                 : QStringList{"information VANTRO - Search: " + missed + " not found"});
    QVERIFY(f.dialogs.scriptIsUsedUp() && f.dialogs.unscripted == 0);
    QCOMPARE(f.form->focusWidget(), steps.endsWith("Tab") ? f.form->ledSyn : f.form->ledEng);
}

// Every command that replaces edited meaning or synonyms asks first, and each answer does what
// its words say: Yes saves and goes on only when the record was written, No gives the edits up,
// Cancel stays. Closing the window asks the same, with Escape staying. The key field holds a new
// word: a move saves it as a new record and starts from the record the cursor stood on, while
// the searches save under the key of the record shown (apple) and look their word up. A lone
// Yes is given with Read Only ticked.
void TestRecords::unsavedEditAnswers_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("meaning");
    const int yes = Dialogs::Yes, no = Dialogs::No, cancel = Dialogs::Cancel;
    // Each command, then what it shows once it goes on: word/meaning dropped/meaning saved.
    for (const char *line :
         {"Next/mango/AmraH/AmraH", "Clear/zebra//", "Search/zebra//", "QV/mango/AmraH/AmraH",
          "LookUp/mango/AmraH/AmraH", "close/zebra/edited/edited"}) {
        const QStringList c = QString(line).split('/');
        auto row = [&c](const char *what, QList<int> answers, QString word, QString meaning) {
            QTest::addRow("%s: %s", qPrintable(c[0]), what) << c[0] << answers << word << meaning;
        };
        row("Cancel stays", {cancel}, "zebra", "edited");
        row("No gives the edits up", {no}, c[1], c[2]);
        row("Yes, Save answered No: stays", {yes, no}, "zebra", "edited");
        row("Yes, Save cancelled: stays", {yes, cancel}, "zebra", "edited");
        row("Yes under Read Only: stays", {yes}, "zebra", "edited");
        row("Yes, saved: goes on", {yes, yes}, c[1], c[3]);
    }
}

void TestRecords::unsavedEditAnswers()
{
    QFETCH(QString, command);
    QFETCH(QList<int>, answers);
    const bool readOnly = answers == QList<int>{Dialogs::Yes};
    RecordForm f;
    f.form->chkReadOnly->setChecked(readOnly);
    f.form->btnFirst->click();
    f.form->ledEng->setText("zebra");
    f.editMeaning("edited");
    f.form->ledSyn->setText("mango");
    f.form->ledSyn->setCursorPosition(0);
    f.form->english->setPlainText("Mango");
    for (int answer : answers)
        f.dialogs.setNextAnswer(answer);
    const bool saved = answers == QList<int>{Dialogs::Yes, Dialogs::Yes};
    const bool goesOn = saved || answers == QList<int>{Dialogs::No};
    if (command == "close")
        QCOMPARE(f.form->close(), goesOn);
    else
        f.click(command);

    QTEST(f.word(), "word");
    QTEST(f.form->tedITRANS->toPlainText(), "meaning");
    QCOMPARE(isModified(f.form->tedITRANS), !goesOn || (command == "close" && !saved));
    const bool searches = QStringList{"Search", "QV", "LookUp"}.contains(command);
    const KeyData edited(searches ? "apple" : "zebra", "edited|mango");
    QCOMPARE(f.stored().contains(edited), saved);
    if (saved)
        QCOMPARE(f.boxes().value(1), searches ? "question Confirm Add/Save: Replace the stored "
                                                "meaning of \"apple\"?\nIt reads: phalaM (No, No)"
                                              : "question Confirm Add/Save: Add \"zebra\" as a "
                                                "new record? (No, No)");
    QCOMPARE(f.boxes().constFirst(),
             "question Text Changed: Meaning/Synonym(s) modified. Save them? (Yes, " +
                 QString(command == "close" ? "Cancel)" : "Yes)"));
    QCOMPARE(f.dialogs.shown.constFirst().parent, f.form.get());
    QCOMPARE(f.boxes().constLast() == "information VANTRO: Read Only is ticked: nothing was saved.",
             readOnly);
    QVERIFY(f.dialogs.scriptIsUsedUp() && f.dialogs.unscripted == 0);
}

// The form shows the record Pear (stored with a capital by another tool) when the key is typed.
// Save and Delete take the key without surrounding blanks; Delete takes the key as typed when
// it is stored, else its lower-cased form; Save writes the record shown under its own key and
// shows the key as stored. Every refusal or failure is said in a box, with the reason on a
// second line, and leaves the form as it was. Delete says what it did on the standard output, a
// failed Save gives the box's first line there.
void TestRecords::keyedCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("meaning");  // '#' starts the synonyms
    QTest::addColumn<QString>("question"); // Save's, empty when not asked
    QTest::addColumn<QString>("box");      // the information box, empty when none
    QTest::addColumn<QStringList>("keys"); // stored afterwards
    auto row = [](const char *name, const char *command, const QString &typed,
                  const QString &meaning, const char *question, const QString &box,
                  const QStringList &keys = {"Pear", "pear", "water"}) {
        QTest::newRow(name) << QString(command) << typed << meaning << QString(question) << box
                            << keys;
    };
    const QString cannot = "Could not add/save record: water\n";
    row("delete, exact key with capitals", "Delete", "Pear", "", "", "", {"pear", "water"});
    row("delete, lower-cased key", "Delete", "WATER", "", "", "", {"Pear", "pear"});
    row("delete, blanks around the key", "Delete", " pear\t", "", "", "", {"Pear", "water"});
    row("delete, absent key: no question", "Delete", "absent", "x", "",
        "Could not delete record: absent\nthe word is not in the dictionary");
    row("delete, blank key", "Delete", "  ", "", "",
        "Could not delete record: \nthe word is empty");
    row("delete under Read Only", "Delete", "water", "x", "",
        "Read Only is ticked: nothing was deleted.");
    row("save the record shown: its key keeps the capital", "Save", "Pear", "x",
        "Replace the stored meaning of \"Pear\"?\nIt reads: phalaM", "");
    row("save over another record, blanks and capitals", "Save", " WATER ", "toyaM",
        "Replace the stored meaning of \"water\", which is not the record you are editing "
        "(\"Pear\")?\n"
        "It reads: jalaM udakaM toyaM nIraM ...",
        "");
    row("save, a new key is stored lower-cased", "Save", "Fig", "udumbaraH",
        "Add \"fig\" as a new record?", "", {"Pear", "fig", "pear", "water"});
    row("save, blank key", "Save", " ", "jalaM", "",
        "Could not add/save record: \nthe word is empty");
    row("save, meaning without a Latin-1 form", "Save", "water", QString::fromUtf8("जलम्"),
        "Replace the stored meaning of \"water\", which is not the record you are editing "
        "(\"Pear\")?\n"
        "It reads: jalaM udakaM toyaM nIraM ...",
        "Could not add/save record: water\nthe meaning holds characters the dictionary cannot "
        "store: it stores only Western European letters and ITRANS");
    row("save, a danda in the meaning", "Save", "water", "shAntiH | shamaH", "",
        "Could not add/save record: water\nthe meaning holds \"|\", which the dictionary keeps "
        "between the meaning and the synonyms; write a danda in a meaning as \";\"");
    row("save, a Devanagari danda in the meaning", "Save", "water",
        QString::fromUtf8("shAntiH \u0964 shamaH \u0965"), "",
        QString::fromUtf8("Could not add/save record: water\nthe meaning holds a Devanagari danda "
                          "(\u0964 or \u0965), which the dictionary cannot store; write a danda "
                          "in a meaning as \";\""));
    row("save, a Devanagari danda in the synonyms", "Save", "water",
        QString::fromUtf8("shAntiH#shamaH \u0964"), "",
        QString::fromUtf8("Could not add/save record: water\nthe synonyms hold a Devanagari danda "
                          "(\u0964 or \u0965), which the dictionary cannot store; write a danda "
                          "in a meaning as \";\""));
    row("save, synonyms without a meaning", "Save", "water", "#udakaM", "",
        "Could not add/save record: water\nsynonyms without a meaning would be read back as the "
        "meaning; give the record a meaning");
}

void TestRecords::keyedCommands()
{
    QFETCH(QString, command);
    QFETCH(QString, typed);
    QFETCH(QString, meaning);
    QFETCH(QString, question);
    QFETCH(QString, box);
    QFETCH(QStringList, keys);
    const bool readOnly = box.startsWith("Read Only");
    RecordForm f(
        {{"Pear", "phalaM"}, {"pear", "phalaM"}, {"water", "jalaM\nudakaM toyaM nIraM vAri"}});
    f.form->btnFirst->click();
    f.form->chkReadOnly->setChecked(readOnly);
    f.form->ledEng->setText(typed);
    const bool deleting = command == "Delete";
    if (!deleting || !meaning.isEmpty())
        f.editMeaning(meaning.section('#', 0, 0));
    f.form->ledSyn->setText(meaning.section('#', 1));
    f.dialogs.setNextAnswer(Dialogs::Yes);
    const auto out = captureOutput([&] { f.click(command); });

    QStringList stored;
    for (const KeyData &pair : f.stored())
        stored << pair.first;
    QCOMPARE(stored, keys);
    QCOMPARE(f.form->lblKeys->text(), "Keys: " + QString::number(keys.size()));
    const QString key =
        keys.contains(typed.trimmed()) ? typed.trimmed() : typed.trimmed().toLower();
    if (!deleting && box.isEmpty())
        QVERIFY(f.stored().contains(KeyData(key.toLatin1(), meaning.toLatin1())));
    const QString line = readOnly || (deleting && !box.isEmpty()) ? ""
                         : deleting      ? "key: " + typed.trimmed() + " deleted\n"
                         : box.isEmpty() ? ""
                                         : box.section('\n', 0, 0) + '\n';
    QVERIFY(line.isEmpty() ? out.out.isEmpty() : out.out.endsWith(line.toLatin1()));
    QStringList boxes = f.boxes();
    // Delete asks only about a record it can delete, and names it as stored.
    QStringList deletedKeys{"Pear", "pear", "water"};
    for (const QString &kept : stored)
        deletedKeys.removeOne(kept);
    if (deleting && box.isEmpty())
        QCOMPARE(boxes.takeFirst(), "question Confirm Delete: Delete the stored record \"" +
                                        deletedKeys.value(0) + "\"? (No, No)");
    if (!question.isEmpty())
        QCOMPARE(boxes.takeFirst(), "question Confirm Add/Save: " + question + " (No, No)");
    QCOMPARE(boxes, box.isEmpty() ? QStringList() : QStringList{"information VANTRO: " + box});
    // A failure keeps the form as it was, still modified; Save shows the key as stored.
    QCOMPARE(f.word(), !box.isEmpty() ? typed : deleting ? QString() : key);
    QCOMPARE(isModified(f.form->tedITRANS), !box.isEmpty() && (!deleting || !meaning.isEmpty()));
}

void TestRecords::realBoxesAreWired()
{
    RecordForm f;
    Dialogs::setCurrent(nullptr); // the real message boxes from here on
    f.form->chkReadOnly->setChecked(false);
    f.form->btnLast->click();
    f.editMeaning("edited");

    // Escape in the unsaved-change prompt answers Yes, which runs Save: its box then gets Yes.
    answerRealBoxes({"Escape", "Yes"});
    f.form->btnFirst->click();
    QCOMPARE(f.word(), "apple");
    QCOMPARE(f.stored().constLast(), KeyData("water", "edited|udakaM, toyaM"));
}

// The English text marks the cursor with one '|', a selection with two. A word looked up that is
// not a key is named in the not-found box.
// A search for cow finds nothing, a meaning is typed for it, then water is typed into the key
// field and deleted: the form's edits belong to cow, and Delete offers to save them first (Yes,
// the default, saves under cow; No gives them up; Cancel, also Escape, deletes nothing).
void TestRecords::deleteKeepsTypedEdits_data()
{
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("keys"); // stored afterwards
    QTest::addColumn<QString>("meaning");  // in the form afterwards
    const int yes = Dialogs::Yes, no = Dialogs::No, cancel = Dialogs::Cancel;
    QTest::newRow("Cancel deletes nothing")
        << QList<int>{cancel} << QStringList{"apple", "mango", "water"} << "gauH";
    QTest::newRow("No gives the edits up")
        << QList<int>{no, yes} << QStringList{"apple", "mango"} << "";
    QTest::newRow("Yes saves them under cow")
        << QList<int>{yes, yes, yes} << QStringList{"apple", "cow", "mango"} << "";
    QTest::newRow("Yes, Save answered No: nothing deleted")
        << QList<int>{yes, no} << QStringList{"apple", "mango", "water"} << "gauH";
    QTest::newRow("No, Delete answered No")
        << QList<int>{no, no} << QStringList{"apple", "mango", "water"} << "gauH";
}

void TestRecords::deleteKeepsTypedEdits()
{
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, keys);
    RecordForm f;
    f.form->chkReadOnly->setChecked(false);
    f.form->ledEng->setText("cow");
    f.click("Search");
    f.editMeaning("gauH");
    f.form->ledEng->setText("water");
    f.dialogs.shown.clear();
    for (int answer : answers)
        f.dialogs.setNextAnswer(answer);
    captureOutput([&] { f.click("Delete"); });

    QStringList stored;
    for (const KeyData &pair : f.stored())
        stored << pair.first;
    QCOMPARE(stored, keys);
    if (keys.contains("cow"))
        QVERIFY(f.stored().contains(KeyData("cow", "gauH")));
    QTEST(f.form->tedITRANS->toPlainText(), "meaning");
    QCOMPARE(isModified(f.form->tedITRANS), !f.form->tedITRANS->toPlainText().isEmpty());
    QCOMPARE(f.boxes().value(0),
             "question Text Changed: The meaning and synonyms in the form were typed for \"cow\" "
             "and are not saved; deleting \"water\" empties the form.\nSave them under \"cow\" "
             "first? (Yes, Cancel)");
    QVERIFY(f.dialogs.scriptIsUsedUp() && f.dialogs.unscripted == 0);
}

// Ctrl+I takes its word from the record the form shows now: a word chosen in the fields of the
// record shown before is forgotten when another is shown. Steps: a word typed into the key
// field and searched, "syn" (the synonyms' "world" selected, the focus there), QV.
void TestRecords::insertFromShownRecord_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("itrans"); // afterwards
    QTest::addColumn<QString>("status");
    QTest::newRow("QV: the new record, not the old selection") << "earth syn QV"
                                                               << "jagat"
                                                               << "";
    QTest::newRow("a search from the synonyms: the new record") << "earth syn world"
                                                                << "jagat"
                                                                << "";
    QTest::newRow("the chosen synonym of the record shown") << "earth syn"
                                                            << "world"
                                                            << "";
    QTest::newRow("not found: said in the status bar") << "cow"
                                                       << ""
                                                       << "\"cow\" has no meaning to insert.";
    QTest::newRow("nothing shown") << ""
                                   << ""
                                   << "No record is shown: nothing to insert.";
}

void TestRecords::insertFromShownRecord()
{
    QFETCH(QString, steps);
    RecordForm f({{"earth", "bhUmiH|world, universe"}, {"world", "jagat|lokaH"}});
    f.form->show();
    QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
    for (const QString &step : steps.split(' ', Qt::SkipEmptyParts)) {
        if (step == "syn") {
            f.form->ledSyn->setFocus();
            f.form->ledSyn->setSelection(0, 5);
        } else if (step == "QV") {
            QTest::keyClick(f.form->ledSyn, Qt::Key_Q, Qt::AltModifier);
            QTRY_COMPARE(f.form->ledEng->text(), "world"); // a shortcut clicks a moment later
        } else {
            f.form->ledEng->setText(step);
            f.form->btnSearch->click();
        }
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_I, Qt::ControlModifier);

    QTEST(f.form->itrans->toPlainText(), "itrans");
    QTEST(f.form->statusBar()->currentMessage(), "status");
}

// Ctrl+L looks up the English word after the one selected (Ctrl+Shift+L the one before), passing
// over numbers, punctuation and the common words unless they are kept; the ITRANS pane keeps the
// focus and its cursor. The English pane's selection is marked by '|', the ITRANS cursor by '@'.
void TestRecords::lookUpWordByWord_data()
{
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("keepCommonWords");
    QTest::addColumn<QString>("shown"); // the word selected afterwards, then the key field
    const auto row = [](const char *name, const char *english, const char *keys, bool keep,
                        const char *shown) {
        QTest::newRow(name) << QString(english) << QString(keys) << keep << QString(shown);
    };
    row("from the start: the first word that is not common", "|The 3 kings: went.", "Ctrl+L", false,
        "kings/king");
    row("after a selection, across a line break", "The |king|.\n12 of the earth", "Ctrl+L", false,
        "earth/earth");
    row("twice", "|The king went to the earth", "Ctrl+L Ctrl+L", false, "went/go");
    row("common words kept", "The |king| of earth", "Ctrl+L", true, "of/of");
    row("a word touching a digit is passed", "|3rd king", "Ctrl+L", false, "king/king");
    row("back from a selection", "The king's |earth|", "Ctrl+Shift+L", false, "king's/king");
    row("nothing after the last word: the record stays", "The |king|.", "Ctrl+L", false,
        "king/king");
}

void TestRecords::lookUpWordByWord()
{
    QFETCH(QString, english);
    QFETCH(QString, keys);
    QFETCH(bool, keepCommonWords);
    QFETCH(QString, shown);
    RecordForm f({{"earth", "bhUmiH"}, {"go", "gachChati"}, {"king", "rAjA"}});
    f.form->show();
    QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
    f.form->editSkipCommonWordsAction->setChecked(!keepCommonWords);
    const int anchor = int(english.indexOf('|'));
    const int position = int(english.lastIndexOf('|') - english.count('|') + 1);
    f.form->english->setPlainText(english.remove('|'));
    selectRange(f.form->english, anchor, position);
    if (position > anchor)
        f.form->btnLookUp->click();
    f.form->itrans->setPlainText("rAjA vanaM");
    selectRange(f.form->itrans, 4, 4);
    f.form->itrans->setFocus();
    for (const QString &key : keys.split(' ')) {
        const QKeyCombination combination = QKeySequence(key)[0];
        QTest::keyClick(f.form->itrans, combination.key(), combination.keyboardModifiers());
    }

    QCOMPARE(f.form->english->textCursor().selectedText() + '/' + f.form->ledEng->text(), shown);
    QCOMPARE(QApplication::focusWidget(), f.form->itrans);
    QCOMPARE(f.form->itrans->textCursor().position(), 4);
    QCOMPARE(f.form->itrans->toPlainText(), "rAjA vanaM");
    f.form->editSkipCommonWordsAction->setChecked(true);
}

void TestRecords::lookUp_data()
{
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("keyBefore");
    QTest::addColumn<QString>("keys"); // stored, comma-separated, each with its meaning "m-" + key
    QTest::addColumn<QString>("keyAfter");
    auto row = [](const char *name, const char *english, const char *keyBefore, const char *keys,
                  const char *keyAfter) {
        QTest::newRow(name) << QString(english) << QString(keyBefore) << QString(keys)
                            << QString(keyAfter);
    };
    row("cursor inside Running", "Run|ning fast", "", "run,sit", "run");
    row("cursor on the full stop after books: the word before it", "books|.", "boot", "book,boot",
        "book");
    row("no letter on either side: the key field", "walk | home", "WALL", "walk,wall", "wall");
    row("a word in a later paragraph", "first line\nthen |Walking", "", "walk,wall", "walk");
    row("a selected phrase", "See |The Old man| go", "", "the old man,zzz", "the old man");
    row("neither a key with capitals nor an unrelated beginning", "|unbook", "", "un,unbooK,zzz",
        "unbook");
    row("not found ends after one message", "|xyzzy", "", "abc", "xyzzy");
    row("no key inside the word: not found", "|well-being", "", "walk,wellness", "well");
    row("nothing at the cursor, empty key", "|  ", "", "walk", "");
    // The lemma: irregular forms, then the suffix rules; never an unrelated beginning.
    for (const char *pair :
         {"went:go", "children:child", "mice:mouse", "better:good", "wives:wife", "saw:see",
          "teeth:tooth", "hoping:hope", "stopped:stop", "walks:walk", "tried:try", "boxes:box",
          "weather:weather", "goal:goal", "mystery:mystery"}) {
        const QString word = QString(pair).section(':', 0, 0);
        const QString lemma = QString(pair).section(':', 1);
        const QString lemmaKey = lemma == word ? QString() : ',' + lemma;
        QTest::newRow(pair) << '|' + word << QString() << "we,go,my,hop,sto,walk,try,box" + lemmaKey
                            << lemma;
    }
}

void TestRecords::lookUp()
{
    QFETCH(QString, english);
    QFETCH(QString, keyBefore);
    QFETCH(QString, keys);
    QFETCH(QString, keyAfter);
    QList<vantro::test::KeyData> pairs;
    for (const QString &key : keys.split(','))
        pairs.append({key.toLatin1(), "m-" + key.toLatin1()});
    WorkspaceFixture fx;
    QVERIFY(vantro::test::DbUtilities::load(fx.path("morvak.db"), pairs));
    MainForm &form = fx.open();
    const int anchor = int(english.indexOf('|'));
    const int position = int(english.lastIndexOf('|') - english.count('|') + 1);
    english.remove('|');
    form.english->setPlainText(english);
    selectRange(form.english, anchor, position);
    form.ledEng->setText(keyBefore);

    form.btnLookUp->click();

    QCOMPARE(form.ledEng->text(), keyAfter);
    const bool notFound = !keyAfter.isEmpty() && !keys.split(',').contains(keyAfter);
    QCOMPARE(boxTexts(fx.dialogs),
             notFound ? QStringList{"information: " + keyAfter + " not found"} : QStringList());
    QCOMPARE(form.tedITRANS->toPlainText(),
             notFound || keyAfter.isEmpty() ? QString() : "m-" + keyAfter);
    QCOMPARE(form.english->toPlainText(), english);
}

// Browse loads a file into the English pane and gives it the focus. A file it cannot read leaves
// the pane, its cursor and the focus as they were and says why. A path that does not exist
// stands for an unreadable file: root reads any existing one.
void TestRecords::browse_data()
{
    QTest::addColumn<bool>("readable");
    QTest::newRow("readable") << true;
    QTest::newRow("unreadable") << false;
}

void TestRecords::browse()
{
    QFETCH(bool, readable);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.english->setPlainText("kept text");
    selectRange(form.english, 5, 5);
    form.itrans->setFocus();
    const QByteArray content = "The <b>old</b> man\nand the sea";
    const QString path = readable ? fx.write("english.txt", content) : fx.path("missing.txt");
    fx.dialogs.setNextFileName(path);

    const auto captured = captureOutput([&] { form.btnBrowse->click(); });

    QCOMPARE(form.english->toPlainText(), readable ? QString(content) : "kept text");
    QCOMPARE(form.focusWidget(), readable ? form.english : form.itrans);
    QCOMPARE(captured.out, readable ? QByteArray() : "could not read " + path.toLocal8Bit() + "\n");
    QCOMPARE(boxTexts(fx.dialogs).mid(1), readable
                                              ? QStringList()
                                              : QStringList{"information: Could not read " + path +
                                                            "\nNo such file or directory"});
    if (!readable)
        QCOMPARE(form.english->textCursor().position(), 5);
}

// File > Import Dictionary on the fruit dictionary: the box that ends it, the key count and the
// records afterwards. A Save after an import first takes the snapshot of the imported file.
void TestRecords::importDictionary_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QByteArray>("input"); // null: the file dialog is cancelled
    QTest::addColumn<int>("policy");       // the choice answered: keep, replace, append, -1 cancel
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("banana"); // the record stored afterwards, or none
    const QByteArray two = "apple\tseva\nbanana\tkadalI\n";
    QTest::newRow("Read Only ticked")
        << true << two << 0 << "Read Only is ticked: nothing was imported."
        << "";
    QTest::newRow("file dialog cancelled") << false << QByteArray() << 0 << ""
                                           << "";
    QTest::newRow("policy cancelled") << false << two << -1 << ""
                                      << "";
    QTest::newRow("refused file") << false << QByteArray("banana\n") << 0 << "line 1: no tab"
                                  << "";
    QTest::newRow("keep") << false << two << 0 << "added 1, kept 1, replaced 0, appended 0"
                          << "kadalI";
}

void TestRecords::importDictionary()
{
    QFETCH(bool, readOnly);
    QFETCH(QByteArray, input);
    QFETCH(int, policy);
    QFETCH(QString, box);
    QFETCH(QString, banana);
    RecordForm f;
    f.form->chkReadOnly->setChecked(readOnly);
    f.dialogs.setNextFileName(input.isNull() ? QString() : f.write("in.tsv", input));
    f.dialogs.setNextAnswer(policy);
    f.form->findChild<QAction *>("fileImportDictionaryAction")->trigger();
    const QStringList information = boxTexts(f.dialogs).filter("information: ");
    QCOMPARE(information.size(), box.isEmpty() ? 0 : 1);
    QVERIFY(information.join("").contains(box));
    QCOMPARE(f.form->lblKeys->text(), banana.isEmpty() ? "Keys: 3" : "Keys: 4");
    QCOMPARE(f.stored().value(1),
             banana.isEmpty() ? KeyData("mango", "AmraH|rasAlaH") : KeyData("banana", "kadalI"));
    if (banana.isEmpty())
        return;
    f.form->ledEng->setText("fig");
    f.editMeaning("udumbaraH");
    f.dialogs.setNextAnswer(Dialogs::Yes);
    f.click("Save");
    QVERIFY(
        vantro::test::DbUtilities::dump(f.path("morvak.db.bak")).contains({"banana", "kadalI"}));
}

// A StarDict dictionary of one HTML entry, named bookName.
static QString writeStarDict(const QString &base, const QByteArray &bookName,
                             const QByteArray &headword, const QByteArray &definition)
{
    QByteArray where(8, '\0');
    qToBigEndian(quint32(0), where.data());
    qToBigEndian(quint32(definition.size()), where.data() + 4);
    const QList<std::pair<QString, QByteArray>> files{
        {".ifo", "StarDict's dict ifo file\nversion=2.4.2\nbookname=" + bookName +
                     "\nwordcount=1\nsametypesequence=h\n"},
        {".idx", headword + '\0' + where},
        {".dict", definition}};
    for (const auto &[suffix, bytes] : files) {
        QFile file(base + suffix);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
    }
    return base + ".ifo";
}

// The import's options start as the dictionary's name tells them, and what the translator
// chooses in them is how the dictionary is read.
void TestRecords::importReading_data()
{
    QTest::addColumn<QByteArray>("bookName");
    QTest::addColumn<QString>("layout"); // chosen in the box; empty: left as it started
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("started"); // the layout and language the box started with
    QTest::addColumn<QString>("meaning"); // of the record imported
    QTest::newRow("Apte's, by its name")
        << QByteArray("apte-english-sanskrit-cologne (en-sa)") << ""
        << ""
        << "apte sa"
        << "tyaj (1 P), hA (3 P)";
    QTest::newRow("a name that tells nothing, Apte's chosen") << QByteArray("unnamed") << "apte"
                                                              << "sa"
                                                              << "plain sa"
                                                              << "tyaj (1 P), hA (3 P)";
    QTest::newRow("a name that tells nothing, left as it is") << QByteArray("unnamed") << ""
                                                              << ""
                                                              << "plain sa"
                                                              << "##Abandon,?v. t.?tyaj";
    QTest::newRow("Hindi chosen") << QByteArray("unnamed") << "plain"
                                  << "hi"
                                  << "plain sa"
                                  << "##[hi] ";
    QTest::newRow("Hindi, by its name") << QByteArray("eng-hin test") << ""
                                        << ""
                                        << "plain hi"
                                        << "##[hi] ";
}

void TestRecords::importReading()
{
    QFETCH(QByteArray, bookName);
    QFETCH(QString, layout);
    QFETCH(QString, language);
    RecordForm f;
    const QString ifo = writeStarDict(f.path("dictionary"), bookName, "abandon",
                                      "Abandon,\u24B8v. t.\u24B9tyaj 1 P, hA 3 P, muc 6 P.<BR>"
                                      "<a href=\"https://dub.sh/cslp?dict=AE&page=001\">PDF</a>");
    QVERIFY(!ifo.isEmpty());
    f.form->chkReadOnly->setChecked(false);
    f.dialogs.setNextFileName(ifo);
    f.dialogs.setNextAnswer(int(vantro::OnConflict::Keep));
    vantro::ArticleLayout chosen = vantro::ArticleLayout::Detect;
    if (!layout.isEmpty()) {
        QVERIFY(vantro::articleLayoutFromName(layout, chosen));
        f.dialogs.setNextImportReading(chosen, language);
    }
    f.form->findChild<QAction *>("fileImportDictionaryAction")->trigger();
    QVERIFY2(f.dialogs.scriptIsUsedUp(), qPrintable(boxTexts(f.dialogs).join('\n')));
    QFETCH(QString, started);
    QCOMPARE(boxTexts(f.dialogs).filter("import: "), QStringList{"import: " + started});
    QFETCH(QString, meaning);
    const vantro::test::KeyData abandon = f.stored().value(0);
    QCOMPARE(abandon.first, "abandon");
    QVERIFY2(abandon.second.startsWith(meaning.toLatin1()), abandon.second.constData());
}

// The options box by keys alone: each field has a mnemonic of its own, a language code the
// import would refuse cannot be imported with, and Enter imports.
void TestRecords::importOptionsByKeys()
{
    ImportOptionsDialog dialog("/tmp/apte.ifo",
                               {vantro::OnConflict::Keep, vantro::ArticleLayout::Apte, "hi"});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *policy = dialog.findChild<QComboBox *>("importPolicy");
    auto *layout = dialog.findChild<QComboBox *>("importLayout");
    auto *language = dialog.findChild<QComboBox *>("importLanguage");
    QCOMPARE(layout->currentText(), "Apte's English-Sanskrit");
    QCOMPARE(language->currentText(), "hi (Hindi)");
    QSet<QChar> mnemonics;
    QStringList texts;
    for (QLabel *label : dialog.findChildren<QLabel *>())
        texts.append(label->text());
    QPushButton *import = nullptr;
    for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
        texts.append(button->text());
        if (button->text() == "&Import")
            import = button;
    }
    QVERIFY(import);
    for (const QString &text : texts) {
        if (const qsizetype at = text.indexOf('&'); at >= 0) {
            QVERIFY2(!mnemonics.contains(text.at(at + 1).toLower()), qPrintable(text));
            mnemonics.insert(text.at(at + 1).toLower());
        }
    }
    QCOMPARE(mnemonics.size(), 4);
    QTest::keyClick(&dialog, Qt::Key_L, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), layout);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(layout->currentText(), "Monier-Williams' English-Sanskrit");
    QTest::keyClick(&dialog, Qt::Key_W, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), policy);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(&dialog, Qt::Key_G, Qt::AltModifier);
    QVERIFY(language->hasFocus());
    language->lineEdit()->selectAll();
    QTest::keyClicks(language->lineEdit(), "x1");
    QVERIFY(!import->isEnabled());
    language->lineEdit()->selectAll();
    QTest::keyClicks(language->lineEdit(), "pi");
    QVERIFY(import->isEnabled());
    QTest::keyClick(language->lineEdit(), Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const ImportChoices chosen = dialog.choices();
    QCOMPARE(chosen.policy, vantro::OnConflict::Replace);
    QCOMPARE(chosen.layout, vantro::ArticleLayout::MonierWilliams);
    QCOMPARE(chosen.language, "pi");
}

void TestRecords::exportDictionary()
{
    RecordForm f;
    f.dialogs.setNextFileName(f.path("mine"));
    f.form->findChild<QAction *>("fileExportDictionaryAction")->trigger();
    QCOMPARE(boxTexts(f.dialogs).constLast(),
             "information: Exported 3 records to " + f.path("mine.ifo") + ".");
    QVERIFY(QFile::exists(f.path("mine.dict.dz")) && QFile::exists(f.path("mine.idx")));
}

void TestRecords::insertMeaning_data()
{
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<int>("cursor"); // in the meaning field, -1 with the focus elsewhere
    QTest::addColumn<QString>("inserted");
    QTest::newRow("the first word") << "tyaj (1 P), parityaj" << -1 << "tyaj";
    QTest::newRow("never the fenced English before it")
        << "##To ABANDON, v. a.## tyaj ##(c. 1.## tyajati" << -1 << "tyaj";
    QTest::newRow("the word at the cursor") << "tyaj (1 P), parityaj" << 14 << "parityaj";
    QTest::newRow("a cursor in a fence: the first word")
        << "utsah (1 A) ##with inf.##" << 16 << "utsah";
}

// Ctrl+I puts the meaning's Sanskrit word into the ITRANS pane, never text fenced as English.
void TestRecords::insertMeaning()
{
    QFETCH(QString, meaning);
    QFETCH(int, cursor);
    RecordForm f;
    f.form->show();
    f.form->tedITRANS->setPlainText(meaning);
    if (cursor >= 0) {
        f.form->tedITRANS->setFocus();
        QTextCursor at = f.form->tedITRANS->textCursor();
        at.setPosition(cursor);
        f.form->tedITRANS->setTextCursor(at);
    }
    f.form->itrans->setFocus();
    f.form->findChild<QAction *>("editInsertMeaningAction")->trigger();
    QTEST(f.form->itrans->toPlainText(), "inserted");
}

// A page that goes bad on the disk while the window has the dictionary open: the Search that
// reads it says so and offers the repair, rather than "not found"; Yes rebuilds the file from
// the snapshot taken at the open, and the word is found again.
void TestRecords::searchOnDamageOffersRepair()
{
    QList<KeyData> pairs;
    for (int i = 0; i < 100000; ++i)
        pairs.append({"word" + QByteArray::number(i).rightJustified(6, '0'),
                      "artha" + QByteArray::number(i)});
    WorkspaceFixture fx;
    const QString db = fx.path("morvak.db");
    QVERIFY(vantro::test::DbUtilities::load(db, pairs, "btree\nchksum=1"));
    MainForm &form = fx.open();
    // The leaf that holds an early word, found by its bytes: the walk that counts the records at
    // the open has long pushed it out of the library's cache.
    QFile file(db);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QByteArray bytes = file.readAll();
    const qint64 leaf = bytes.indexOf("word000500") / 4096 * 4096;
    QVERIFY(leaf > 0 && file.seek(leaf + 2048) && file.write("\xff") == 1);
    file.close();
    fx.dialogs.setNextAnswer(Dialogs::Yes);
    form.ledEng->setText("word000500");

    const auto captured = captureOutput([&] { form.btnSearch->click(); });

    const QStringList texts = boxTexts(fx.dialogs);
    QVERIFY2(
        texts.size() >= 2 && texts[0].startsWith("question: morvak.db is damaged") &&
            texts[0].endsWith("Repair it now? The damaged file is kept.") &&
            texts[1].contains("rebuilt it from"),
        qPrintable(texts.join("\n") + "/" + form.tedITRANS->toPlainText() + "/" + captured.err));
    QVERIFY(QFileInfo::exists(db + ".damaged"));
    fx.dialogs.shown.clear();
    form.btnSearch->click();
    QCOMPARE(form.tedITRANS->toPlainText(), QString("artha500"));
    QCOMPARE(vantro::test::DbUtilities::dump(db).size(), pairs.size());
}

QTEST_MAIN(TestRecords)
#include "tst_records.moc"
