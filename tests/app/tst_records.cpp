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
using vantro::test::KeyData;

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

    MainForm &w() { return *form; }
    QString word() { return form->ledEng->text(); }
    QString record() { return form->tedITRANS->toPlainText() + '|' + form->ledSyn->text(); }
    QList<KeyData> stored() { return vantro::test::DbUtilities::dump(path("morvak.db")); }

    // Edits the way typing does: the field becomes modified. A null text leaves a field alone.
    void edit(const QString &word, const QString &meaning = {})
    {
        if (!word.isNull()) {
            form->ledEng->setText(word);
            form->ledEng->setModified(true);
        }
        if (!meaning.isNull()) {
            form->tedITRANS->setPlainText(meaning);
            form->tedITRANS->document()->setModified(true);
        }
    }
    QStringList boxes() const
    {
        QStringList texts;
        for (const ScriptedDialogs::Shown &box : dialogs.shown)
            texts.append(box.kind + ' ' + box.title + ": " + box.text);
        return texts;
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
    void navigation_data();
    void navigation();
    void unsavedEditAnswers_data();
    void unsavedEditAnswers();
    void keyedCommands_data();
    void keyedCommands();
    void searchAndCrossReference_data();
    void searchAndCrossReference();
    void realBoxesAreWired();
};

// Steps: F L N P C D press First, Last, Next, Prev, Clear and Delete (Read Only unticked, its
// confirmation answered Yes); e edits the meaning, k the key alone. Every "Save them?" is
// answered No, which gives the edits up only when the move happens.
void TestRecords::navigation_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("asked");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("record");
    QTest::addColumn<bool>("empty");
    auto row = [](const char *name, const char *steps, int asked, const char *word,
                  const char *record, bool empty = false) {
        QTest::newRow(name) << QString(steps) << asked << QString(word) << QString(record) << empty;
    };
    row("Next from no position", "N", 0, "apple", "phalaM|");
    row("Prev from no position, First, Last", "PFL", 0, "water", "jalaM|udakaM, toyaM");
    row("Prev on the first record stays", "FP", 0, "apple", "phalaM|");
    row("a failed move keeps the edit", "LeN", 1, "water", "edited|udakaM, toyaM");
    row("the next move asks again", "LeNP", 2, "mango", "AmraH|rasAlaH");
    row("an edited key alone does not ask", "kN", 0, "apple", "phalaM|");
    row("Next after a Delete continues", "NNDN", 0, "water", "jalaM|udakaM, toyaM");
    row("Clear without edits keeps the key", "LC", 0, "water", "|");
    row("an empty dictionary moves silently", "FLNP", 0, "", "|", true);
}

