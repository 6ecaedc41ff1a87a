// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outcome.h"
#include "sound.h"

#include <QString>
#include <QStringView>

#include <initializer_list>
#include <string>

namespace vantro {

// A word or a piece of one as a row of sounds. Read from ITRANS through the converter's
// tokenizer and written back with the scheme's preferred spellings, so "aa" and "A" are the
// same word here and the output always reads back as it was meant ("k_h", not "kh").
class SoundString
{
public:
    SoundString() = default;
    // For spellings written in the program itself; anything that is not a Sanskrit letter is
    // a programming error.
    explicit SoundString(const char *itrans);

    // The reason when the text holds anything but the letters of Sanskrit words (digits, nukta
    // letters, accents, punctuation, spaces). A separator "_" and a virama are read over.
    static Outcome<SoundString> fromItrans(QStringView itrans);
    QString toItrans() const;

    int size() const { return int(m_sounds.size()); }
    bool isEmpty() const { return m_sounds.empty(); }
    Sound at(int index) const { return static_cast<Sound>(m_sounds[std::size_t(index)]); }
    // The sound `back` places from the end: last(1) is the final sound; Sound::a past the start,
    // so that tests on short words need no length checks.
    Sound last(int back = 1) const;

    bool endsWith(const SoundString &tail) const;
    // For string literals written in the program: endsWith("man"), isOneOf({"yuvan", "shvan"}).
    // Each literal is read once per thread and kept by its address.
    bool endsWith(const char *literal) const;
    bool endsWithOneOf(std::initializer_list<const char *> tails) const;
    bool isOneOf(std::initializer_list<const char *> words) const;
    bool operator==(const SoundString &other) const { return m_sounds == other.m_sounds; }
    bool operator!=(const SoundString &other) const { return m_sounds != other.m_sounds; }

    SoundString left(int count) const;
    SoundString chopped(int count) const { return left(size() - count); }
    SoundString mid(int from) const;
    // Which of the vowels are there: 1 for "dhI", 2 for "nadI".
    int syllableCount() const;

    SoundString &append(Sound sound);
    SoundString &append(const SoundString &other);
    void set(int index, Sound sound) { m_sounds[std::size_t(index)] = char(sound); }
    void insert(int index, Sound sound);
    void remove(int index) { m_sounds.erase(std::size_t(index), 1); }

    friend SoundString operator+(SoundString left, const SoundString &right)
    {
        return left.append(right);
    }
    friend SoundString operator+(SoundString left, Sound right) { return left.append(right); }

private:
    std::string m_sounds; // one char per Sound value: short words stay off the heap
};

} // namespace vantro
