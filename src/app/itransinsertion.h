// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTextCursor>

class QPlainTextEdit;

namespace vantro {

// Puts an ITRANS word into the document pane in place of the cursor's selection (at the cursor
// when nothing is selected), as one undo step; where is a cursor on the pane's document. A blank
// is added on either side where the word would otherwise run into a word character beside it
// (see isItransWordCharacter). The pane takes the focus, with its cursor right after the
// inserted word. An empty word changes nothing.
void insertItransWord(QPlainTextEdit *pane, QTextCursor where, const QString &word);

} // namespace vantro
