// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outcome.h"

#include <QString>
#include <QStringView>

namespace vantro::verbs {

// The verb rules work on sounds, one character each, in the letters Sanskritists use for
// machine work (a A i I u U f F x X e E o O M H k K g G N c C j J Y w W q Q R t T d D n p P b B
// m y r l v S z s h): a rule then looks at the last sound, not at a spelling of one to three
// ITRANS letters. ITRANS comes in and goes out through the converter's tokenizer; the codes,
// and what each sound is, are those of the table of sounds (sound.h: codeOf, soundOfCode).
// A text that is not all letters (a digit, a stray mark) gives the reason and no sounds.
Outcome<QString> soundsFromItrans(QStringView itrans);
QString itransFromSounds(QStringView sounds);

bool isVowel(QChar sound);
bool isConsonant(QChar sound);
bool isShortVowel(QChar sound);
// Whether the sound ends a conjunct: the sound before it is a consonant too.
bool followsConsonant(QStringView sounds, qsizetype index);

// The strengthened grades of a simple vowel ("i" -> "e" / "E", "f" -> "ar" / "Ar"); other
// sounds come back as they are.
QString guna(QChar vowel);
QString vrddhi(QChar vowel);
// The same grades as they stand before a vowel ("i" -> "ay" / "Ay", "u" -> "av" / "Av", "f" ->
// "ar" / "Ar").
QString gunaBeforeVowel(QChar vowel);
QString vrddhiBeforeVowel(QChar vowel);
// Guna of a root's last vowel where the grammar strengthens it: a final vowel, or a short
// vowel before one final consonant ("buD" -> "boD", "nI" -> "ne", "jIv" stays).
QString gunaOfRoot(const QString &root);

// The augment of the past: "a" before a consonant, vrddhi of an initial vowel.
QString withAugment(const QString &stem);

// Joins a stem to an ending as the grammar of the root, reduplicating and nasal classes does
// it: a strengthened "o" or "e" before a vowel turns to "av", "ay", "A" swallows a following
// a, A or u, consonants meet ("dviz" + "ti" -> "dvezwi", "duh" + "si" -> "Dokzi"), s after
// i, u, r or k turns to z. An empty ending gives the stem as it sounds at the end of a word.
QString attach(const QString &stem, const QString &ending);
// The same before the s of the future ("tyaj" -> "tyakzy").
QString joinBeforeFutureS(const QString &stem, const QString &ending);

// Whether s after this sound turns to z (after i, u, f, e, o, r, k): the rule of
// retroflexion.h on the verb rules' letters.
bool turnsSToSh(QChar before);
// The s of a tense or mood put after a stem, as z where the sound before turns it (nezIzwa,
// kArizIzwa, but dAsIzwa).
QString withS(const QString &stem);
// The s at the index as z where the rule of retroflexion.h turns it (the s of sev after the
// reduplicating si: sizev); the word unchanged otherwise.
QString retroflexS(const QString &word, qsizetype index);
// n to R after r, f, F or z, by the rule of retroflexion.h.
QString retroflexN(const QString &word);
// Whether an n at the index would turn to R by that rule.
bool retroflexReaches(QStringView word, qsizetype index);

// The last touches every finished form takes: n after r, f, z to R, an anusvara before a stop
// takes the stop's nasal, final s and r to H.
QString finishWord(const QString &word);

} // namespace vantro::verbs
