// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter.h"

#include <QHash>
#include <QString>
#include <QStringView>
#include <array>
#include <vector>

namespace vantro {

// One ITRANS spelling found in a text: the letter it stands for and which of its spellings.
struct Spelling
{
    const Letter *letter = nullptr;
    int alternate = 0;
    int length = 0;
};

// Look-ups over the scheme table, built once: ITRANS spellings for the converter and the lint,
// Devanagari letters and vowel signs for the reverse direction.
class Scheme
{
public:
    static const Scheme &instance();

    const std::vector<const Letter *> &letters() const { return m_letters; }

    // The longest spelling at the start of text (greedy, case-sensitive). OM is not read right
    // after a consonant, where "kOM" means a consonant with o and anusvara.
    Spelling matchItrans(QStringView text, bool afterConsonant) const;

    // The longest letter whose independent Devanagari form starts text, or null.
    const Letter *matchDevanagari(QStringView text, int *length) const;
    const Letter *vowelForSign(QStringView sign) const;

    int maxItransLength() const { return m_maxItransLength; }

private:
    Scheme();
    void addLetter(const Letter &letter);

    std::vector<const Letter *> m_letters;
    // Keys pack the few UTF-16 units of a spelling and its length into one integer, so the
    // greedy reader looks up a slice of its input without building a string.
    QHash<quint64, Spelling> m_itrans;
    QHash<quint64, const Letter *> m_devanagari;
    QHash<quint64, const Letter *> m_vowelSigns;
    int m_maxItransLength = 0;
    // The longest spelling starting with each ASCII character; 0 where none does, so that
    // spaces and punctuation cost no look-up.
    std::array<int, 128> m_longestItransFrom{};
    int m_maxDevanagariLength = 0;
};

} // namespace vantro
