// SPDX-License-Identifier: GPL-3.0-or-later
// View > Word Forms and Edit > Join with Sandhi on the ITRANS pane: each a single undo step.

#include "itranstext.h"
#include "sandhi.h"
#include "wordformswindow.h"
#include "workspacefixture.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

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
    QTest::newRow("the class and pada stated, after fenced English")
        << "##To ABHOR## garh (1 A), bAdh (desid.)"
        << "garh"
        << "verb root garh, class 1";
    QTest::newRow("the gender stated") << "kukShiH (m.), udaraM"
                                       << "kukShiH"
                                       << "noun stem kukShi, masculine";
    QTest::newRow("the adjective's endings") << "vakraH -krA -kraM"
                                             << "vakraH"
                                             << "noun stem vakra, masculine";
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
}

QTEST_MAIN(TestWordForms)
#include "tst_wordforms.moc"
