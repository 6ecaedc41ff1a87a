// SPDX-License-Identifier: GPL-3.0-or-later
// View > Word Forms and Edit > Join with Sandhi on the ITRANS pane: each a single undo step.

#include "itranstext.h"
#include "sandhi.h"
#include "sanskritchecker.h"
#include "wordformswindow.h"
#include "workspacefixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QtTest>

namespace {

// The pane holding the word alone, read once the analyser is ready, and Ctrl+K on it.
void openOnWordOfThePane(WorkspaceFixture &fx, const QString &word, WordFormsWindow **window)
{
    MainForm &form = fx.open();
    form.show();
    auto *checker = form.findChild<SanskritChecker *>();
    QTRY_VERIFY_WITH_TIMEOUT(checker->analyser(), 20000);
    form.itrans->setPlainText(word);
    form.itrans->setFocus();
    form.findChild<QAction *>("viewWordFormsAction")->trigger();
    *window = form.findChild<WordFormsWindow *>();
    QVERIFY(*window && (*window)->isVisible());
}

} // namespace

class TestWordForms : public QObject
{
    Q_OBJECT

private slots:
    void wordAtCursor_data();
    void wordAtCursor();
    void paneCommands_data();
    void paneCommands();
    void meaningWithTag_data();
    void meaningWithTag();
    void derivatives_data();
    void derivatives();
    void krtFormOfThePane_data();
    void krtFormOfThePane();
    void finiteFormOfThePane_data();
    void finiteFormOfThePane();
    void formsWindowKeys();
};

// The word Ctrl+K takes from a line of the pane, the cursor marked by "@".
void TestWordForms::wordAtCursor_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("word");
    const auto row = [](const char *name, const char *line, const char *word) {
        QTest::newRow(name) << QString(line) << QString(word);
    };
    row("inside a word", "rAmaH de@vaH pashyati", "devaH");
    row("at its start", "rAmaH @devaH", "devaH");
    row("after blanks and a danda: the word just typed", "rAjA | @", "rAjA");
    row("ITRANS signs are letters", "rAmo.a@tra R^iShi~NkaH.", "rAmo.atra");
    row("the sentence's punctuation is not", "(R^iShi~NkaH.)@", "R^iShi~NkaH");
    row("blank line", "  @", "");
}

void TestWordForms::wordAtCursor()
{
    QFETCH(QString, line);
    const int position = int(line.indexOf('@'));
    line.remove(position, 1);
    const vantro::WordSpan span = vantro::wordNearCursor(line, position);
    QTEST(vantro::splitSentencePunctuation(line.mid(span.start, span.end - span.start)).word,
          "word");
}

void TestWordForms::paneCommands_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("downs"); // arrow keys pressed in the forms table before Enter
    QTest::addColumn<QString>("expected");
    const QString joined = vantro::joinLine(u"rAmaH atra");
    // Nominative, accusative, instrumental singular: devena replaces devaH, inside its brackets.
    QTest::newRow("word forms: the chosen form replaces the word at the cursor")
        << "rAmaH (devaH) pashyati" << 9 << 9 << "viewWordFormsAction" << 2
        << "rAmaH (devena) pashyati";
    QTest::newRow("join: the cursor's line")
        << "rAmaH atra\nrAmaH atra" << 2 << 2 << "editJoinSandhiAction" << 0
        << joined + "\nrAmaH atra";
    QTest::newRow("join: the selection, over two lines")
        << "x\nrAmaH atra\nrAmaH atra\ny" << 2 << 23 << "editJoinSandhiAction" << 0
        << "x\n" + joined + "\n" + joined + "\ny";
}

