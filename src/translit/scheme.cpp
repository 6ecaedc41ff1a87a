#include "scheme.h"

#include "schemetable.h"

#include <algorithm>

namespace vantro {

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
        const QString key = QString::fromLatin1(spelling);
        m_itrans.insert(key, Spelling{&letter, alternate, int(key.size())});
        m_maxItransLength = std::max(m_maxItransLength, int(key.size()));
    }
    const QString devanagari = QString::fromUtf16(letter.devanagari);
    m_devanagari.insert(devanagari, &letter);
    m_maxDevanagariLength = std::max(m_maxDevanagariLength, int(devanagari.size()));
    if (letter.isVowel() && *letter.sign)
        m_vowelSigns.insert(QString::fromUtf16(letter.sign), &letter);
}

Spelling Scheme::matchItrans(QStringView text, bool afterConsonant) const
{
    for (int length = std::min(m_maxItransLength, int(text.size())); length > 0; --length) {
        const Spelling found = m_itrans.value(text.left(length).toString());
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
        if (const Letter *letter = m_devanagari.value(text.left(n).toString())) {
            *length = n;
            return letter;
        }
    }
    return nullptr;
}

const Letter *Scheme::vowelForSign(QStringView sign) const
{
    return m_vowelSigns.value(sign.toString());
}

} // namespace vantro
