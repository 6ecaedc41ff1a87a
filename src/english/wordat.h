// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vantro {

// The run of letters (QChar::isLetter) that contains the character at position, or an empty
// string when position is at or past the end or that character is not a letter.
QString wordAt(const QString &text, int position);

// The word the English pane's look-up takes at a cursor: the word under it, or, when the
// character after the cursor is not a letter but the one before it is, the word that ends there
// (a cursor on the "." after "books" means "books").
QString wordAtOrBefore(const QString &text, int position);

} // namespace vantro
