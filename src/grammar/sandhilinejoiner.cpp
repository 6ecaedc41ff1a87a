// SPDX-License-Identifier: GPL-3.0-or-later
#include "sandhilinejoiner.h"

#include "scheme.h"

#include <QVarLengthArray>

namespace vantro {

namespace {

// Sounds of a word written as one with the next that the next junction's rules may look at.
constexpr int kTailKept = 3;

bool isWordToken(const ItransToken &token)
{
    if (token.kind == ItransToken::Kind::Separator)
        return true;
    if (!token.isLetter())
        return false;
    switch (token.letter()->letterClass) {
    case LetterClass::Digit:
        return false;
    case LetterClass::Symbol:
        return SandhiSounds::instance().of(token.letter()).is(SandhiSound::Kind::Avagraha);
    default:
        return true;
    }
}

bool isBlankRun(QStringView gap)
{
    for (const QChar c : gap)
        if (c != u' ' && c != u'\t')
            return false;
    return !gap.isEmpty();
}

// Whether two spellings written side by side would read as another letter: "g" and "h" as
// "gh", "a" and "i" as "ai", "l" and "d" as "ld". k with Sh reading as kSh is the same sounds.
bool readAsOne(QStringView first, QStringView second)
{
    if (first.isEmpty() || second.isEmpty())
        return false;
    QVarLengthArray<QChar, 16> both;
    both.append(first.data(), first.size());
    both.append(second.data(), second.size());
    const Spelling found =
        Scheme::instance().matchItrans(QStringView(both.data(), both.size()), false);
    if (!found.letter || found.length == first.size())
        return false;
    return !(found.letter->letterClass == LetterClass::Conjunct && found.length == both.size());
}

void prepend(SandhiWord &word, const SandhiPiece *first, int count)
{
    QVarLengthArray<SandhiPiece, 16> pieces;
    pieces.append(first, count);
    pieces.append(word.pieces.constData(), word.pieces.size());
    word.pieces = pieces;
}

} // namespace

SandhiLineJoiner::SandhiLineJoiner(QStringView text) : m_text(text), m_tokens(tokenizeItrans(text))
{
    noteSpellings();
    findWords();
}

void SandhiLineJoiner::noteSpellings()
{
    for (const ItransToken &token : std::as_const(m_tokens))
        if (token.isLetter() && token.letter()->itrans[1] && !m_spellings.contains(token.letter()))
            m_spellings.insert(token.letter(), m_text.mid(token.position, token.length));
}

void SandhiLineJoiner::findWords()
{
    for (int i = 0; i < m_tokens.size();) {
        if (!isWordToken(m_tokens[i])) {
            ++i;
            continue;
        }
        WordSpan span{i, i, m_tokens[i].position, 0};
        while (span.endToken < m_tokens.size() && isWordToken(m_tokens[span.endToken]))
            ++span.endToken;
        const ItransToken &last = m_tokens[span.endToken - 1];
        span.end = last.position + last.length;
        if (!m_words.isEmpty() &&
            isBlankRun(m_text.mid(m_words.last().end, span.start - m_words.last().end)))
            ++m_junctionCount;
        m_words.append(span);
        i = span.endToken;
    }
}

SandhiWord SandhiLineJoiner::word(const WordSpan &span) const
{
    const ItransToken *tokens = m_tokens.constData();
    return SandhiWord(m_text, tokens + span.firstToken, tokens + span.endToken);
}

QString SandhiLineJoiner::joined(const QVector<int> &choices, QVector<int> *counts) const
{
    if (m_words.isEmpty())
        return m_text.toString();
    Output out;
    out.text.reserve(m_text.size() + m_text.size() / 8);
    out.text += m_text.left(m_words.first().start);
    SandhiWord left = word(m_words.first());
    int junction = 0;
    for (int i = 1; i < m_words.size(); ++i) {
        const QStringView gap =
            m_text.mid(m_words[i - 1].end, m_words[i].start - m_words[i - 1].end);
        SandhiWord right = word(m_words[i]);
        if (isBlankRun(gap)) {
            const SandhiJoins joins = sandhiJoins(left, right);
            const int choice = junction < choices.size() ? choices[junction] : 0;
            if (counts)
                counts->append(int(joins.size()));
            if (choice >= joins.size())
                return {};
            apply(out, left, right, joins[choice], gap);
            ++junction;
        } else {
            pause(out, left, gap);
        }
        left = right;
    }
    pause(out, left, m_text.mid(m_words.last().end));
    return out.text;
}

// Writes the first count pieces of word, with "_" wherever a rule's letter would otherwise
// read together with its neighbour.
void SandhiLineJoiner::write(Output &out, const SandhiWord &word, int count)
{
    for (int i = 0; i < count; ++i) {
        const SandhiPiece &piece = word.pieces[i];
        if (piece.boundary && readAsOne(out.lastSpelling, piece.text))
            out.text += u'_';
        out.text += piece.text;
        out.lastSpelling = piece.text;
    }
}

void SandhiLineJoiner::pause(Output &out, const SandhiWord &word, QStringView gap)
{
    write(out, word, word.size());
    out.text += word.virama;
    out.text += gap;
    out.lastSpelling = {};
}

SandhiPiece SandhiLineJoiner::added(const Letter *letter) const
{
    return {letter, m_spellings.value(letter, SandhiSounds::instance().spelling(letter)), true};
}

// Changes both words as the join says. Words written as one go on as the second word with the
// last sounds of the first in front of it, so that a word consumed whole ("na a") still leaves
// the next junction a sound to look at.
void SandhiLineJoiner::apply(Output &out, SandhiWord &left, SandhiWord &right,
                             const SandhiJoin &join, QStringView gap) const
{
    left.pieces.resize(qMax(0, left.size() - join.dropLeft));
    for (const Letter *letter : join.addLeft)
        left.pieces.append(added(letter));
    const int dropRight = qMin(join.dropRight, right.size());
    right.pieces.remove(0, dropRight);
    if (!right.pieces.isEmpty())
        right.pieces[0].boundary = true;
    QVarLengthArray<SandhiPiece, 3> front;
    for (const Letter *letter : join.addRight)
        front.append(added(letter));
    prepend(right, front.constData(), int(front.size()));
    if (join.written == SandhiJoin::Written::AsOne) {
        const int kept = qMin(kTailKept, left.size());
        write(out, left, left.size() - kept);
        prepend(right, left.pieces.constData() + left.size() - kept, kept);
        return;
    }
    write(out, left, left.size());
    if (join.dropLeft == 0 && join.addLeft.isEmpty())
        out.text += left.virama;
    out.text += gap;
    out.lastSpelling = {};
}

} // namespace vantro
