// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound.h"

#include "scheme.h"

#include <array>

namespace vantro {

namespace {

enum class Kind { ShortVowel, LongVowel, Stop, Semivowel, Sibilant, Aspirate, Sign };

struct Features
{
    const char *spelling; // finds the letter in the ITRANS table
    char16_t code;        // one character a sound, as the forms index keys its forms
    Kind kind;
    Place place;
    bool voiced;
    bool aspirated;
    // The vowel's guna and vrddhi; a sound with no higher grade is its own.
    const char *guna = nullptr;
    const char *vrddhi = nullptr;
};

constexpr Place V = Place::Velar, P = Place::Palatal, R = Place::Retroflex, D = Place::Dental,
                L = Place::Labial, X = Place::None;
constexpr Kind S = Kind::Stop;

// clang-format off
constexpr std::array<Features, kSoundCount> kFeatures = {{
    {"a", u'a', Kind::ShortVowel, V, true, false, nullptr, "A"},
    {"A", u'A', Kind::LongVowel, V, true, false},
    {"i", u'i', Kind::ShortVowel, P, true, false, "e", "ai"},
    {"I", u'I', Kind::LongVowel, P, true, false, "e", "ai"},
    {"u", u'u', Kind::ShortVowel, L, true, false, "o", "au"},
    {"U", u'U', Kind::LongVowel, L, true, false, "o", "au"},
    {"R^i", u'f', Kind::ShortVowel, R, true, false, "ar", "Ar"},
    {"R^I", u'F', Kind::LongVowel, R, true, false, "ar", "Ar"},
    {"L^i", u'x', Kind::ShortVowel, D, true, false, "al", "Al"},
    {"L^I", u'X', Kind::LongVowel, D, true, false},
    {"e", u'e', Kind::LongVowel, P, true, false, nullptr, "ai"},
    {"ai", u'E', Kind::LongVowel, P, true, false},
    {"o", u'o', Kind::LongVowel, L, true, false, nullptr, "au"},
    {"au", u'O', Kind::LongVowel, L, true, false},
    {"k", u'k', S, V, false, false}, {"kh", u'K', S, V, false, true}, {"g", u'g', S, V, true, false},
    {"gh", u'G', S, V, true, true},  {"~N", u'N', S, V, true, false},
    {"ch", u'c', S, P, false, false}, {"Ch", u'C', S, P, false, true}, {"j", u'j', S, P, true, false},
    {"jh", u'J', S, P, true, true},   {"~n", u'Y', S, P, true, false},
    {"T", u'w', S, R, false, false}, {"Th", u'W', S, R, false, true}, {"D", u'q', S, R, true, false},
    {"Dh", u'Q', S, R, true, true},  {"N", u'R', S, R, true, false},
    {"t", u't', S, D, false, false}, {"th", u'T', S, D, false, true}, {"d", u'd', S, D, true, false},
    {"dh", u'D', S, D, true, true},  {"n", u'n', S, D, true, false},
    {"p", u'p', S, L, false, false}, {"ph", u'P', S, L, false, true}, {"b", u'b', S, L, true, false},
    {"bh", u'B', S, L, true, true},  {"m", u'm', S, L, true, false},
    {"y", u'y', Kind::Semivowel, P, true, false}, {"r", u'r', Kind::Semivowel, R, true, false},
    {"l", u'l', Kind::Semivowel, D, true, false}, {"v", u'v', Kind::Semivowel, L, true, false},
    {"sh", u'S', Kind::Sibilant, P, false, false}, {"Sh", u'z', Kind::Sibilant, R, false, false},
    {"s", u's', Kind::Sibilant, D, false, false},  {"h", u'h', Kind::Aspirate, X, true, true},
    {"M", u'M', Kind::Sign, X, true, false},       {"H", u'H', Kind::Sign, X, false, false},
}};
// clang-format on

const Features &featuresOf(Sound sound)
{
    return kFeatures[static_cast<int>(sound)];
}

bool isNasalStop(Sound sound)
{
    return sound == Sound::ng || sound == Sound::ny || sound == Sound::N || sound == Sound::n ||
           sound == Sound::m;
}

} // namespace

bool isVowel(Sound sound)
{
    const Kind kind = featuresOf(sound).kind;
    return kind == Kind::ShortVowel || kind == Kind::LongVowel;
}

bool isConsonant(Sound sound)
{
    return !isVowel(sound) && featuresOf(sound).kind != Kind::Sign;
}

bool isStop(Sound sound)
{
    return featuresOf(sound).kind == Kind::Stop;
}

bool isNasal(Sound sound)
{
    return isNasalStop(sound);
}

bool isSemivowel(Sound sound)
{
    return featuresOf(sound).kind == Kind::Semivowel;
}

bool isSibilant(Sound sound)
{
    return featuresOf(sound).kind == Kind::Sibilant;
}

bool isVoiced(Sound sound)
{
    return featuresOf(sound).voiced;
}

bool isAspirated(Sound sound)
{
    return featuresOf(sound).aspirated;
}

bool isShortVowel(Sound sound)
{
    return featuresOf(sound).kind == Kind::ShortVowel;
}

Place placeOf(Sound sound)
{
    return featuresOf(sound).place;
}

Sound stopOf(Place place, bool voiced, bool aspirated)
{
    for (int s = static_cast<int>(Sound::k); s <= static_cast<int>(Sound::m); ++s) {
        const Sound sound = static_cast<Sound>(s);
        const Features &f = kFeatures[s];
        if (f.place == place && f.voiced == voiced && f.aspirated == aspirated &&
            !isNasalStop(sound))
            return sound;
    }
    return Sound::t;
}

Sound nasalOf(Place place)
{
    switch (place) {
    case Place::Velar:
        return Sound::ng;
    case Place::Palatal:
        return Sound::ny;
    case Place::Retroflex:
        return Sound::N;
    case Place::Labial:
        return Sound::m;
    default:
        return Sound::n;
    }
}

Sound lengthened(Sound vowel)
{
    switch (vowel) {
    case Sound::a:
        return Sound::A;
    case Sound::i:
        return Sound::I;
    case Sound::u:
        return Sound::U;
    case Sound::Ri:
        return Sound::RI;
    case Sound::Li:
        return Sound::LI;
    default:
        return vowel;
    }
}

Sound semivowelOf(Sound vowel)
{
    switch (vowel) {
    case Sound::i:
    case Sound::I:
        return Sound::y;
    case Sound::u:
    case Sound::U:
        return Sound::v;
    case Sound::Ri:
    case Sound::RI:
        return Sound::r;
    default:
        return vowel;
    }
}

bool isPlainStop(Sound sound)
{
    return isStop(sound) && !isNasalStop(sound);
}

Sound shortVowelOf(Sound vowel)
{
    for (int s = 0; s < kSoundCount; ++s) {
        const Sound shorter = static_cast<Sound>(s);
        if (isShortVowel(shorter) && lengthened(shorter) == vowel)
            return shorter;
    }
    return vowel;
}

Sound aspiratedOf(Sound sound)
{
    if (!isPlainStop(sound))
        return sound;
    return stopOf(placeOf(sound), isVoiced(sound), true);
}

bool takesThrownBackAspiration(Sound sound)
{
    return isPlainStop(sound) && isVoiced(sound) && !isAspirated(sound) &&
           placeOf(sound) != Place::Palatal;
}

Sound inPauseAtEnd(Sound last)
{
    return last == Sound::s || last == Sound::r ? Sound::H : last;
}

Sound stopAtEnd(Sound last)
{
    return isPlainStop(last) ? stopOf(placeOf(last), false, false) : last;
}

QChar codeOf(Sound sound)
{
    return QChar(featuresOf(sound).code);
}

const char *gunaSpelling(Sound sound)
{
    return featuresOf(sound).guna;
}

const char *vrddhiSpelling(Sound sound)
{
    return featuresOf(sound).vrddhi;
}

const Letter *letterOf(Sound sound)
{
    static const std::array<const Letter *, kSoundCount> letters = [] {
        std::array<const Letter *, kSoundCount> found{};
        for (int s = 0; s < kSoundCount; ++s)
            found[s] = Scheme::instance()
                           .matchItrans(QString::fromLatin1(kFeatures[s].spelling), false)
                           .letter;
        return found;
    }();
    return letters[static_cast<int>(sound)];
}

} // namespace vantro
