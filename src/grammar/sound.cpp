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
    Kind kind;
    Place place;
    bool voiced;
    bool aspirated;
};

constexpr Place V = Place::Velar, P = Place::Palatal, R = Place::Retroflex, D = Place::Dental,
                L = Place::Labial, X = Place::None;
constexpr Kind S = Kind::Stop;

// clang-format off
constexpr std::array<Features, kSoundCount> kFeatures = {{
    {"a", Kind::ShortVowel, V, true, false},  {"A", Kind::LongVowel, V, true, false},
    {"i", Kind::ShortVowel, P, true, false},  {"I", Kind::LongVowel, P, true, false},
    {"u", Kind::ShortVowel, L, true, false},  {"U", Kind::LongVowel, L, true, false},
    {"R^i", Kind::ShortVowel, R, true, false}, {"R^I", Kind::LongVowel, R, true, false},
    {"L^i", Kind::ShortVowel, D, true, false},
    {"e", Kind::LongVowel, P, true, false},   {"ai", Kind::LongVowel, P, true, false},
    {"o", Kind::LongVowel, L, true, false},   {"au", Kind::LongVowel, L, true, false},
    {"k", S, V, false, false}, {"kh", S, V, false, true}, {"g", S, V, true, false},
    {"gh", S, V, true, true},  {"~N", S, V, true, false},
    {"ch", S, P, false, false}, {"Ch", S, P, false, true}, {"j", S, P, true, false},
    {"jh", S, P, true, true},   {"~n", S, P, true, false},
    {"T", S, R, false, false}, {"Th", S, R, false, true}, {"D", S, R, true, false},
    {"Dh", S, R, true, true},  {"N", S, R, true, false},
    {"t", S, D, false, false}, {"th", S, D, false, true}, {"d", S, D, true, false},
    {"dh", S, D, true, true},  {"n", S, D, true, false},
    {"p", S, L, false, false}, {"ph", S, L, false, true}, {"b", S, L, true, false},
    {"bh", S, L, true, true},  {"m", S, L, true, false},
    {"y", Kind::Semivowel, P, true, false}, {"r", Kind::Semivowel, R, true, false},
    {"l", Kind::Semivowel, D, true, false}, {"v", Kind::Semivowel, L, true, false},
    {"sh", Kind::Sibilant, P, false, false}, {"Sh", Kind::Sibilant, R, false, false},
    {"s", Kind::Sibilant, D, false, false},  {"h", Kind::Aspirate, X, true, true},
    {"M", Kind::Sign, X, true, false},       {"H", Kind::Sign, X, false, false},
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
