// SPDX-License-Identifier: GPL-3.0-or-later
#include "itransinsertion.h"

#include "itransword.h"

#include <QPlainTextEdit>
#include <QTextBlock>

namespace vantro {

void insertItransWord(QPlainTextEdit *pane, QTextCursor where, const QString &word)
{
    if (!pane || word.isEmpty())
        return;
    where.beginEditBlock();
    where.removeSelectedText();
    const QString line = where.block().text();
    const int at = where.positionInBlock();
    const bool joinsBefore = at > 0 && isItransWordCharacter(line.at(at - 1));
    const bool joinsAfter = at < line.size() && isItransWordCharacter(line.at(at));
    where.insertText(joinsBefore ? u' ' + word : word);
    if (joinsAfter) {
        where.insertText(QStringLiteral(" "));
        where.movePosition(QTextCursor::PreviousCharacter);
    }
    where.endEditBlock();
    pane->setTextCursor(where);
    pane->ensureCursorVisible();
    pane->setFocus();
}

} // namespace vantro