void TestWordForms::paneCommands()
{
    QFETCH(QString, text);
    QFETCH(int, downs);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.show();
    form.itrans->setPlainText(text);
    form.itrans->setFocus();
    QFETCH(int, anchor);
    QFETCH(int, position);
    selectRange(form.itrans, anchor, position);
    QFETCH(QString, action);
    form.findChild<QAction *>(action)->trigger();
    if (auto *window = form.findChild<WordFormsWindow *>()) {
        QVERIFY(window->isVisible());
        auto *table = window->findChild<QTableView *>();
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(table, Qt::Key_Down);
        QTest::keyClick(table, Qt::Key_Return);
        QTest::keyClick(table, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }
    QTEST(form.itrans->toPlainText(), "expected");
    form.editUndoAction->trigger();
    QCOMPARE(form.itrans->toPlainText(), text);
    QVERIFY(!form.itrans->document()->isUndoAvailable());
}

void TestWordForms::meaningWithTag_data()
{
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("reading");
    QTest::addColumn<QString>("use");  // the verb the table shows, with " passive" when it is
    QTest::addColumn<QString>("note"); // what the status line says of the word
    QTest::newRow("the class and pada stated, after fenced English")
        << "##To ABHOR## garh (1 A), bAdh (desid.)"
        << "garh"
        << "verb root garh, class 1"
        << "the root"
        << "";
    QTest::newRow("the gender stated") << "kukShiH (m.), udaraM"
                                       << "kukShiH"
                                       << "noun stem kukShi, masculine"
                                       << "the root"
                                       << "";
    QTest::newRow("the adjective's endings") << "vakraH -krA -kraM"
                                             << "vakraH"
                                             << "noun stem vakra, masculine"
                                             << "the root"
                                             << "";
    // A form with its root named: the word stays as printed, the root stated leads.
    QTest::newRow("the root stated beside a verb form") << "gacChati (gam 1 P)"
                                                        << "gacChati"
                                                        << "verb root gam, class 1"
                                                        << "the root"
                                                        << "";
    QTest::newRow("a causative") << "tyaj (caus.), hA (3 P)"
                                 << "tyaj"
                                 << "verb root tyaj, class 1"
                                 << "causative"
                                 << "";
    QTest::newRow("a desiderative of the root named") << "titikShate (desid. of sah)"
                                                      << "titikShate"
                                                      << "verb root sah, class 1"
                                                      << "desiderative"
                                                      << "";
    QTest::newRow("a passive") << "tyaj (1 P) (pass.)"
                               << "tyaj"
                               << "verb root tyaj, class 1"
                               << "the root passive"
                               << "";
    QTest::newRow("a denominative: a note, no table of its own") << "kanayati (nom.)"
                                                                 << "kanayati"
                                                                 << ""
                                                                 << "the root"
                                                                 << "a denominative";
}

// Word Forms from the record form takes the meaning's first Sanskrit word and reads the grammar
// the dictionary states after it before guessing.
void TestWordForms::meaningWithTag()
{
    QFETCH(QString, meaning);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.tedITRANS->setPlainText(meaning);
    form.ledEng->setFocus();
    form.findChild<QAction *>("viewWordFormsAction")->trigger();
    auto *window = form.findChild<WordFormsWindow *>();
    QVERIFY(window);
    QTEST(window->findChild<QLineEdit *>("wordFormsWord")->text(), "word");
    QFETCH(QString, reading);
    const QString first = window->findChild<QComboBox *>("wordFormsReading")->itemText(0);
    QVERIFY2(first.startsWith(reading), qPrintable(first));
    const QString use =
        window->findChild<QComboBox *>("wordFormsDerived")->currentText() +
        (window->findChild<QCheckBox *>("wordFormsPassive")->isChecked() ? " passive" : "");
    QTEST(use, "use");
    QFETCH(QString, note);
    const QString status = window->findChild<QLabel *>("wordFormsStatus")->text();
    QVERIFY2(note.isEmpty() ? !status.contains("denominative") : status.contains(note),
             qPrintable(status));
}

// The last entry of the tense box offers the forms made from the root; a participle is
// declined in the gender chosen, its feminine from a stem of its own.
void TestWordForms::derivatives_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("entry"); // in the krt box
    QTest::addColumn<int>("gender");
    QTest::addColumn<QString>("expected");
    QTest::newRow("past passive participle, feminine") << "gachChati" << 0 << 1 << "gatA";
    QTest::newRow("past passive participle, neuter") << "gachChati" << 0 << 2 << "gatam";
    QTest::newRow("present participle, feminine") << "gachChati" << 2 << 1 << "gachChantI";
    QTest::newRow("a class the root is not known in: nothing") << "gam 4" << 0 << 0 << "";
}

void TestWordForms::derivatives()
{
    QFETCH(QString, word);
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.show();
    form.findChild<QAction *>("viewWordFormsAction")->trigger();
    auto *window = form.findChild<WordFormsWindow *>();
    QVERIFY(window);
    const QStringList parts = word.split(u' ');
    window->lookUp(parts.first(), QTextCursor());
    auto *reading = window->findChild<QComboBox *>("wordFormsReading");
    for (int i = reading->count() - 1; i >= 0; --i) {
        if (reading->itemText(i).startsWith(u"verb"))
            reading->setCurrentIndex(i); // the first reading as a verb, the guessed root
    }
    if (parts.size() > 1)
        window->findChild<QSpinBox *>()->setValue(parts.at(1).toInt());
    auto *tense = window->findChild<QComboBox *>("wordFormsTense");
    tense->setCurrentIndex(tense->count() - 1);
    QFETCH(int, entry);
    QFETCH(int, gender);
    window->findChild<QComboBox *>("wordFormsDerivative")->setCurrentIndex(entry);
    window->findChild<QComboBox *>("wordFormsDerivativeGender")->setCurrentIndex(gender);
    QTEST(window->chosenForm(), "expected");
}

