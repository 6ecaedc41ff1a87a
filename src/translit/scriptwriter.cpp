#include "scriptwriter.h"

namespace vantro {

namespace {

const QString kDevanagariVirama = QStringLiteral(u"्");

} // namespace

ScriptWriter::ScriptWriter(Script script, TranslitOptions options)
    : m_script(script), m_options(options)
{
}

QString ScriptWriter::write(QStringView text)
{
    m_out.clear();
    m_consonantWaiting = false;
    m_out.reserve(text.size() * 2);
    for (const ItransToken &token : tokenizeItrans(text))
        writeToken(token, text);
    endWord();
    return m_out;
}

void ScriptWriter::writeToken(const ItransToken &token, QStringView text)
{
    if (token.kind == ItransToken::Kind::Separator)
        return;
    const Letter *letter = token.letter();
    if (letter && letter->isConsonant())
        return writeConsonant(*letter);
    if (letter && letter->isVowel())
        return writeVowel(*letter);
    if (letter && letter->letterClass == LetterClass::Virama)
        return writeVirama();
    endWord();
    if (letter)
        m_out += letterText(*letter);
    else
        m_out += text.mid(token.position, token.length);
}

void ScriptWriter::writeConsonant(const Letter &letter)
{
    if (m_consonantWaiting && m_script == Script::Devanagari)
        m_out += kDevanagariVirama;
    m_out += letterText(letter);
    m_consonantWaiting = true;
}

void ScriptWriter::writeVowel(const Letter &letter)
{
    if (!m_consonantWaiting)
        m_out += independentVowel(letter);
    else if (m_script == Script::Devanagari)
        m_out += QStringView(letter.sign);
    else
        m_out += letterText(letter);
    m_consonantWaiting = false;
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
QStringView ScriptWriter::independentVowel(const Letter &letter) const
{
    const QStringView text = letterText(letter);
    if (m_script == Script::Devanagari || !m_out.endsWith(u'a'))
        return text;
    if (text == u"i")
        return u"ï";
    if (text == u"u")
        return u"ü";
    return text;
}

} // namespace vantro
