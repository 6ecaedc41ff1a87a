// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "soundstring.h"

namespace vantro::verbs {

// The verb rules work on sounds (soundstring.h): a rule looks at the last sound, not at a
// spelling of one to three ITRANS letters.

// Whether the sound at the index ends a conjunct: the sound before it is a consonant too.
bool followsConsonant(const SoundString &sounds, int index);

// The grades of a simple vowel (soundclasses.h: guna, vrddhi) as they stand before a vowel
// (i -> ay / Ay, u -> av / Av, R^i -> ar / Ar).
SoundString gunaBeforeVowel(Sound vowel);
SoundString vrddhiBeforeVowel(Sound vowel);
// Guna of a root's last vowel where the grammar strengthens it: a final vowel, or a short
// vowel before one final consonant ("budh" -> "bodh", "nI" -> "ne", "jIv" stays).
SoundString gunaOfRoot(const SoundString &root);

// The augment of the past: "a" before a consonant, vrddhi of an initial vowel.
SoundString withAugment(const SoundString &stem);

// Joins a stem to an ending as the grammar of the root, reduplicating and nasal classes does
// it: a strengthened o or e before a vowel turns to av, ay, A swallows a following a, A or u,
// consonants meet ("dviSh" + "ti" -> "dveShTi", "duh" + "si" -> "dhokShi"), s after i, u, r
// or k turns to Sh. An empty ending gives the stem as it sounds at the end of a word.
SoundString attach(const SoundString &stem, const SoundString &ending);
SoundString attach(const SoundString &stem, const char *ending);
// The same before the s of the future ("tyaj" -> "tyakShy").
SoundString joinBeforeFutureS(const SoundString &stem, const SoundString &ending);

// The s of a tense or mood put after a stem, as Sh where the sound before turns it (neShIShTa,
// kAriShIShTa, but dAsIShTa).
SoundString withS(const SoundString &stem);
// The s at the index as Sh where the rule of retroflexion.h turns it (the s of sev after the
// reduplicating si: siShev); the word unchanged otherwise.
SoundString retroflexS(SoundString word, int index);
// n to N after r, R^i, R^I or Sh, by the rule of retroflexion.h.
SoundString retroflexN(SoundString word);

// The last touches every finished form takes: n after r, R^i, Sh to N, an anusvara before a
// stop takes the stop's nasal, final s and r to H.
SoundString finishWord(const SoundString &word);

} // namespace vantro::verbs