// Ctrl+K on a participle, gerund or infinitive of the pane opens on its root with the krt box on
// the entry that makes it, a participle's gender chosen and its own cell current.
void TestWordForms::krtFormOfThePane_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("entry"); // the krt box's
    QTest::addColumn<int>("gender");
    QTest::newRow("past passive participle, masculine") << "gataH"
                                                        << "gam"
                                                        << "past passive participle: gata" << 0;
    QTest::newRow("past passive participle, feminine, instrumental")
        << "gatayA"
        << "gam"
        << "past passive participle: gata" << 1;
    QTest::newRow("present participle, masculine, accusative")
        << "gachChantam"
        << "gam"
        << "present active participle: gachChat" << 0;
    QTest::newRow("gerund") << "gatvA"
                            << "gam"
                            << "gerund: gatvA" << 0;
    QTest::newRow("gerund after a prefix") << "Agatya"
                                           << "A-gam"
                                           << "gerund: Agatya" << 0;
    QTest::newRow("infinitive") << "gantum"
                                << "gam"
                                << "infinitive: gantum" << 0;
}

void TestWordForms::krtFormOfThePane()
{
    QFETCH(QString, word);
    WorkspaceFixture fx;
    WordFormsWindow *window = nullptr;
    openOnWordOfThePane(fx, word, &window);
    if (QTest::currentTestFailed())
        return;
    QTEST(window->findChild<QLineEdit *>("wordFormsWord")->text(), "root");
    auto *tense = window->findChild<QComboBox *>("wordFormsTense");
    QCOMPARE(tense->currentIndex(), tense->count() - 1);
    QTEST(window->findChild<QComboBox *>("wordFormsDerivative")->currentText(), "entry");
    QTEST(window->findChild<QComboBox *>("wordFormsDerivativeGender")->currentIndex(), "gender");
    QCOMPARE(window->chosenForm(), word);
}

// A finite form of the pane opens the table of its tense and pada, on its cell.
void TestWordForms::finiteFormOfThePane_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("tense");
    QTest::addColumn<QString>("pada");
    QTest::newRow("present, atmanepada") << "labhate"
                                         << "present"
                                         << "atmanepada";
    QTest::newRow("imperfect") << "agachChat"
                               << "imperfect"
                               << "parasmaipada";
    QTest::newRow("periphrastic future") << "gantA"
                                         << "periphrastic future"
                                         << "parasmaipada";
}

void TestWordForms::finiteFormOfThePane()
{
    QFETCH(QString, word);
    WorkspaceFixture fx;
    WordFormsWindow *window = nullptr;
    openOnWordOfThePane(fx, word, &window);
    if (QTest::currentTestFailed())
        return;
    QTEST(window->findChild<QComboBox *>("wordFormsTense")->currentText(), "tense");
    QTEST(window->findChild<QComboBox *>("wordFormsPada")->currentText(), "pada");
    QCOMPARE(window->chosenForm(), word);
}

// The Word Forms window hides neither the ITRANS line nor the record form; Right steps to the
// next ITRANS cell with its Devanagari selected beside it; Escape in the main window puts the
// window away and Ctrl+Shift+K brings it back with the keyboard in its table; a word of another
// stem starts at the first cell, another form of the same stem keeps the cell.
void TestWordForms::formsWindowKeys()
{
    WorkspaceFixture fx;
    MainForm &form = fx.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.itrans->setPlainText("devaH");
    form.itrans->setFocus();
    QTest::keyClick(form.itrans, Qt::Key_K, Qt::ControlModifier);
    auto *window = form.findChild<WordFormsWindow *>();
    QVERIFY(window && window->isVisible());
    const QRect line(form.itrans->viewport()->mapToGlobal(form.itrans->cursorRect().topLeft()),
                     form.itrans->cursorRect().size());
    const QRect record(form.frame4->mapToGlobal(QPoint(0, 0)), form.frame4->size());
    QVERIFY(!window->frameGeometry().intersects(line));
    QVERIFY(!window->frameGeometry().intersects(record));
    auto *table = window->findChild<QTableView *>();
    QTRY_COMPARE(QApplication::focusWidget(), table);
    QTest::keyClick(table, Qt::Key_Right);
    QTest::keyClick(table, Qt::Key_Down);
    QTRY_COMPARE(table->selectionModel()->selectedIndexes().size(), 2);
    QCOMPARE(table->currentIndex(), table->model()->index(1, 2));
    QTest::keyClick(table, Qt::Key_Return);
    QCOMPARE(form.itrans->toPlainText(), "devau");
    QTRY_VERIFY(QApplication::activeWindow() == &form);
    QTest::keyClick(form.itrans, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
    QTest::keyClick(form.itrans, Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(window->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), table);
    QCOMPARE(table->currentIndex(), table->model()->index(1, 2));

    window->lookUp("devam", QTextCursor());
    QCOMPARE(table->currentIndex(), table->model()->index(1, 2));
    window->lookUp("phalam", QTextCursor());
    QCOMPARE(table->currentIndex(), table->model()->index(0, 0));
}

QTEST_MAIN(TestWordForms)
#include "tst_wordforms.moc"