void TestRecords::navigation()
{
    QFETCH(QString, steps);
    QFETCH(int, asked);
    QFETCH(bool, empty);
    RecordForm f(empty ? QList<KeyData>() : kFruit);
    QVERIFY(f.w().chkReadOnly->isChecked() && f.word().isEmpty());
    QCOMPARE(f.w().lblKeys->text(), empty ? "Keys: 0" : "Keys: 3");
    f.w().ledEng->setFocus();
    for (int i = 0; i < asked; ++i)
        f.dialogs.setNextAnswer(Dialogs::No);
    const QMap<QChar, QPushButton *> buttons{{'F', f.w().btnFirst}, {'L', f.w().btnLast},
                                             {'N', f.w().btnNext},  {'P', f.w().btnPrev},
                                             {'C', f.w().btnClear}, {'D', f.w().btnDelete}};
    const auto out = captureOutput([&] {
        for (QChar step : steps) {
            if (step == 'e' || step == 'k')
                f.edit(step == 'k' ? "typed" : QString(), step == 'e' ? "edited" : QString());
            if (step == 'D') {
                f.w().chkReadOnly->setChecked(false);
                f.dialogs.setNextAnswer(Dialogs::Yes);
            }
            if (buttons.contains(step))
                buttons[step]->click();
        }
    });

    QTEST(f.word(), "word");
    QTEST(f.record(), "record");
    QCOMPARE(isModified(f.w().tedITRANS), f.record().startsWith("edited"));
    QVERIFY(!f.w().ledEng->isModified());
    QCOMPARE(out.out, steps.contains('D') ? QByteArray("key: mango deleted\n") : QByteArray());
    QVERIFY(out.err.isEmpty());
    QCOMPARE(f.dialogs.shown.size(), asked + steps.count('D'));
    QVERIFY(f.dialogs.scriptIsUsedUp() && f.dialogs.unscripted == 0);
    QCOMPARE(f.w().focusWidget() == f.w().tedITRANS, steps.endsWith('C'));
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
    f.edit("zebra", "edited");
    f.w().ledSyn->setText("mango");
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
    QTEST(f.w().tedITRANS->toPlainText(), "meaning");
    QCOMPARE(isModified(f.w().tedITRANS), !goesOn || (command == "close" && !saved));
    QCOMPARE(f.stored().constLast(),
             saved ? KeyData("zebra", "edited|mango") : KeyData("water", "jalaM|udakaM, toyaM"));
    const ScriptedDialogs::Shown prompt = f.dialogs.shown.constFirst();
    QCOMPARE(prompt.title, "Text Changed");
    QCOMPARE(prompt.parent, &f.w());
    QCOMPARE(QList<int>({prompt.defaultButton, prompt.escapeButton}),
             QList<int>({Dialogs::Yes, command == "close" ? Dialogs::Cancel : Dialogs::Yes}));
    QCOMPARE(f.boxes().constLast() == "information VANTRO: Read Only is ticked: nothing was saved.",
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
    auto row = [](const char *name, const char *command, const QString &typed,
                  const QString &meaning, bool readOnly, const char *line, const char *box,
                  const QStringList &keys = {"Pear", "pear", "water"}) {
        QTest::newRow(name) << QString(command) << typed << meaning << readOnly << QByteArray(line)
                            << QString(box) << keys;
    };
    row("delete, exact key with capitals", "delete", "Pear", "", false, "key: Pear deleted\n", "",
        {"pear", "water"});
    row("delete, lower-cased key", "delete", "WATER", "", false, "key: WATER deleted\n", "",
        {"Pear", "pear"});
    row("delete, blanks around the key", "delete", " pear\t", "", false, "key: pear deleted\n", "",
        {"Pear", "water"});
    row("delete, absent key", "delete", "absent", "x", false, "key: absent not deleted\n",
        "Could not delete record: absent\nthe word is not in the dictionary");
    row("delete, blank key", "delete", "  ", "", false, "key:  not deleted\n",
        "Could not delete record: \nthe word is empty");
    row("delete under Read Only", "delete", "water", "x", true, "",
        "Read Only is ticked: nothing was deleted.");
    row("save over a key in other letters, blanks around it", "save", " WATER ", "toyaM", false, "",
        "");
    row("save, a new key is stored lower-cased", "save", "Fig", "udumbaraH", false, "", "",
        {"Pear", "fig", "pear", "water"});
    row("save, blank key", "save", " ", "jalaM", false, "Could not add/save record: \n",
        "Could not add/save record: \nthe word is empty");
    row("save, meaning without a Latin-1 form", "save", "water", QString::fromUtf8("जलम्"), false,
        "Could not add/save record: water\n",
        "Could not add/save record: water\nthe meaning holds characters without a Latin-1 form");
    row("save under Read Only", "save", "fig", "x", true, "",
        "Read Only is ticked: nothing was saved.");
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
    RecordForm f({{"Pear", "phalaM"}, {"pear", "phalaM"}, {"water", "jalaM"}});
    f.w().chkReadOnly->setChecked(readOnly);
    f.edit(typed, meaning);
    f.dialogs.setNextAnswer(Dialogs::Yes);
    const bool deleting = command == "delete";
    const auto out = captureOutput([&] { (deleting ? f.w().btnDelete : f.w().btnSave)->click(); });

    QMap<QByteArray, QByteArray> stored;
    for (const KeyData &pair : f.stored())
        stored.insert(pair.first, pair.second);
    QCOMPARE(QStringList(stored.keyBegin(), stored.keyEnd()), keys);
    QCOMPARE(f.w().lblKeys->text(), "Keys: " + QString::number(keys.size()));
    if (!deleting && box.isEmpty())
        QCOMPARE(stored.value(typed.trimmed().toLower().toLatin1()), meaning.toLatin1());
    QVERIFY(line.isEmpty() ? out.out.isEmpty() : out.out.endsWith(line));
    QStringList boxes = f.boxes();
    if (!readOnly) {
        const ScriptedDialogs::Shown confirm = f.dialogs.shown.constFirst();
        QCOMPARE(boxes.takeFirst(), deleting ? "question Confirm Delete: Confirm Delete?"
                                             : "question Confirm Add/Save: Confirm Add/Save?");
        QCOMPARE(QList<int>({confirm.defaultButton, confirm.escapeButton}),
                 QList<int>({Dialogs::No, Dialogs::No}));
    }
    QCOMPARE(boxes, box.isEmpty() ? QStringList() : QStringList{"information VANTRO: " + box});
    // Save leaves the key as typed, still modified; Delete empties the form.
    QCOMPARE(f.word(), deleting && !readOnly ? QString() : typed);
    QCOMPARE(f.w().ledEng->isModified(), !deleting || readOnly);
    QCOMPARE(isModified(f.w().tedITRANS), !box.isEmpty() && (!deleting || readOnly));
}

// Search takes the key field without surrounding blanks; QV the selected synonyms, else the word
// at the cursor ('|' marks the cursor, two mark a selection), and does nothing without one. A
// word not found is named in a box, and the form keeps no record's meaning under it.
void TestRecords::searchAndCrossReference_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("notFound");
    auto row = [](const char *command, const char *typed, const char *word, const char *record,
                  const char *notFound) {
        QTest::addRow("%s %s", command, typed)
            << QString(command) << QString(typed) << QString(word) << QString(record)
            << QString(notFound);
    };
    row("search", "Walking", "walk", "cal|", "");
    row("search", " WALL ", "wall", "bhittiH|", "");
    row("search", "", "apple", "phalaM|", "");
    row("search", "cow", "cow", "|", "cow");
    row("qv", "big, la|rge", "large", "mahat|huge", "");
    row("qv", "big|, large", "big", "before|big, large", "");
    row("qv", "bi|g, l|arge", "g, l", "|", "g, l");
}

