// SPDX-License-Identifier: GPL-3.0-or-later
#include "soundclasses.h"

#include <optional>

namespace vantro::verbs {

namespace {

template <typename Question> bool ask(QChar code, Question question)
{
    const std::optional<Sound> sound = soundOfCode(code);
    return sound && question(*sound);
}

// A long vowel made by lengthening a simple one (A, I, U, R^I) is no diphthong.
bool isLengthenedSimpleVowel(Sound sound)
{
    for (int s = 0; s < kSoundCount; ++s) {
        const Sound shortVowel = static_cast<Sound>(s);
        if (vantro::isShortVowel(shortVowel) && shortVowel != sound &&
            lengthened(shortVowel) == sound)
            return true;
    }
    return false;
}

// The simple vowel whose guna or vrddhi a diphthong is (e, ai: i; o, au: u).
std::optional<Sound> simpleVowelOfDiphthong(QChar code)
{
    for (int s = 0; s < kSoundCount; ++s) {
        const Sound simple = static_cast<Sound>(s);
        if (vantro::isShortVowel(simple) && semivowelOf(simple) != simple &&
            (gunaCodes(simple) == code || vrddhiCodes(simple) == code))
            return simple;
    }
    return std::nullopt;
}

} // namespace

Place placeOf(QChar code)
{
    const std::optional<Sound> sound = soundOfCode(code);
    return sound ? vantro::placeOf(*sound) : Place::None;
}

bool isVoiced(QChar code)
{
    return ask(code, [](Sound s) { return vantro::isVoiced(s); });
}

bool isNasal(QChar code)
{
    return ask(code, [](Sound s) { return vantro::isNasal(s); });
}

bool isSemivowel(QChar code)
{
    return ask(code, [](Sound s) { return vantro::isSemivowel(s); });
}

bool isLiquid(QChar code)
{
    return ask(code, [](Sound s) {
        return vantro::isSemivowel(s) &&
               (vantro::placeOf(s) == Place::Retroflex || vantro::placeOf(s) == Place::Dental);
    });
}

bool isSibilant(QChar code)
{
    return ask(code, [](Sound s) { return vantro::isSibilant(s); });
}

bool isSpirant(QChar code)
{
    return ask(code, [](Sound s) { return vantro::isSibilant(s) || s == Sound::h; });
}

bool isLabial(QChar code)
{
    return ask(code, [](Sound s) {
        return vantro::isConsonant(s) && vantro::placeOf(s) == Place::Labial;
    });
}

bool isOralStop(QChar code)
{
    return ask(code, [](Sound s) { return vantro::isStop(s) && !vantro::isNasal(s); });
}

bool isOralStop(QChar code, Place place)
{
    return isOralStop(code) && placeOf(code) == place;
}

bool isVoicelessStop(QChar code)
{
    return ask(code, [](Sound s) { return vantro::isStop(s) && !vantro::isVoiced(s); });
}

bool sameVowelQuality(QChar code, QChar vowel)
{
    const std::optional<Sound> sound = soundOfCode(code);
    const std::optional<Sound> other = soundOfCode(vowel);
    return sound && other && vantro::isVowel(*sound) && lengthened(*sound) == lengthened(*other);
}

bool isHighVowel(QChar code)
{
    return turnsToSemivowel(code) && !isVocalicLiquid(code);
}

bool isVocalicLiquid(QChar code)
{
    return ask(code, [](Sound s) {
        return vantro::isVowel(s) &&
               (vantro::placeOf(s) == Place::Retroflex || vantro::placeOf(s) == Place::Dental);
    });
}

bool turnsToSemivowel(QChar code)
{
    return ask(code, [](Sound s) { return vantro::isVowel(s) && semivowelOf(s) != s; });
}

bool isDiphthong(QChar code)
{
    return ask(code, [](Sound s) {
        return vantro::isVowel(s) && !vantro::isShortVowel(s) && !isLengthenedSimpleVowel(s);
    });
}

bool isVrddhiDiphthong(QChar code)
{
    // e and o are the guna of i and u; ai and au only ever their vrddhi.
    return isDiphthong(code) && gunaCodes(Sound::i) != code && gunaCodes(Sound::u) != code;
}

QChar otherLength(QChar code)
{
    for (int s = 0; s < kSoundCount; ++s) {
        const QChar other = codeOf(static_cast<Sound>(s));
        if (other != code && sameVowelQuality(other, code))
            return other;
    }
    return code;
}

QChar reduplicatingStop(QChar code)
{
    if (!isOralStop(code) && code != u'h')
        return code;
    const Place place = placeOf(code);
    return codeOf(stopOf(place == Place::Velar || place == Place::None ? Place::Palatal : place,
                         isVoiced(code), false));
}

QChar shortenedVowel(QChar code)
{
    if (isDiphthong(code))
        return codeOf(simpleVowelOfDiphthong(code).value_or(Sound::a));
    const std::optional<Sound> sound = soundOfCode(code);
    return sound ? codeOf(shortVowelOf(*sound)) : code;
}

QString diphthongBeforeVowel(QChar code)
{
    const std::optional<Sound> simple =
        isDiphthong(code) ? simpleVowelOfDiphthong(code) : std::nullopt;
    if (!simple)
        return QString(code);
    // The a the diphthong holds: short in the guna (e = a + i), long in the vrddhi (ai = A + i).
    const Sound a = isVrddhiDiphthong(code) ? lengthened(Sound::a) : Sound::a;
    return QString(codeOf(a)) + codeOf(semivowelOf(*simple));
}

QChar retroflexOf(QChar code)
{
    const std::optional<Sound> sound = soundOfCode(code);
    if (!sound || !vantro::isStop(*sound) || vantro::placeOf(*sound) != Place::Dental)
        return code;
    if (vantro::isNasal(*sound))
        return codeOf(nasalOf(Place::Retroflex));
    return codeOf(stopOf(Place::Retroflex, vantro::isVoiced(*sound), isAspirated(*sound)));
}

QString codesWhere(bool (*question)(QChar code))
{
    QString codes;
    for (int s = 0; s < kSoundCount; ++s) {
        const QChar code = codeOf(static_cast<Sound>(s));
        if (question(code))
            codes += code;
    }
    return codes;
}

} // namespace vantro::verbs
