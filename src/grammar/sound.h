// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>

namespace vantro {

struct Letter;

// The sounds of a Sanskrit word as the grammar reasons about them: one value per sound, so
// that "R^i" is one vowel and "kSh" two consonants. Each maps to a letter of the ITRANS table;
// the names follow its preferred spellings (ng for "~N", ny for "~n", Ri for "R^i").
enum class Sound : unsigned char {
    // clang-format off
    a, A, i, I, u, U, Ri, RI, Li, LI, e, ai, o, au,
    k, kh, g, gh, ng,
    ch, Ch, j, jh, ny,
    T, Th, D, Dh, N,
    t, th, d, dh, n,
    p, ph, b, bh, m,
    y, r, l, v, sh, Sh, s, h,
    M, H,
    // clang-format on
};
constexpr int kSoundCount = static_cast<int>(Sound::H) + 1;

// Where a consonant is spoken, in the grammars' order; the rules index tables by it. Vowels
// take the place of the consonants they turn into (i palatal, u labial); h, anusvara and
// visarga have none.
enum class Place : unsigned char { Velar, Palatal, Retroflex, Dental, Labial, None };
constexpr int kPlaceCount = static_cast<int>(Place::None);

bool isVowel(Sound sound);
bool isConsonant(Sound sound); // anusvara and visarga are neither
bool isStop(Sound sound);      // the twenty-five of the five classes, nasals included
bool isNasal(Sound sound);
bool isSemivowel(Sound sound); // y r l v
bool isSibilant(Sound sound);  // sh Sh s
bool isVoiced(Sound sound);
bool isAspirated(Sound sound);
bool isShortVowel(Sound sound);
Place placeOf(Sound sound);

// The stop of the same class with the voicing and aspiration asked for.
Sound stopOf(Place place, bool voiced, bool aspirated);
Sound nasalOf(Place place);
Sound lengthened(Sound vowel);  // a, i, u, R^i, L^i long; other sounds unchanged
Sound semivowelOf(Sound vowel); // i I -> y, u U -> v, R^i R^I -> r

// Classes the verb rules and sandhi ask the table for.
bool isPlainStop(Sound sound); // a stop that is no nasal
// The short vowel of the same quality (I -> i, R^I -> R^i); a short vowel, the diphthongs
// and the consonants are their own.
Sound shortVowelOf(Sound vowel);
// The aspirated stop of the same place and voice (g -> gh, D -> Dh); other sounds unchanged.
Sound aspiratedOf(Sound sound);
// Whether a final aspirate that loses its breath throws it back on this initial: b, g, D and
// d, as the grammars count them (budh -> bhut, duh -> dhuk); j is not among them.
bool takesThrownBackAspiration(Sound sound);
// How a word's last sound is spoken at its end: s and r as the visarga, the rest as they are.
Sound inPauseAtEnd(Sound last);
// A stop that is no nasal ends a word voiceless and unaspirated, at its own place (budh ->
// -but, vAg -> vAk); other sounds unchanged.
Sound stopAtEnd(Sound last);

// The one character a sound is keyed by in the analyser's forms index (f for R^i, z for Sh, w
// for T, E for ai): the keys hashed into the index files the build writes and programs read.
QChar codeOf(Sound sound);
// The strengthened grades of a vowel in ITRANS (i: "e", "ai"; R^i: "ar", "Ar"; a: none, "A");
// nullptr for a sound with no higher grade, a consonant among them (see verbs::guna).
const char *gunaSpelling(Sound sound);
const char *vrddhiSpelling(Sound sound);

// The letter of the ITRANS table a sound is written with (a conjunct letter is never used).
const Letter *letterOf(Sound sound);

} // namespace vantro
