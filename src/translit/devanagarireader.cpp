// SPDX-License-Identifier: GPL-3.0-or-later
#include "devanagarireader.h"

#include "scheme.h"
#include "scriptwriter.h"

#include <QVarLengthArray>

#include <utility>

namespace vantro {

namespace {

const QChar kVirama = u'\u094D';
const QChar kZeroWidthNonJoiner = u'\u200C';

QLatin1String spellingOf(const Letter &letter)
{
    return QLatin1String(letter.preferred());
}

} // namespace

DevanagariReader::DevanagariReader(TranslitOptions options) : m_options(options) {}

QString DevanagariReader::toItrans(QStringView devanagari)
{
    // Normal form C splits U+0958..U+095F into consonant + nukta, the form the table holds.
    m_text = devanagari.toString().normalized(QString::NormalizationForm_C);
    m_out.clear();
    m_passThroughStart = -1;
    const Scheme &scheme = Scheme::instance();
    for (int position = 0; position < m_text.size();) {
        int length = 0;
        const Letter *letter = scheme.matchDevanagari(QStringView(m_text).mid(position), &length);
        // A virama that follows no consonant has no ITRANS: ".h" there writes nothing, so the
        // sign goes through as it is and comes back unchanged.
        if (!letter || letter->letterClass == LetterClass::Virama) {
            if (m_passThroughStart < 0)
                m_passThroughStart = position;
            ++position;
            continue;
        }
        flushPassThrough(position);
        if (letter->isConsonant()) {
            position = readSyllable(*letter, position, length);
        } else {
            append(spellingOf(*letter));
            position += length;
        }
    }
    flushPassThrough(int(m_text.size()));
    return m_out;
}

int DevanagariReader::readSyllable(const Letter &consonant, int position, int length)
{
    append(spellingOf(consonant));
    position += length;
    if (position < m_text.size() && m_text[position] == kVirama) {
        ++position;
        // Virama + ZWNJ before a consonant keeps a conjunct from forming; ".h" writes both.
        if (position < m_text.size() && m_text[position] == kZeroWidthNonJoiner &&
            consonantAt(position + 1)) {
            append(QLatin1String(".h"));
            return position + 1;
        }
        append(afterVirama(position));
        return position;
    }
    const Letter *vowel =
        position < m_text.size()
            ? Scheme::instance().vowelForSign(QStringView(m_text).mid(position, 1))
            : nullptr;
    append(vowel ? spellingOf(*vowel) : QLatin1String("a"));
    return vowel ? position + 1 : position;
}

// A virama before another consonant is implied by the cluster. At the end of a word it is
// implied only under the virama policy; anywhere else it has to be written.
QLatin1String DevanagariReader::afterVirama(int position) const
{
    if (consonantAt(position))
        return QLatin1String();
    int length = 0;
    const bool atWordEnd =
        position >= m_text.size() ||
        !Scheme::instance().matchDevanagari(QStringView(m_text).mid(position), &length);
    if (atWordEnd && m_options.finalConsonant == FinalConsonant::Virama)
        return QLatin1String();
    return QLatin1String(".h");
}

bool DevanagariReader::consonantAt(int position) const
{
    int length = 0;
    const Letter *letter =
        position < m_text.size()
            ? Scheme::instance().matchDevanagari(QStringView(m_text).mid(position), &length)
            : nullptr;
    return letter && letter->isConsonant();
}

void DevanagariReader::append(QLatin1String itrans)
{
    QVarLengthArray<QChar, 4> text;
    for (const char c : itrans)
        text.append(QLatin1Char(c));
    append(QStringView(text.data(), text.size()));
}

void DevanagariReader::append(QStringView itrans)
{
    if (itrans.isEmpty())
        return;
    if (needsSeparator(itrans))
        m_out += u'_';
    m_out += itrans;
}

void DevanagariReader::flushPassThrough(int end)
{
    if (m_passThroughStart < 0)
        return;
    int start = std::exchange(m_passThroughStart, -1);
    while (start < end) {
        const int newline = int(QStringView(m_text).mid(start, end - start).indexOf(u'\n'));
        const int lineEnd = newline < 0 ? end : start + newline + 1;
        passThrough(QStringView(m_text).mid(start, lineEnd - start));
        start = lineEnd;
    }
}

// Spaces and punctuation go out as they are. What ITRANS would read as letters (Latin words,
// ASCII digits) is fenced: one fence from the first such word on the line to the last, with
// the spaces and punctuation between them inside.
void DevanagariReader::passThrough(QStringView line)
{
    int fenceStart = -1;
    int fenceEnd = -1;
    for (int position = 0; position < line.size();) {
        const bool space = line[position].isSpace();
        int pieceEnd = position + 1;
        while (pieceEnd < line.size() && line[pieceEnd].isSpace() == space)
            ++pieceEnd;
        if (!space && !readsBackAsItself(line.mid(position, pieceEnd - position))) {
            fenceStart = fenceStart < 0 ? position : fenceStart;
            fenceEnd = pieceEnd;
        }
        position = pieceEnd;
    }
    if (fenceStart < 0)
        return append(line);
    append(line.left(fenceStart));
    QString fenced = QStringLiteral("##");
    fenced += line.mid(fenceStart, fenceEnd - fenceStart);
    fenced += QStringLiteral("##");
    append(QStringView(fenced));
    append(line.mid(fenceEnd));
}

bool DevanagariReader::readsBackAsItself(QStringView piece) const
{
    return ScriptWriter(Script::Devanagari, m_options).write(piece) == piece;
}

// True when the end of what is written so far and the start of next would be read as one
// spelling that neither of them is.
bool DevanagariReader::needsSeparator(QStringView next) const
{
    if (m_out.endsWith(u'#') && next.startsWith(u'#'))
        return true;
    const Scheme &scheme = Scheme::instance();
    const int longest = scheme.maxItransLength();
    for (int tail = 1; tail < longest && tail <= m_out.size(); ++tail) {
        QVarLengthArray<QChar, 8> probe;
        for (const QChar c : QStringView(m_out).right(tail))
            probe.append(c);
        for (const QChar c : next.left(longest))
            probe.append(c);
        if (scheme.matchItrans(QStringView(probe.data(), probe.size()), false).length > tail)
            return true;
    }
    return false;
}

} // namespace vantro
