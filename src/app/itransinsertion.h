// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTextCursor>

class QPlainTextEdit;

namespace vantro {

// Puts an ITRANS word into the document pane in place of the cursor's selection (at the cursor
// when nothing is selected), as one undo step. A blank is added on either side where the word
// would otherwise run into the text beside it. The pane takes the focus, with its cursor after
// the inserted word.
void insertItransWord(QPlainTextEdit *pane, QTextCursor where, const QString &word);

} // namespace vantro
