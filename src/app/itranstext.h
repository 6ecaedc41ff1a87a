// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "itransword.h"

#include <QString>

namespace vantro {

// The ITRANS word of a line Word Forms takes at position: the word there or, when the cursor is
// among blanks and dandas, the nearest one before it. Empty when the line has none there.
WordSpan wordNearCursor(const QString &line, int position);

// An ITRANS word of the pane apart from the sentence's punctuation around it (a full stop,
// quotes, brackets): "(karoti." is "(", "karoti" and ".". ITRANS's own signs (.h, .a, ^, ~)
// stay in the word.
struct PunctuatedWord
{
    QString before;
    QString word;
    QString after;
};
PunctuatedWord splitSentencePunctuation(const QString &text);

// Each line of a text joined with sandhi; text and result keep their line breaks ("\n" or
// the paragraph separators a text cursor's selection holds), as "\n". English fenced by "##"
// stays as it is, also where a fence opened on an earlier line (or before the text, when
// fenceOpenBefore) closes on a later one.
QString joinLinesWithSandhi(const QString &text, bool fenceOpenBefore = false);

} // namespace vantro
