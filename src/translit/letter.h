// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

namespace vantro {

// What a letter of the scheme does in a word; the writers and the reader decide by it.
enum class LetterClass {
    Vowel,     // independent letter at the start of a syllable, vowel sign after a consonant
    Consonant, // carries the inherent a; joins the next consonant through a virama
    Conjunct,  // spelled as one unit in ITRANS, written as a cluster in Devanagari
    Nukta,     // consonant with the nukta dot
    Sign,      // anusvara, chandrabindu, visarga: follow a syllable
    Accent,    // the Vedic pitch marks, which also follow a syllable
    Virama,    // the explicit halant .h
    Om,        // read only where no consonant is waiting for its vowel
    Symbol,    // avagraha and the dandas
    Digit,
};

// One row of the ITRANS table. Spellings list the preferred ITRANS first; the others are
// alternates that give the same output. The Devanagari and IAST texts are UTF-16 literals so
// the table reads as the published scheme does.
struct Letter
{
    LetterClass letterClass;
    std::array<const char *, 5> itrans;
    const char16_t *devanagari;
    const char16_t *sign; // the dependent vowel sign; empty for a and for non-vowels
    const char16_t *iast;

    bool isConsonant() const
    {
        return letterClass == LetterClass::Consonant || letterClass == LetterClass::Conjunct ||
               letterClass == LetterClass::Nukta;
    }
    bool isVowel() const { return letterClass == LetterClass::Vowel; }
    const char *preferred() const { return itrans[0]; }
};

} // namespace vantro
