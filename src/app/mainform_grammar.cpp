// SPDX-License-Identifier: GPL-3.0-or-later
// Word forms and sandhi on the ITRANS pane: View > Word Forms and Edit > Join with Sandhi.

#include "mainform.h"

#include "itranstext.h"
#include "statedgrammar.h"
#include "wordformswindow.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QMenu>
#include <QScreen>
#include <QTextBlock>

void MainForm::createGrammarActions()
{
    viewWordFormsAction = new QAction(tr("&Word Forms"), this);
    viewWordFormsAction->setObjectName(QStringLiteral("viewWordFormsAction"));
    viewWordFormsAction->setShortcut(QKeySequence(tr("Ctrl+K")));
    viewMenu->addAction(viewWordFormsAction);
    connect(viewWordFormsAction, &QAction::triggered, this, &MainForm::viewWordForms);

    editJoinSandhiAction = new QAction(tr("&Join with Sandhi"), this);
    editJoinSandhiAction->setObjectName(QStringLiteral("editJoinSandhiAction"));
    editJoinSandhiAction->setShortcut(QKeySequence(tr("Ctrl+J")));
    Edit->addSeparator();
    Edit->addAction(editJoinSandhiAction);
    connect(editJoinSandhiAction, &QAction::triggered, this, &MainForm::editJoinWithSandhi);
}

// The word comes from the meaning field while the focus is in the record form (its first word
// unless the cursor is in the field), else from the ITRANS pane, where the form will replace it.
void MainForm::viewWordForms()
{
    if (!finishLoading(itrans))
        return;
    QWidget *focus = QApplication::focusWidget();
    QString word;
    QString tag;
    QTextCursor replaced;
    if (focus && frame4->isAncestorOf(focus)) {
        const QString meaning = tedITRANS->toPlainText();
        const int position = tedITRANS->textCursor().position();
        const vantro::WordSpan span = vantro::wordNearCursor(meaning, position);
        const bool atWord = focus == tedITRANS && !span.isEmpty() &&
                            !vantro::insideFence(meaning, span.start) &&
                            !meaning.mid(span.start, span.end - span.start).contains(u"##");
        // Fenced English is never a word to inflect: the meaning's first Sanskrit word instead.
        const vantro::WordSpan taken = atWord ? span : vantro::firstItransWordSpan(meaning);
        word = vantro::splitSentencePunctuation(meaning.mid(taken.start, taken.end - taken.start))
                   .word;
        // The grammar the dictionary states after the word is read before guessing.
        tag = vantro::tagAfterWord(meaning, taken.end);
    } else {
        replaced = itrans->textCursor();
        if (!replaced.hasSelection()) {
            const QTextBlock block = replaced.block();
            const vantro::WordSpan span =
                vantro::wordNearCursor(block.text(), replaced.positionInBlock());
            replaced.setPosition(block.position() + span.start);
            replaced.setPosition(block.position() + span.end, QTextCursor::KeepAnchor);
        }
        word = replaced.selectedText().trimmed();
    }
    if (!m_wordForms) {
        m_wordForms = new WordFormsWindow(itrans, this);
        // Beside the main window, right or left, where the screen has room, so that neither
        // hides the other.
        const QRect frame = frameGeometry();
        const QRect room = screen() ? screen()->availableGeometry() : QRect();
        if (frame.right() + m_wordForms->width() < room.right())
            m_wordForms->move(frame.right() + 1, frame.top());
        else if (frame.left() - m_wordForms->width() > room.left())
            m_wordForms->move(frame.left() - m_wordForms->width() - 1, frame.top());
    }
    m_wordForms->lookUp(word, replaced, tag);
}

// The selection, or the cursor's line, joined as one undo step; the result stays selected.
void MainForm::editJoinWithSandhi()
{
    if (!finishLoading(itrans))
        return;
    QTextCursor cursor = itrans->textCursor();
    if (!cursor.hasSelection()) {
        cursor.movePosition(QTextCursor::StartOfBlock);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    }
    const QString text = cursor.selectedText();
    const QString joined = vantro::joinLinesWithSandhi(text);
    if (joined == QString(text).replace(QChar::ParagraphSeparator, u'\n'))
        return;
    const int start = cursor.selectionStart();
    cursor.insertText(joined);
    cursor.setPosition(start, QTextCursor::KeepAnchor);
    itrans->setTextCursor(cursor);
}
