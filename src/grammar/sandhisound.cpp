// SPDX-License-Identifier: GPL-3.0-or-later
#include "sandhisound.h"

#include "schemetable.h"
#include "soundstring.h"

#include <cstring>

namespace vantro {

namespace {

using Kind = SandhiSound::Kind;

SandhiSound vowelSound(Sound quality, bool isLong)
{
    SandhiSound sound{Kind::Vowel, quality, isLong};
    sound.voiced = true;
    return sound;
}

SandhiSound consonantSound(Kind kind, Place place, bool voiced, bool aspirated = false)
{
    SandhiSound sound{kind};
    sound.place = place;
    sound.voiced = voiced;
    sound.aspirated = aspirated;
    return sound;
}

Kind consonantKind(Sound sound)
{
    if (isNasal(sound))
        return Kind::Nasal;
    if (isStop(sound))
        return Kind::Stop;
    if (isSemivowel(sound))
        return Kind::Semivowel;
    return isSibilant(sound) ? Kind::Sibilant : Kind::Aspirate;
}

} // namespace

const SandhiSounds &SandhiSounds::instance()
{
    static const SandhiSounds sounds;
    return sounds;
}

SandhiSounds::SandhiSounds()
    : m_first(schemeLetters()), m_count(int(schemeLetterCount())), m_sounds(m_count),
      m_spellings(m_count)
{
    for (int i = 0; i < m_count; ++i)
        m_spellings[i] = QString::fromLatin1(m_first[i].preferred());
    for (int s = 0; s < kSoundCount; ++s)
        take(static_cast<Sound>(s));
    for (int i = 0; i < m_count; ++i)
        if (m_first[i].letterClass == LetterClass::Conjunct)
            takeConjunct(m_first[i]);
    classify("H", SandhiSound{Kind::Visarga});
    classify("M", SandhiSound{Kind::Anusvara});
    classify(".a", SandhiSound{Kind::Avagraha});
    classify(".h", SandhiSound{Kind::Virama});
    m_visarga = find("H");
    m_anusvara = find("M");
    m_chandrabindu = find(".N");
    m_avagraha = find(".a");
}

// A sound of the grammar's table as sandhi reads it, and the letter the rules put in for it.
void SandhiSounds::take(Sound sound)
{
    const Letter *letter = letterOf(sound);
    if (isVowel(sound)) {
        const Sound quality = shortVowelOf(sound);
        m_sounds[indexOf(letter)] = vowelSound(quality, !isShortVowel(sound));
        m_vowels[static_cast<int>(quality)][!isShortVowel(sound)] = letter;
        return;
    }
    if (!isConsonant(sound))
        return; // anusvara and visarga are signs of their own to sandhi
    const Kind kind = consonantKind(sound);
    const Place place = placeOf(sound);
    m_sounds[indexOf(letter)] = consonantSound(kind, place, isVoiced(sound), isAspirated(sound));
    const int p = static_cast<int>(place);
    if (kind == Kind::Stop)
        m_stops[p][isVoiced(sound)][isAspirated(sound)] = letter;
    else if (kind == Kind::Nasal)
        m_nasals[p] = letter;
    else if (kind == Kind::Semivowel)
        m_semivowels[p] = letter;
    else if (kind == Kind::Sibilant)
        m_sibilants[p] = letter;
}

// kSh and j~n are two sounds; at a word's start sandhi treats them as their first.
void SandhiSounds::takeConjunct(const Letter &letter)
{
    const SoundString sounds =
        SoundString::fromItrans(QString::fromLatin1(letter.preferred())).value;
    if (sounds.isEmpty())
        return;
    SandhiSound first = of(letterOf(sounds.at(0)));
    first.conjunct = true;
    m_sounds[indexOf(&letter)] = first;
}

int SandhiSounds::indexOf(const Letter *letter) const
{
    const auto index = letter - m_first;
    return letter && index >= 0 && index < m_count ? int(index) : -1;
}

const Letter *SandhiSounds::find(const char *itrans) const
{
    for (int i = 0; i < m_count; ++i)
        if (std::strcmp(m_first[i].preferred(), itrans) == 0)
            return m_first + i;
    Q_ASSERT_X(false, "SandhiSounds", itrans);
    return nullptr;
}

void SandhiSounds::classify(const char *itrans, SandhiSound sound)
{
    m_sounds[indexOf(find(itrans))] = sound;
}

SandhiSound SandhiSounds::of(const Letter *letter) const
{
    const int index = indexOf(letter);
    return index < 0 ? SandhiSound{} : m_sounds[index];
}

QStringView SandhiSounds::spelling(const Letter *letter) const
{
    const int index = indexOf(letter);
    return index < 0 ? QStringView() : QStringView(m_spellings[index]);
}

const Letter *SandhiSounds::vowel(Sound quality, bool isLong) const
{
    const auto &grades = m_vowels[static_cast<int>(quality)];
    return grades[isLong] ? grades[isLong] : grades[!isLong];
}

const Letter *SandhiSounds::stop(Place place, bool voiced, bool aspirated) const
{
    return place == Place::None ? nullptr : m_stops[int(place)][voiced][aspirated];
}

const Letter *SandhiSounds::nasal(Place place) const
{
    return place == Place::None ? nullptr : m_nasals[int(place)];
}

const Letter *SandhiSounds::semivowel(Place place) const
{
    return place == Place::None ? nullptr : m_semivowels[int(place)];
}

const Letter *SandhiSounds::sibilant(Place place) const
{
    return place == Place::None ? nullptr : m_sibilants[int(place)];
}

} // namespace vantro