void TestRecords::searchAndCrossReference()
{
    QFETCH(QString, command);
    QFETCH(QString, typed);
    QFETCH(QString, notFound);
    RecordForm f({{"apple", "phalaM"},
                  {"big", "bRRihat|big, large"},
                  {"large", "mahat|huge"},
                  {"walk", "cal"},
                  {"wall", "bhittiH"}});
    const bool search = command == "search";
    const int anchor = int(typed.indexOf('|'));
    const int position = int(typed.lastIndexOf('|') - typed.count('|') + 1);
    f.w().ledEng->setText(search ? typed : "big");
    f.w().tedITRANS->setPlainText("before");
    f.w().ledSyn->setText(search ? "too" : typed.remove('|'));
    if (!search)
        f.w().ledSyn->setSelection(anchor, position - anchor);
    (search ? f.w().btnSearch : f.w().btnQV)->click();

    QTEST(f.word(), "word");
    QTEST(f.record(), "record");
    QVERIFY(!isModified(f.w().tedITRANS) && !f.w().ledSyn->isModified());
    QCOMPARE(f.boxes(),
             notFound.isEmpty()
                 ? QStringList()
                 : QStringList{"information VANTRO - Search: " + notFound + " not found"});
}

void TestRecords::realBoxesAreWired()
{
    RecordForm f;
    Dialogs::setCurrent(nullptr); // the real message boxes from here on
    f.w().show();
    f.w().chkReadOnly->setChecked(false);
    f.w().btnLast->click();
    f.edit({}, "edited");

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
    QCOMPARE(f.stored().constLast(), KeyData("water", "edited|udakaM, toyaM"));
}

QTEST_MAIN(TestRecords)
#include "tst_records.moc"
