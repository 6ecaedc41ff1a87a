// SPDX-License-Identifier: GPL-3.0-or-later
// The English pane looked up word by word: one key moves to the next (or previous) English word,
// selects it and looks it up, while the keyboard stays where the translator is writing.

#include "mainform.h"

#include "englishwordstep.h"

#include <QAction>
#include <QMenu>
#include <QRegularExpression>
#include <QSettings>
#include <QStatusBar>
#include <QTextCursor>

namespace {

const char kKeepCommonWordsSetting[] = "lookUp/keepCommonWords";

} // namespace

void MainForm::createLookUpActions()
{
    editLookUpNextAction = new QAction(tr("Look Up &Next English Word"), this);
    editLookUpNextAction->setObjectName(QStringLiteral("editLookUpNextAction"));
    editLookUpNextAction->setShortcut(QKeySequence(tr("Ctrl+L")));
    editLookUpPreviousAction = new QAction(tr("Look Up Pre&vious English Word"), this);
    editLookUpPreviousAction->setObjectName(QStringLiteral("editLookUpPreviousAction"));
    editLookUpPreviousAction->setShortcut(QKeySequence(tr("Ctrl+Shift+L")));
    editSkipCommonWordsAction = new QAction(tr("S&kip Common English Words"), this);
    editSkipCommonWordsAction->setObjectName(QStringLiteral("editSkipCommonWordsAction"));
    editSkipCommonWordsAction->setCheckable(true);
    editSkipCommonWordsAction->setChecked(
        !QSettings().value(QLatin1String(kKeepCommonWordsSetting), false).toBool());
    Edit->insertActions(editInsertMeaningAction, {editLookUpNextAction, editLookUpPreviousAction,
                                                  editSkipCommonWordsAction});
    connect(editLookUpNextAction, &QAction::triggered, this, [this] { lookUpEnglishStep(true); });
    connect(editLookUpPreviousAction, &QAction::triggered, this,
            [this] { lookUpEnglishStep(false); });
    connect(editSkipCommonWordsAction, &QAction::toggled, this,
            [](bool skip) { QSettings().setValue(QLatin1String(kKeepCommonWordsSetting), !skip); });
}

// The focus and the cursor of the ITRANS pane are left alone, so that the next Ctrl+I or Ctrl+K
// lands where the translator is writing; a word not found is said in the status bar.
void MainForm::lookUpEnglishStep(bool forward)
{
    if (!finishLoading(english))
        return;
    QTextCursor cursor = english->textCursor();
    const QString text = english->document()->toRawText();
    const int from = forward ? cursor.selectionEnd() : cursor.selectionStart();
    const vantro::WordSpan span =
        vantro::stepEnglishWord(text, from, forward, !editSkipCommonWordsAction->isChecked());
    if (span.isEmpty()) {
        statusBar()->showMessage(forward ? tr("No English word after this one.")
                                         : tr("No English word before this one."),
                                 4000);
        return;
    }
    cursor.setPosition(span.start);
    cursor.setPosition(span.end, QTextCursor::KeepAnchor);
    english->setTextCursor(cursor);
    english->ensureCursorVisible();
    // A possessive is looked up as its noun: king's as king.
    static const QRegularExpression possessive(QStringLiteral("['\u2019]s$"));
    lookUpEnglishWord(cursor.selectedText().remove(possessive), NotFoundInStatusBar);
}
