// SPDX-License-Identifier: GPL-3.0-or-later
#include "soundclasses.h"

#include <optional>

namespace vantro::verbs {

namespace {

// A long vowel made by lengthening a simple one (A, I, U, R^I) is no diphthong.
bool isLengthenedSimpleVowel(Sound sound)
{
    for (int s = 0; s < kSoundCount; ++s) {
        const Sound shortVowel = static_cast<Sound>(s);
        if (isShortVowel(shortVowel) && shortVowel != sound && lengthened(shortVowel) == sound)
            return true;
    }
    return false;
}

// The simple vowel whose guna or vrddhi a diphthong is (e, ai: i; o, au: u).
std::optional<Sound> simpleVowelOfDiphthong(Sound diphthong)
{
    const SoundString alone(diphthong);
    for (int s = 0; s < kSoundCount; ++s) {
        const Sound simple = static_cast<Sound>(s);
        if (isShortVowel(simple) && semivowelOf(simple) != simple &&
            (guna(simple) == alone || vrddhi(simple) == alone))
            return simple;
    }
    return std::nullopt;
}

} // namespace

SoundString guna(Sound vowel)
{
    const char *grade = gunaSpelling(vowel);
    return grade ? SoundString::literal(grade) : SoundString(vowel);
}

SoundString vrddhi(Sound vowel)
{
    const char *grade = vrddhiSpelling(vowel);
    return grade ? SoundString::literal(grade) : SoundString(vowel);
}

bool isLiquid(Sound sound)
{
    return isSemivowel(sound) &&
           (placeOf(sound) == Place::Retroflex || placeOf(sound) == Place::Dental);
}

bool isSpirant(Sound sound)
{
    return isSibilant(sound) || sound == Sound::h;
}

bool isLabial(Sound sound)
{
    return isConsonant(sound) && placeOf(sound) == Place::Labial;
}

bool isPlainStop(Sound sound, Place place)
{
    return isPlainStop(sound) && placeOf(sound) == place;
}

bool isVoicelessStop(Sound sound)
{
    return isStop(sound) && !isVoiced(sound);
}

bool sameVowelQuality(Sound sound, Sound vowel)
{
    return isVowel(sound) && lengthened(sound) == lengthened(vowel);
}

bool isHighVowel(Sound sound)
{
    return turnsToSemivowel(sound) && !isVocalicLiquid(sound);
}

bool isVocalicLiquid(Sound sound)
{
    return isVowel(sound) &&
           (placeOf(sound) == Place::Retroflex || placeOf(sound) == Place::Dental);
}

bool turnsToSemivowel(Sound sound)
{
    return isVowel(sound) && semivowelOf(sound) != sound;
}

bool isDiphthong(Sound sound)
{
    return isVowel(sound) && !isShortVowel(sound) && !isLengthenedSimpleVowel(sound);
}

bool isVrddhiDiphthong(Sound sound)
{
    // e and o are the guna of i and u; ai and au only ever their vrddhi.
    const SoundString alone(sound);
    return isDiphthong(sound) && guna(Sound::i) != alone && guna(Sound::u) != alone;
}

Sound otherLength(Sound sound)
{
    for (int s = 0; s < kSoundCount; ++s) {
        const Sound other = static_cast<Sound>(s);
        if (other != sound && sameVowelQuality(other, sound))
            return other;
    }
    return sound;
}

Sound reduplicatingStop(Sound sound)
{
    if (!isPlainStop(sound) && sound != Sound::h)
        return sound;
    const Place place = placeOf(sound);
    return stopOf(place == Place::Velar || place == Place::None ? Place::Palatal : place,
                  isVoiced(sound), false);
}

Sound shortenedVowel(Sound sound)
{
    if (isDiphthong(sound))
        return simpleVowelOfDiphthong(sound).value_or(Sound::a);
    return shortVowelOf(sound);
}

SoundString diphthongBeforeVowel(Sound sound)
{
    const std::optional<Sound> simple =
        isDiphthong(sound) ? simpleVowelOfDiphthong(sound) : std::nullopt;
    if (!simple)
        return SoundString(sound);
    // The a the diphthong holds: short in the guna (e = a + i), long in the vrddhi (ai = A + i).
    const Sound a = isVrddhiDiphthong(sound) ? lengthened(Sound::a) : Sound::a;
    return SoundString(a) + semivowelOf(*simple);
}

Sound retroflexOf(Sound sound)
{
    if (!isStop(sound) || placeOf(sound) != Place::Dental)
        return sound;
    if (isNasal(sound))
        return nasalOf(Place::Retroflex);
    return stopOf(Place::Retroflex, isVoiced(sound), isAspirated(sound));
}

} // namespace vantro::verbs
