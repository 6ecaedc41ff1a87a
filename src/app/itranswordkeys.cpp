// SPDX-License-Identifier: GPL-3.0-or-later
#include "itranswordkeys.h"

#include "itransword.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextBlock>

using vantro::itransWordAt;
using vantro::WordSpan;

namespace {

// The pane whose viewport receives its mouse events.
QPlainTextEdit *paneOf(QObject *watched)
{
    if (auto *pane = qobject_cast<QPlainTextEdit *>(watched))
        return pane;
    return qobject_cast<QPlainTextEdit *>(watched->parent());
}

int wordStep(const QString &text, int position, bool forward)
{
    return forward ? vantro::nextItransWordStart(text, position)
                   : vantro::previousItransWordStart(text, position);
}

} // namespace

void ItransWordKeys::install(QLineEdit *field)
{
    field->installEventFilter(this);
}

void ItransWordKeys::install(QPlainTextEdit *pane)
{
    pane->installEventFilter(this);
    pane->viewport()->installEventFilter(this);
}

bool ItransWordKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        const bool select = modifiers.testFlag(Qt::ShiftModifier);
        if ((key->key() == Qt::Key_Left || key->key() == Qt::Key_Right) &&
            (modifiers & ~Qt::ShiftModifier) == Qt::ControlModifier)
            return moveByWord(watched, key->key() == Qt::Key_Right, select);
    }
    // The field handles the double-click first (it keeps track of triple-clicks), and then the
    // ITRANS word takes the place of the toolkit's word.
    if (event->type() == QEvent::MouseButtonDblClick && !m_passingOn) {
        m_passingOn = true;
        QCoreApplication::sendEvent(watched, event);
        m_passingOn = false;
        selectWordAt(watched, static_cast<QMouseEvent *>(event)->position().toPoint());
        return true;
    }
    return false;
}

// Within a line of the pane; at either end of a line the step crosses the line break.
bool ItransWordKeys::moveByWord(QObject *watched, bool forward, bool select)
{
    if (auto *field = qobject_cast<QLineEdit *>(watched)) {
        const int from = field->cursorPosition();
        const int to = wordStep(field->text(), from, forward);
        forward ? field->cursorForward(select, to - from)
                : field->cursorBackward(select, from - to);
        return true;
    }
    auto *pane = qobject_cast<QPlainTextEdit *>(watched);
    if (!pane)
        return false;
    QTextCursor cursor = pane->textCursor();
    const QString line = cursor.block().text();
    const int at = cursor.positionInBlock();
    const QTextCursor::MoveMode mode = select ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
    if ((forward && at == line.size()) || (!forward && at == 0))
        cursor.movePosition(forward ? QTextCursor::NextCharacter : QTextCursor::PreviousCharacter,
                            mode);
    else
        cursor.setPosition(cursor.block().position() + wordStep(line, at, forward), mode);
    pane->setTextCursor(cursor);
    pane->ensureCursorVisible();
    return true;
}

void ItransWordKeys::selectWordAt(QObject *watched, const QPoint &at)
{
    if (auto *field = qobject_cast<QLineEdit *>(watched)) {
        const WordSpan span = itransWordAt(field->text(), field->cursorPositionAt(at));
        if (!span.isEmpty())
            field->setSelection(span.start, span.end - span.start);
        return;
    }
    QPlainTextEdit *pane = paneOf(watched);
    if (!pane)
        return;
    QTextCursor cursor = pane->cursorForPosition(at);
    const WordSpan span = itransWordAt(cursor.block().text(), cursor.positionInBlock());
    if (span.isEmpty())
        return;
    const int block = cursor.block().position();
    cursor.setPosition(block + span.start);
    cursor.setPosition(block + span.end, QTextCursor::KeepAnchor);
    pane->setTextCursor(cursor);
}
