#include "devanagarireader.h"

#include "scheme.h"
#include "scriptwriter.h"

#include <QVarLengthArray>

namespace vantro {

namespace {

const QChar kVirama = u'\u094D';

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
        if (!letter) {
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
        append(afterVirama(++position));
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
    int length = 0;
    const Letter *next =
        position < m_text.size()
            ? Scheme::instance().matchDevanagari(QStringView(m_text).mid(position), &length)
            : nullptr;
    if (next && next->isConsonant())
        return QLatin1String();
    if (!next && m_options.finalConsonant == FinalConsonant::Virama)
        return QLatin1String();
    return QLatin1String(".h");
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
    int position = m_passThroughStart;
    m_passThroughStart = -1;
    while (position < end) {
        const bool space = m_text[position].isSpace();
        int pieceEnd = position + 1;
        while (pieceEnd < end && m_text[pieceEnd].isSpace() == space)
            ++pieceEnd;
        passThrough(QStringView(m_text).mid(position, pieceEnd - position));
        position = pieceEnd;
    }
}

// Spaces and punctuation go out as they are; anything ITRANS would read as letters is fenced.
void DevanagariReader::passThrough(QStringView piece)
{
    const bool readsBackAsItself =
        piece.front().isSpace() ||
        ScriptWriter(ScriptWriter::Script::Devanagari, m_options).write(piece) == piece;
    if (readsBackAsItself && !needsSeparator(piece))
        m_out += piece;
    else
        append(QString(QStringLiteral("##") + piece.toString() + QStringLiteral("##")));
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
