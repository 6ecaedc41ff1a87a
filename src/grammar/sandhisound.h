// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter.h"
#include "sound.h"

#include <QString>
#include <QStringView>
#include <QVector>

namespace vantro {

// What sandhi needs to know of a letter of the scheme: its kind, and for vowels their quality
// and length, for consonants the place they are spoken at, their voice and aspiration.
struct SandhiSound
{
    enum class Kind : quint8 {
        None, // digits, dandas, nukta letters, accents: no rule touches them
        Vowel,
        Stop,
        Nasal,
        Semivowel, // y r l v, by place palatal, retroflex, dental, labial
        Sibilant,  // sh Sh s, by place palatal, retroflex, dental
        Aspirate,  // h
        Visarga,
        Anusvara,
        Avagraha,
        Virama,
    };
    // A vowel's quality is the short vowel of its kind in the table of sounds (I and i are
    // both i); the diphthongs are each their own.
    static constexpr Sound A = Sound::a, I = Sound::i, U = Sound::u, R = Sound::Ri, L = Sound::Li,
                           E = Sound::e, Ai = Sound::ai, O = Sound::o, Au = Sound::au;

    Kind kind = Kind::None;
    Sound quality = A; // vowels
    bool isLong = false;
    Place place = Place::Velar; // consonants
    bool voiced = false;
    bool aspirated = false;
    bool conjunct = false; // kSh and j~n, which count as their first sound at a word's start

    bool is(Kind k) const { return kind == k; }
    bool isVowel() const { return kind == Kind::Vowel; }
    bool isConsonant() const
    {
        return kind == Kind::Stop || kind == Kind::Nasal || kind == Kind::Semivowel ||
               kind == Kind::Sibilant || kind == Kind::Aspirate;
    }
    // Vowels, the voiced stops, nasals, semivowels and h: what voices a final before it.
    bool isVoiced() const { return voiced; }
    bool isSimpleVowel() const { return isVowel() && vantro::isShortVowel(quality); }
};

// The scheme's letters classified once, and the letters the rules put in place of others.
class SandhiSounds
{
public:
    static const SandhiSounds &instance();

    SandhiSound of(const Letter *letter) const;
    // The preferred ITRANS spelling, which every letter the rules put in is written with.
    QStringView spelling(const Letter *letter) const;

    const Letter *vowel(Sound quality, bool isLong = false) const;
    const Letter *stop(Place place, bool voiced, bool aspirated = false) const;
    const Letter *nasal(Place place) const;
    const Letter *semivowel(Place place) const;
    const Letter *sibilant(Place place) const;
    const Letter *visarga() const { return m_visarga; }
    const Letter *anusvara() const { return m_anusvara; }
    const Letter *chandrabindu() const { return m_chandrabindu; }
    const Letter *avagraha() const { return m_avagraha; }

private:
    SandhiSounds();
    int indexOf(const Letter *letter) const;
    const Letter *find(const char *itrans) const;
    void classify(const char *itrans, SandhiSound sound);
    void take(Sound sound);
    void takeConjunct(const Letter &letter);

    const Letter *m_first = nullptr;
    int m_count = 0;
    QVector<SandhiSound> m_sounds;
    QVector<QString> m_spellings;
    const Letter *m_vowels[kSoundCount][2] = {};
    const Letter *m_stops[kPlaceCount][2][2] = {};
    const Letter *m_nasals[kPlaceCount] = {};
    const Letter *m_semivowels[kPlaceCount] = {};
    const Letter *m_sibilants[kPlaceCount] = {};
    const Letter *m_visarga = nullptr;
    const Letter *m_anusvara = nullptr;
    const Letter *m_chandrabindu = nullptr;
    const Letter *m_avagraha = nullptr;
};

} // namespace vantro
