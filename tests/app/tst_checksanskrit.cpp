// SPDX-License-Identifier: GPL-3.0-or-later
// View > Check Sanskrit on the ITRANS pane: the unknown words underlined (not in fences), F7 to
// them, a suggestion put in as one undo step, the word at the cursor read in the status bar,
// and a record saved in the window read at once.

#include "sanskritchecker.h"
#include "workspacefixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

namespace {

// The words the pane underlines, in order.
QStringList underlined(const QPlainTextEdit *pane)
{
    QStringList words;
    for (const QTextEdit::ExtraSelection &mark : pane->extraSelections())
        words.append(mark.cursor.selectedText());
    return words;
}

MainForm &openChecking(WorkspaceFixture &fx, const QString &text)
{
    MainForm &form = fx.open();
    form.show();
    auto *checker = form.findChild<SanskritChecker *>();
    [&] { QTRY_VERIFY_WITH_TIMEOUT(checker->analyser(), 20000); }();
    form.itrans->setPlainText(text);
    form.itrans->setFocus();
    form.viewCheckSanskritAction->setChecked(true);
    return form;
}

} // namespace

class TestCheckSanskrit : public QObject
{
    Q_OBJECT

private slots:
    void unknownWords();
    void suggestionIsOneUndoStep();
    void savedRecordIsRead();
};

void TestCheckSanskrit::unknownWords()
{
    WorkspaceFixture fx;
    MainForm &form = openChecking(fx, "gachChati ## gachChAti\nstill English ## tataH\n"
                                      "gachChAti saH | 12 sa tachcha xyz.");
    QTRY_COMPARE(underlined(form.itrans), (QStringList{"gachChAti", "xyz"}));
    // F7 from the start reaches the first; again, the second; then around to the first.
    selectRange(form.itrans, 0, 0);
    form.editNextUnknownAction->trigger();
    QTRY_COMPARE(form.itrans->textCursor().selectionStart(), 46);
    QCOMPARE(form.itrans->textCursor().selectedText(), QString("gachChAti"));
    QTRY_VERIFY(form.statusBar()->currentMessage().startsWith("gachChAti: no reading known"));
    form.editNextUnknownAction->trigger();
    QTRY_COMPARE(form.itrans->textCursor().selectedText(), QString("xyz"));
    form.editNextUnknownAction->trigger();
    QTRY_COMPARE(form.itrans->textCursor().selectionStart(), 46);
    form.editPreviousUnknownAction->trigger();
    QTRY_COMPARE(form.itrans->textCursor().selectedText(), QString("xyz"));
    // The status bar reads the word at the cursor back.
    selectRange(form.itrans, 2, 2);
    QTRY_COMPARE(form.statusBar()->currentMessage(),
                 QString("gachChati: gam 1 P, present third singular (3 readings)"));
    // Turned off, nothing is underlined.
    form.viewCheckSanskritAction->setChecked(false);
    QVERIFY(underlined(form.itrans).isEmpty());
}

void TestCheckSanskrit::suggestionIsOneUndoStep()
{
    WorkspaceFixture fx;
    const QString text = "tataH gachChAti saH";
    MainForm &form = openChecking(fx, text);
    QTRY_COMPARE(underlined(form.itrans), QStringList{"gachChAti"});
    QTextCursor inWord(form.itrans->document());
    inWord.setPosition(8);
    const QPoint onWord = form.itrans->cursorRect(inWord).center();
    QStringList offered;
    QTimer::singleShot(200, [&offered] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction *action : menu->actions())
            offered.append(action->text());
        QAction *first = menu->actions().first();
        menu->close();
        first->trigger();
    });
    emit form.itrans->customContextMenuRequested(onWord);
    QCOMPARE(offered.value(0), QString("gachChati"));
    QCOMPARE(form.itrans->toPlainText(), QString("tataH gachChati saH"));
    QTRY_VERIFY(underlined(form.itrans).isEmpty());
    form.editUndoAction->trigger();
    QCOMPARE(form.itrans->toPlainText(), text);
    QVERIFY(!form.itrans->document()->isUndoAvailable());
}

void TestCheckSanskrit::savedRecordIsRead()
{
    WorkspaceFixture fx;
    MainForm &form = openChecking(fx, "vyAghreNa hataH");
    QTRY_COMPARE(underlined(form.itrans), QStringList{"vyAghreNa"});
    form.chkReadOnly->setChecked(false);
    form.ledEng->setText("tiger");
    form.tedITRANS->setPlainText("vyAghraH");
    fx.dialogs.setNextAnswer(Dialogs::Yes);
    form.btnSave->click();
    QTRY_VERIFY(underlined(form.itrans).isEmpty());
    selectRange(form.itrans, 2, 2);
    QTRY_COMPARE(form.statusBar()->currentMessage(),
                 QString("vyAghreNa: vyAghra m., instrumental singular: tiger"));
}

QTEST_MAIN(TestCheckSanskrit)
#include "tst_checksanskrit.moc"
