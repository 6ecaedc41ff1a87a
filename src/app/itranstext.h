// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "itransword.h"

#include <QString>

namespace vantro {

// The word of a line Word Forms takes at position: the ITRANS word there or, when the cursor is
// among blanks and dandas, the nearest one before it; without the punctuation of the sentence
// around it (a final full stop, quotes, brackets). Empty when the line has no word there.
WordSpan wordForForms(const QString &line, int position);

// Each line of a text joined with sandhi; text and result keep their line breaks ("\n" or
// the paragraph separators a text cursor's selection holds), as "\n".
QString joinLinesWithSandhi(const QString &text);

} // namespace vantro
