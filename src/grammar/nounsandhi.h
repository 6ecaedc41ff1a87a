// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "soundstring.h"

namespace vantro {

// The sound changes inside a declined word: where a stem meets its ending, and at the word's
// end. They look back over the whole word for what triggers them but change only the sounds at
// and after the join, so that a stem's own letters ("kusuma", "rAmanAtha") stay as given.

// Stem and ending side by side: s to Sh after i, u, R^i, e, o, k, r (haviShA, deveShu), n to N
// after r, R^i, Sh (rAmeNa, brahmaNaH), n to ~n after a palatal (rAj~naH).
SoundString attachEnding(const SoundString &stem, const SoundString &ending);

// A stem before an ending in bh- or s-, which the grammar treats as a word's end:
// vAch + bhyAm -> vAgbhyAm, manas + bhis -> manobhiH, havis + su -> haviHShu, gir + su -> gIrShu
// (the stem lengthened by the caller).
SoundString joinBeforeConsonant(const SoundString &stem, const SoundString &ending);

// A consonant stem as it stands alone: one final consonant, and that one k, T, t, p, a nasal or
// a visarga (bhavant -> bhavan, vAch -> vAk, lih -> liT, kAmaduh -> kAmadhuk, manas -> manaH).
SoundString wordFinal(const SoundString &stem);

// The pause form of a finished word (final s and r as visarga) with n and m before a sibilant
// or h as anusvara (pumAMsaH).
SoundString inPause(SoundString word);

// The neuter nominative plural stem with its nasal: jagat -> jagant, manas -> manAMs,
// havis -> havIMSh.
SoundString withPluralNasal(const SoundString &stem);

} // namespace vantro
