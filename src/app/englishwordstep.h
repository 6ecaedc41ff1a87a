// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "itransword.h"

#include <QString>

namespace vantro {

// The English word after (forward) or before the one at position in text, for looking up the
// English text word by word. A word is a run of letters, with an apostrophe inside it ("don't");
// numbers, punctuation and words touching a digit are passed over, and so are the common words
// of the skipped-word list unless keepCommonWords. Forward, a word that starts at position is
// the next one (the first press at the start of a text takes its first word); a word the
// position stands inside is passed. Backward, the last word ending before position's word.
// Empty when there is none.
WordSpan stepEnglishWord(const QString &text, int position, bool forward, bool keepCommonWords);

// Whether the look-up passes over the word (compared in lower case).
bool isCommonEnglishWord(const QString &word);

} // namespace vantro
