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

namespace {

template <typename Question> bool ask(QChar code, Question question)
{
    const std::optional<Sound> sound = soundOfCode(code);
    return sound && question(*sound);
}

template <typename Map> QChar map(QChar code, Map change)
{
    const std::optional<Sound> sound = soundOfCode(code);
    return sound ? codeOf(change(*sound)) : code;
}

} // namespace

Place placeOf(QChar code)
{
    const std::optional<Sound> sound = soundOfCode(code);
    return sound ? vantro::placeOf(*sound) : Place::None;
}

// clang-format off
bool isVoiced(QChar code) { return ask(code, [](Sound s) { return vantro::isVoiced(s); }); }
bool isNasal(QChar code) { return ask(code, [](Sound s) { return vantro::isNasal(s); }); }
bool isSemivowel(QChar code) { return ask(code, [](Sound s) { return vantro::isSemivowel(s); }); }
bool isLiquid(QChar code) { return ask(code, [](Sound s) { return isLiquid(s); }); }
bool isSibilant(QChar code) { return ask(code, [](Sound s) { return vantro::isSibilant(s); }); }
bool isSpirant(QChar code) { return ask(code, [](Sound s) { return isSpirant(s); }); }
bool isLabial(QChar code) { return ask(code, [](Sound s) { return isLabial(s); }); }
bool isOralStop(QChar code) { return ask(code, [](Sound s) { return vantro::isPlainStop(s); }); }
bool isVoicelessStop(QChar code) { return ask(code, [](Sound s) { return isVoicelessStop(s); }); }
bool isHighVowel(QChar code) { return ask(code, [](Sound s) { return isHighVowel(s); }); }
bool isVocalicLiquid(QChar code) { return ask(code, [](Sound s) { return isVocalicLiquid(s); }); }
bool turnsToSemivowel(QChar code) { return ask(code, [](Sound s) { return turnsToSemivowel(s); }); }
bool isDiphthong(QChar code) { return ask(code, [](Sound s) { return isDiphthong(s); }); }
bool isVrddhiDiphthong(QChar code) { return ask(code, [](Sound s) { return isVrddhiDiphthong(s); }); }
QChar otherLength(QChar code) { return map(code, [](Sound s) { return otherLength(s); }); }
QChar reduplicatingStop(QChar code) { return map(code, [](Sound s) { return reduplicatingStop(s); }); }
QChar shortenedVowel(QChar code) { return map(code, [](Sound s) { return shortenedVowel(s); }); }
QChar retroflexOf(QChar code) { return map(code, [](Sound s) { return retroflexOf(s); }); }
// clang-format on

bool isOralStop(QChar code, Place place)
{
    return ask(code, [place](Sound s) { return isPlainStop(s, place); });
}

bool sameVowelQuality(QChar code, QChar vowel)
{
    const std::optional<Sound> other = soundOfCode(vowel);
    return other && ask(code, [other](Sound s) { return sameVowelQuality(s, *other); });
}

QString diphthongBeforeVowel(QChar code)
{
    const std::optional<Sound> sound = soundOfCode(code);
    if (!sound)
        return QString(code);
    QString codes;
    const SoundString sounds = diphthongBeforeVowel(*sound);
    for (int i = 0; i < sounds.size(); ++i)
        codes += codeOf(sounds.at(i));
    return codes;
}

} // namespace vantro::verbs
