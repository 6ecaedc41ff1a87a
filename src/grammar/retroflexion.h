// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "soundstring.h"

namespace vantro {

// The two rules that turn a dental to a retroflex inside a word, written once for declension,
// conjugation and the prefixes.

// Whether s after this sound turns to Sh: after a vowel other than a and A, after the
// semivowels, h and the velars (haviShA, deveShu, vAkShu, dvekShyati).
bool turnsSToSh(Sound before);

// s at `index` turns to Sh after the sounds above, a visarga between them allowed (haviHShu);
// not at the word's end and not before r.
void retroflexS(SoundString &word, int index);

// Whether the n at `index` turns to N: an r, R^i, R^I or Sh stands before it with only vowels,
// h, y, v, the velars, the labials and the anusvara between, and a vowel, n, m, y or v follows.
bool retroflexReaches(const SoundString &word, int index);

// Every n from `from` on that the rule above reaches turns to N (rAmeNa, brahmaNaH, kurvANaH).
void retroflexN(SoundString &word, int from = 0);

} // namespace vantro
