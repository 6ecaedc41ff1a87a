// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "soundstring.h"

namespace vantro::verbs {

// The classes of sounds the verb rules ask about beyond those of the table of sounds (sound.h:
// isVoiced, isNasal, isSemivowel, isSibilant, isPlainStop, placeOf), answered from that table.

// The strengthened grades of a vowel (i: e, ai; R^i: ar, Ar; a: a, A); a sound with no higher
// grade, a consonant among them, is its own.
SoundString guna(Sound vowel);
SoundString vrddhi(Sound vowel);

bool isLiquid(Sound sound);  // r l
bool isSpirant(Sound sound); // the sibilants and h
bool isLabial(Sound sound);  // the consonants spoken with the lips: p ph b bh m v
// The stops that are no nasal, of one place.
bool isPlainStop(Sound sound, Place place);
bool isVoicelessStop(Sound sound);

// A vowel of the same quality as `vowel`, short or long: sameVowelQuality(s, Sound::i) for i
// and I.
bool sameVowelQuality(Sound sound, Sound vowel);
bool isHighVowel(Sound sound);       // i, u, short or long
bool isVocalicLiquid(Sound sound);   // R^i, R^I, L^i
bool turnsToSemivowel(Sound sound);  // i, u, R^i, short or long: y, v, r before an unlike vowel
bool isDiphthong(Sound sound);       // e ai o au
bool isVrddhiDiphthong(Sound sound); // ai au

// The vowel of the same quality and the other length (a for A, I for i); a sound with no
// other length (e, o, L^i, a consonant) is its own.
Sound otherLength(Sound sound);

// The consonant a reduplicating syllable writes for a stop or h: without its breath, and a
// velar or h as the palatal (kh -> ch, gh -> j, h -> j, dh -> d); other sounds as they are.
Sound reduplicatingStop(Sound sound);

// The short simple vowel a vowel is cut to: a long one's own (A -> a, R^I -> R^i), and e, ai
// to i, o, au to u, as the grammars shorten a diphthong; a consonant is its own.
Sound shortenedVowel(Sound sound);

// e, o, ai, au before a vowel: their a or A and the semivowel of their i or u (ay, av, Ay, Av);
// any other sound itself.
SoundString diphthongBeforeVowel(Sound sound);

// The retroflex a dental stop or n turns to beside a retroflex (t -> T, dh -> Dh, n -> N);
// other sounds their own.
Sound retroflexOf(Sound sound);

} // namespace vantro::verbs
