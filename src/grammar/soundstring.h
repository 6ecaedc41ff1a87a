// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outcome.h"
#include "sound.h"

#include <QHashFunctions>
#include <QList>
#include <QString>
#include <QStringView>

#include <algorithm>
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
    explicit SoundString(Sound sound) : m_sounds(1, char(sound)) {}
    // A spelling written in the program, read once per thread and kept by its address: the
    // rules' endings and pieces ("anti", "ShT") cost a look-up, not a reading, each time.
    static const SoundString &literal(const char *itrans);

    // The reason when the text holds anything but the letters of Sanskrit words (digits, nukta
    // letters, accents, punctuation, spaces). A separator "_" and a virama are read over.
    static Outcome<SoundString> fromItrans(QStringView itrans);
    QString toItrans() const;

    int size() const { return int(m_sounds.size()); }
    bool isEmpty() const { return m_sounds.empty(); }
    void clear() { m_sounds.clear(); }
    Sound at(int index) const { return static_cast<Sound>(m_sounds[std::size_t(index)]); }
    // The sound `back` places from the end: last(1) is the final sound; Sound::a past the start,
    // so that tests on short words need no length checks.
    Sound last(int back = 1) const;
    // The first and the last sound of a word that is not empty.
    Sound front() const { return at(0); }
    Sound back() const { return at(size() - 1); }

    bool endsWith(const SoundString &tail) const;
    bool endsWith(Sound sound) const { return !isEmpty() && back() == sound; }
    bool startsWith(const SoundString &head) const;
    bool startsWith(const char *literal) const;
    bool startsWith(Sound sound) const { return !isEmpty() && front() == sound; }
    // Where the sound or the piece first stands from `from` on; -1 where it does not.
    int indexOf(Sound sound, int from = 0) const;
    int indexOf(const SoundString &piece, int from = 0) const;
    bool contains(Sound sound) const { return indexOf(sound) >= 0; }
    bool contains(const SoundString &piece) const { return indexOf(piece) >= 0; }
    bool contains(const char *literal) const { return indexOf(SoundString::literal(literal)) >= 0; }
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
    SoundString mid(int from, int count) const;
    // Which of the vowels are there: 1 for "dhI", 2 for "nadI".
    int syllableCount() const;

    SoundString &append(Sound sound);
    SoundString &append(const SoundString &other);
    void set(int index, Sound sound) { m_sounds[std::size_t(index)] = char(sound); }
    void insert(int index, Sound sound);
    void remove(int index) { m_sounds.erase(std::size_t(index), 1); }
    // The `count` sounds from `from` on give way to `with`.
    SoundString &replace(int from, int count, const SoundString &with);
    SoundString &replace(int from, int count, const char *literal)
    {
        return replace(from, count, SoundString::literal(literal));
    }
    // Every `before`, from the start on, gives way to `after`.
    SoundString &replaceAll(const SoundString &before, const SoundString &after);
    void chop(int count) { m_sounds.resize(std::size_t(std::max(0, size() - count))); }

    friend SoundString operator+(SoundString left, const SoundString &right)
    {
        return left.append(right);
    }
    friend SoundString operator+(SoundString left, Sound right) { return left.append(right); }
    friend SoundString operator+(Sound left, const SoundString &right)
    {
        return SoundString(left).append(right);
    }
    friend SoundString operator+(SoundString left, const char *literal)
    {
        return left.append(SoundString::literal(literal));
    }
    friend SoundString operator+(const char *literal, const SoundString &right)
    {
        return SoundString(SoundString::literal(literal)).append(right);
    }
    SoundString &operator+=(Sound sound) { return append(sound); }

    friend size_t qHash(const SoundString &sounds, size_t seed = 0)
    {
        return qHash(QByteArrayView(sounds.m_sounds.data(), qsizetype(sounds.m_sounds.size())),
                     seed);
    }

private:
    std::string m_sounds; // one char per Sound value: short words stay off the heap
};

// A spelling written in the program where a SoundString is taken: attach(stem, "ti"_sounds).
inline const SoundString &operator""_sounds(const char *itrans, std::size_t)
{
    return SoundString::literal(itrans);
}

using SoundStrings = QList<SoundString>;

// Each word once, where it first stands.
void removeDuplicates(SoundStrings &words);

} // namespace vantro
