// SPDX-License-Identifier: GPL-3.0-or-later
#include "sandhisound.h"

#include "schemetable.h"

#include <cstring>

namespace vantro {

namespace {

using Kind = SandhiSound::Kind;

SandhiSound vowelSound(quint8 quality, bool isLong)
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
    const char *vowels[9][2] = {{"a", "A"},      {"i", "I"},     {"u", "U"},
                                {"R^i", "R^I"},  {"L^i", "L^I"}, {nullptr, "e"},
                                {nullptr, "ai"}, {nullptr, "o"}, {nullptr, "au"}};
    for (quint8 quality = 0; quality < 9; ++quality)
        for (int isLong = 0; isLong < 2; ++isLong)
            if (const char *spelling = vowels[quality][isLong]) {
                classify(spelling, vowelSound(quality, isLong));
                m_vowels[quality][isLong] = find(spelling);
            }
    const char *stops[5][5] = {{"k", "kh", "g", "gh", "~N"},
                               {"ch", "Ch", "j", "jh", "~n"},
                               {"T", "Th", "D", "Dh", "N"},
                               {"t", "th", "d", "dh", "n"},
                               {"p", "ph", "b", "bh", "m"}};
    for (int p = 0; p < kPlaceCount; ++p) {
        const Place place = static_cast<Place>(p);
        for (int n = 0; n < 4; ++n) {
            classify(stops[p][n], consonantSound(Kind::Stop, place, n >= 2, n % 2));
            m_stops[p][n >= 2][n % 2] = find(stops[p][n]);
        }
        classify(stops[p][4], consonantSound(Kind::Nasal, place, true));
        m_nasals[p] = find(stops[p][4]);
    }
    const char *semivowels[] = {"y", "r", "l", "v"};
    const char *sibilants[] = {"sh", "Sh", "s"};
    for (int i = 0; i < 4; ++i) {
        classify(semivowels[i], consonantSound(Kind::Semivowel, static_cast<Place>(i + 1), true));
        m_semivowels[i + 1] = find(semivowels[i]);
    }
    for (int i = 0; i < 3; ++i) {
        classify(sibilants[i], consonantSound(Kind::Sibilant, static_cast<Place>(i + 1), false));
        m_sibilants[i + 1] = find(sibilants[i]);
    }
    classify("h", consonantSound(Kind::Aspirate, Place::Velar, true, true));
    SandhiSound kSh = consonantSound(Kind::Stop, Place::Velar, false);
    kSh.conjunct = true;
    classify("kSh", kSh);
    SandhiSound jn = consonantSound(Kind::Stop, Place::Palatal, true);
    jn.conjunct = true;
    classify("j~n", jn);
    classify("H", SandhiSound{Kind::Visarga});
    classify("M", SandhiSound{Kind::Anusvara});
    classify(".a", SandhiSound{Kind::Avagraha});
    classify(".h", SandhiSound{Kind::Virama});
    m_visarga = find("H");
    m_anusvara = find("M");
    m_chandrabindu = find(".N");
    m_avagraha = find(".a");
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

const Letter *SandhiSounds::vowel(quint8 quality, bool isLong) const
{
    return m_vowels[quality][isLong] ? m_vowels[quality][isLong] : m_vowels[quality][!isLong];
}

const Letter *SandhiSounds::stop(Place place, bool voiced, bool aspirated) const
{
    return m_stops[int(place)][voiced][aspirated];
}

const Letter *SandhiSounds::nasal(Place place) const
{
    return m_nasals[int(place)];
}

const Letter *SandhiSounds::semivowel(Place place) const
{
    return m_semivowels[int(place)];
}

const Letter *SandhiSounds::sibilant(Place place) const
{
    return m_sibilants[int(place)];
}

} // namespace vantro
