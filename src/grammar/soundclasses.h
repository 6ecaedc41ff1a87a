// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound.h"

#include <QChar>
#include <QString>

namespace vantro::verbs {

// The classes of sounds the verb rules ask about, answered from the table of sounds (sound.h)
// for a sound written in the verb rules' one-letter codes. A character that is no sound belongs
// to no class.

Place placeOf(QChar code); // Place::None for a character that is no sound
bool isVoiced(QChar code);
bool isNasal(QChar code);
bool isSemivowel(QChar code); // y r l v
bool isLiquid(QChar code);    // r l
bool isSibilant(QChar code);  // sh Sh s
bool isSpirant(QChar code);   // the sibilants and h
bool isLabial(QChar code);    // the consonants spoken with the lips: p ph b bh m v
// The stops that are no nasal, of any place or of one.
bool isOralStop(QChar code);
bool isOralStop(QChar code, Place place);
bool isVoicelessStop(QChar code);

// A vowel of the same quality as `vowel`, short or long: sameVowelQuality(c, u'i') for i and I.
bool sameVowelQuality(QChar code, QChar vowel);
bool isHighVowel(QChar code);       // i, u, short or long
bool isVocalicLiquid(QChar code);   // R^i, R^I, L^i
bool turnsToSemivowel(QChar code);  // i, u, R^i, short or long: y, v, r before an unlike vowel
bool isDiphthong(QChar code);       // e ai o au
bool isVrddhiDiphthong(QChar code); // ai au

// The vowel of the same quality and the other length (a for A, I for i); a sound with no
// other length (e, o, L^i, a consonant) is its own.
QChar otherLength(QChar code);

// The consonant a reduplicating syllable writes for a stop or h: without its breath, and a
// velar or h as the palatal (K -> c, G -> j, h -> j, D -> d); other sounds as they are.
QChar reduplicatingStop(QChar code);

// The short simple vowel a vowel is cut to: a long one's own (A -> a, R^I -> R^i), and e, ai
// to i, o, au to u, as the grammars shorten a diphthong; a consonant is its own.
QChar shortenedVowel(QChar code);

// e, o, ai, au before a vowel: their a or A and the semivowel of their i or u (ay, av, Ay, Av);
// any other sound its own code.
QString diphthongBeforeVowel(QChar code);

// The retroflex a dental stop or n turns to beside a retroflex (t -> w, D -> Q, n -> R); other
// sounds their own.
QChar retroflexOf(QChar code);

// The codes of every sound that answers yes, in the table's order (the grammars' order).
QString codesWhere(bool (*question)(QChar code));

} // namespace vantro::verbs
