// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheme.h"

#include "schemetable.h"

#include <algorithm>

namespace vantro {

namespace {

// No Devanagari letter is longer than three UTF-16 units: 48 bits hold the units and the top
// 16 the length, so "a" and "\0a" stay apart.
constexpr int kLongestDevanagari = 3;

quint64 keyOf(QStringView text)
{
    quint64 units = 0;
    for (const QChar c : text)
        units = units << 16 | c.unicode();
    return quint64(text.size()) << 48 | units;
}

// ITRANS spellings are ASCII and up to six characters long (".N.h"), a byte each. Text with
// anything else in it gets key 0, which no spelling has.
constexpr int kLongestItrans = 6;

quint64 itransKeyOf(QStringView text)
{
    quint64 units = 0;
    for (const QChar c : text) {
        if (c.unicode() == 0 || c.unicode() > 0x7F)
            return 0;
        units = units << 8 | c.unicode();
    }
    return quint64(text.size()) << 48 | units;
}

} // namespace

const Scheme &Scheme::instance()
{
    static const Scheme scheme;
    return scheme;
}

Scheme::Scheme()
{
    const Letter *table = schemeLetters();
    for (std::size_t i = 0; i < schemeLetterCount(); ++i)
        addLetter(table[i]);
}

void Scheme::addLetter(const Letter &letter)
{
    m_letters.push_back(&letter);
    for (int alternate = 0; alternate < int(letter.itrans.size()); ++alternate) {
        const char *spelling = letter.itrans[alternate];
        if (!spelling)
            break;
        const QString text = QString::fromLatin1(spelling);
        Q_ASSERT(text.size() <= kLongestItrans);
        m_itrans.insert(itransKeyOf(text), Spelling{&letter, alternate, int(text.size())});
        m_maxItransLength = std::max(m_maxItransLength, int(text.size()));
        int &longest = m_longestItransFrom[text.front().unicode()];
        longest = std::max(longest, int(text.size()));
    }
    const QStringView devanagari(letter.devanagari);
    Q_ASSERT(devanagari.size() <= kLongestDevanagari);
    m_devanagari.insert(keyOf(devanagari), &letter);
    m_maxDevanagariLength = std::max(m_maxDevanagariLength, int(devanagari.size()));
    if (letter.isVowel() && *letter.sign)
        m_vowelSigns.insert(keyOf(QStringView(letter.sign)), &letter);
}

Spelling Scheme::matchItrans(QStringView text, bool afterConsonant) const
{
    if (text.isEmpty() || text.front().unicode() >= m_longestItransFrom.size())
        return {};
    const int longest = m_longestItransFrom[text.front().unicode()];
    for (int length = std::min(longest, int(text.size())); length > 0; --length) {
        const Spelling found = m_itrans.value(itransKeyOf(text.left(length)));
        if (!found.letter)
            continue;
        if (afterConsonant && found.letter->letterClass == LetterClass::Om)
            continue;
        return found;
    }
    return {};
}

const Letter *Scheme::matchDevanagari(QStringView text, int *length) const
{
    for (int n = std::min(m_maxDevanagariLength, int(text.size())); n > 0; --n) {
        if (const Letter *letter = m_devanagari.value(keyOf(text.left(n)))) {
            *length = n;
            return letter;
        }
    }
    return nullptr;
}

const Letter *Scheme::vowelForSign(QStringView sign) const
{
    return sign.size() <= kLongestDevanagari ? m_vowelSigns.value(keyOf(sign)) : nullptr;
}

} // namespace vantro
