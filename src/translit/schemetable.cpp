// SPDX-License-Identifier: GPL-3.0-or-later
#include "schemetable.h"

#include <iterator>

namespace vantro {

namespace {

using C = LetterClass;

// clang-format off
// The rows follow the published ITRANS 6.00 Devanagari table. Where the scheme offers several
// spellings the first is the one this program writes; the rest are read as equals.
// Nukta letters are written as consonant + U+093C, the normalised form of U+0958..U+095F.
const Letter kLetters[] = {
    // class         ITRANS spellings             letter   sign    IAST
    {C::Vowel,     {"a"},                       u"अ",    u"",    u"a"},
    {C::Vowel,     {"A", "aa"},                 u"आ",    u"ा",   u"ā"},
    {C::Vowel,     {"i"},                       u"इ",    u"ि",   u"i"},
    {C::Vowel,     {"I", "ii"},                 u"ई",    u"ी",   u"ī"},
    {C::Vowel,     {"u"},                       u"उ",    u"ु",   u"u"},
    {C::Vowel,     {"U", "uu"},                 u"ऊ",    u"ू",   u"ū"},
    {C::Vowel,     {"R^i", "RRi", "Rri"},       u"ऋ",    u"ृ",   u"ṛ"},
    {C::Vowel,     {"R^I", "RRI"},              u"ॠ",    u"ॄ",   u"ṝ"},
    {C::Vowel,     {"L^i", "LLi", "Lli"},       u"ऌ",    u"ॢ",   u"ḷ"},
    {C::Vowel,     {"L^I", "LLI"},              u"ॡ",    u"ॣ",   u"ḹ"},
    {C::Vowel,     {"e", "E", "ee"},            u"ए",    u"े",   u"e"},
    {C::Vowel,     {"ai"},                      u"ऐ",    u"ै",   u"ai"},
    {C::Vowel,     {"o", "O", "oo"},            u"ओ",    u"ो",   u"o"},
    {C::Vowel,     {"au"},                      u"औ",    u"ौ",   u"au"},
    {C::Vowel,     {".c"},                      u"ऍ",    u"ॅ",   u"ê"},

    {C::Consonant, {"k"},                       u"क",    u"",    u"k"},
    {C::Consonant, {"kh"},                      u"ख",    u"",    u"kh"},
    {C::Consonant, {"g"},                       u"ग",    u"",    u"g"},
    {C::Consonant, {"gh"},                      u"घ",    u"",    u"gh"},
    {C::Consonant, {"~N", "N^"},                u"ङ",    u"",    u"ṅ"},
    {C::Consonant, {"ch"},                      u"च",    u"",    u"c"},
    {C::Consonant, {"Ch", "chh"},               u"छ",    u"",    u"ch"},
    {C::Consonant, {"j"},                       u"ज",    u"",    u"j"},
    {C::Consonant, {"jh"},                      u"झ",    u"",    u"jh"},
    {C::Consonant, {"~n", "JN"},                u"ञ",    u"",    u"ñ"},
    {C::Consonant, {"T"},                       u"ट",    u"",    u"ṭ"},
    {C::Consonant, {"Th"},                      u"ठ",    u"",    u"ṭh"},
    {C::Consonant, {"D"},                       u"ड",    u"",    u"ḍ"},
    {C::Consonant, {"Dh"},                      u"ढ",    u"",    u"ḍh"},
    {C::Consonant, {"N"},                       u"ण",    u"",    u"ṇ"},
    {C::Consonant, {"t"},                       u"त",    u"",    u"t"},
    {C::Consonant, {"th"},                      u"थ",    u"",    u"th"},
    {C::Consonant, {"d"},                       u"द",    u"",    u"d"},
    {C::Consonant, {"dh"},                      u"ध",    u"",    u"dh"},
    {C::Consonant, {"n"},                       u"न",    u"",    u"n"},
    {C::Consonant, {"p"},                       u"प",    u"",    u"p"},
    {C::Consonant, {"ph"},                      u"फ",    u"",    u"ph"},
    {C::Consonant, {"b"},                       u"ब",    u"",    u"b"},
    {C::Consonant, {"bh"},                      u"भ",    u"",    u"bh"},
    {C::Consonant, {"m"},                       u"म",    u"",    u"m"},
    {C::Consonant, {"y"},                       u"य",    u"",    u"y"},
    {C::Consonant, {"r"},                       u"र",    u"",    u"r"},
    {C::Consonant, {"l"},                       u"ल",    u"",    u"l"},
    {C::Consonant, {"v", "w"},                  u"व",    u"",    u"v"},
    {C::Consonant, {"sh"},                      u"श",    u"",    u"ś"},
    {C::Consonant, {"Sh", "shh"},               u"ष",    u"",    u"ṣ"},
    {C::Consonant, {"s"},                       u"स",    u"",    u"s"},
    {C::Consonant, {"h"},                       u"ह",    u"",    u"h"},
    {C::Consonant, {"L", "ld"},                 u"ळ",    u"",    u"l\u0324"},

    {C::Conjunct,  {"kSh", "x"},                u"क्ष",   u"",    u"kṣ"},
    {C::Conjunct,  {"j~n", "GY", "dny", "jny", "jnj"}, u"ज्ञ", u"",  u"jñ"},

    {C::Nukta,     {"q"},                       u"क़",    u"",    u"q"},
    {C::Nukta,     {"K"},                       u"ख़",    u"",    u"ḵh"},
    {C::Nukta,     {"G"},                       u"ग़",    u"",    u"ġ"},
    {C::Nukta,     {"z", "J"},                  u"ज़",    u"",    u"z"},
    {C::Nukta,     {"f"},                       u"फ़",    u"",    u"f"},
    {C::Nukta,     {".D"},                      u"ड़",    u"",    u"r\u0324"},
    {C::Nukta,     {".Dh"},                     u"ढ़",    u"",    u"r\u0324h"},
    {C::Nukta,     {"Y"},                       u"य़",    u"",    u"ẏ"},

    {C::Sign,      {"M", ".n", ".m"},           u"ं",    u"",    u"ṃ"},
    {C::Sign,      {".N"},                      u"ँ",    u"",    u"m̐"},
    {C::Sign,      {".N.h"},                    u"\uA8F3", u"",  u"ṁ"},
    {C::Sign,      {"H"},                       u"ः",    u"",    u"ḥ"},
    {C::Accent,    {".s"},                      u"\u0951", u"",  u"\u0301"},
    {C::Accent,    {".ds"},                     u"\u1CDA", u"",  u"\u030E"},
    {C::Accent,    {".au"},                     u"\u0952", u"",  u"\u0331"},
    {C::Virama,    {".h"},                      u"्",    u"",    u""},
    {C::Symbol,    {".a"},                      u"ऽ",    u"",    u"’"},
    {C::Om,        {"OM", "AUM"},               u"ॐ",    u"",    u"oṃ"},
    {C::Symbol,    {"|"},                       u"।",    u"",    u"|"},
    {C::Symbol,    {"||"},                      u"॥",    u"",    u"||"},

    {C::Digit,     {"0"},                       u"०",    u"",    u"0"},
    {C::Digit,     {"1"},                       u"१",    u"",    u"1"},
    {C::Digit,     {"2"},                       u"२",    u"",    u"2"},
    {C::Digit,     {"3"},                       u"३",    u"",    u"3"},
    {C::Digit,     {"4"},                       u"४",    u"",    u"4"},
    {C::Digit,     {"5"},                       u"५",    u"",    u"5"},
    {C::Digit,     {"6"},                       u"६",    u"",    u"6"},
    {C::Digit,     {"7"},                       u"७",    u"",    u"7"},
    {C::Digit,     {"8"},                       u"८",    u"",    u"8"},
    {C::Digit,     {"9"},                       u"९",    u"",    u"9"},
};
// clang-format on

} // namespace

const Letter *schemeLetters()
{
    return kLetters;
}

std::size_t schemeLetterCount()
{
    return std::size(kLetters);
}

} // namespace vantro
