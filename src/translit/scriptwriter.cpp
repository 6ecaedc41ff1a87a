// SPDX-License-Identifier: GPL-3.0-or-later
#include "scriptwriter.h"

#include "scheme.h"

#include <QSet>

#include <utility>

namespace vantro {

namespace {

const QString kDevanagariVirama = QStringLiteral(u"्");
const QChar kZeroWidthNonJoiner = u'\u200C';

} // namespace

ScriptWriter::ScriptWriter(Script script, TranslitOptions options)
    : m_script(script), m_options(options)
{
}

QString ScriptWriter::write(QStringView text)
{
    m_out.clear();
    m_consonantWaiting = false;
    m_afterExplicitVirama = false;
    m_afterVowelA = false;
    m_lastConsonant = nullptr;
    m_out.reserve(text.size() * 2);
    ItransTokenizer tokenizer(text);
    for (ItransToken token; tokenizer.next(&token);)
        writeToken(token, text);
    endWord();
    return m_out;
}

void ScriptWriter::writeToken(const ItransToken &token, QStringView text)
{
    if (token.kind == ItransToken::Kind::Separator)
        return;
    // A virama belongs to a consonant. After a vowel, a sign, a blank or nothing it would sit
    // on a dotted circle, and IAST has nothing to write for it: neither script writes it, and
    // it leaves the state as it found it ("a.hi" stays a and i apart).
    if (token.isLetter() && token.letter()->letterClass == LetterClass::Virama &&
        !m_consonantWaiting)
        return;
    const bool afterExplicitVirama = std::exchange(m_afterExplicitVirama, false);
    const bool afterVowelA = std::exchange(m_afterVowelA, false);
    const Letter *letter = token.letter();
    if (letter && letter->isConsonant())
        return writeConsonant(*letter, afterExplicitVirama);
    if (letter && letter->letterClass == LetterClass::Virama) {
        m_afterExplicitVirama = m_consonantWaiting;
        return writeVirama();
    }
    m_lastConsonant = nullptr;
    if (letter && letter->isVowel())
        return writeVowel(*letter, afterVowelA);
    endWord();
    if (letter)
        m_out += letterText(*letter);
    else
        m_out += text.mid(token.position, token.length);
}

// After the explicit virama of a consonant a zero width non-joiner keeps the next consonant
// from joining it in a conjunct ("k.hSha" stays two letters, "kSha" is क्ष). IAST writes a
// colon where two consonants would read as one ("k_ha" is k:ha, not kha).
void ScriptWriter::writeConsonant(const Letter &letter, bool afterExplicitVirama)
{
    if (m_script == Script::Devanagari && m_consonantWaiting)
        m_out += kDevanagariVirama;
    else if (m_script == Script::Devanagari && afterExplicitVirama)
        m_out += kZeroWidthNonJoiner;
    else if (m_script == Script::Iast && m_lastConsonant &&
             iastRunsTogether(*m_lastConsonant, letter))
        m_out += u':';
    m_out += letterText(letter);
    m_consonantWaiting = true;
    m_lastConsonant = &letter;
}

void ScriptWriter::writeVowel(const Letter &letter, bool afterVowelA)
{
    if (!m_consonantWaiting)
        m_out += independentVowel(letter, afterVowelA);
    else if (m_script == Script::Devanagari)
        m_out += QStringView(letter.sign);
    else
        m_out += letterText(letter);
    m_consonantWaiting = false;
    m_afterVowelA = QStringView(letter.iast) == u"a";
}

void ScriptWriter::writeVirama()
{
    if (m_script == Script::Devanagari)
        m_out += kDevanagariVirama;
    m_consonantWaiting = false;
}

void ScriptWriter::endWord()
{
    if (!m_consonantWaiting)
        return;
    m_consonantWaiting = false;
    if (m_options.finalConsonant == FinalConsonant::Virama)
        writeVirama();
    else if (m_script == Script::Iast)
        m_out += u'a';
}

QStringView ScriptWriter::letterText(const Letter &letter) const
{
    return m_script == Script::Devanagari ? letter.devanagari : letter.iast;
}

// IAST marks a hiatus after a with a diaeresis, so that a_i does not read as the diphthong ai.
QStringView ScriptWriter::independentVowel(const Letter &letter, bool afterVowelA) const
{
    const QStringView text = letterText(letter);
    if (m_script == Script::Devanagari || !afterVowelA)
        return text;
    if (text == u"i")
        return u"ï";
    if (text == u"u")
        return u"ü";
    return text;
}

bool ScriptWriter::iastRunsTogether(const Letter &first, const Letter &second)
{
    static const QSet<QString> consonants = [] {
        QSet<QString> texts;
        for (const Letter *letter : Scheme::instance().letters())
            if (letter->letterClass == LetterClass::Consonant ||
                letter->letterClass == LetterClass::Nukta)
                texts.insert(QString::fromUtf16(letter->iast));
        return texts;
    }();
    const QString joined = QString::fromUtf16(first.iast) + QString::fromUtf16(second.iast);
    for (qsizetype end = joined.size();
         end > qsizetype(std::char_traits<char16_t>::length(first.iast)); --end)
        if (consonants.contains(joined.left(end)))
            return true;
    return false;
}

} // namespace vantro
