// SPDX-License-Identifier: GPL-3.0-or-later
#include "itranstoken.h"

namespace vantro {

namespace {

const QStringView kVerbatimMarker = u"##";

ItransToken verbatimAt(QStringView text, int position)
{
    const int start = position + int(kVerbatimMarker.size());
    int end = int(text.indexOf(kVerbatimMarker, start));
    if (end < 0)
        end = int(text.size());
    return {ItransToken::Kind::Verbatim, {}, start, end - start};
}

int characterLength(QStringView text, int position)
{
    const bool pair = text[position].isHighSurrogate() && position + 1 < text.size() &&
                      text[position + 1].isLowSurrogate();
    return pair ? 2 : 1;
}

int tokenEnd(const ItransToken &token, QStringView text)
{
    if (token.kind != ItransToken::Kind::Verbatim)
        return token.position + token.length;
    const int end = token.position + token.length;
    return end < text.size() ? end + int(kVerbatimMarker.size()) : end;
}

} // namespace

ItransTokenizer::ItransTokenizer(QStringView text) : m_text(text) {}

bool ItransTokenizer::next(ItransToken *token)
{
    if (m_position >= m_text.size())
        return false;
    const QStringView rest = m_text.mid(m_position);
    if (rest.startsWith(kVerbatimMarker)) {
        *token = verbatimAt(m_text, m_position);
    } else if (rest.front() == u'_') {
        *token = {ItransToken::Kind::Separator, {}, m_position, 1};
    } else if (const Spelling spelling = Scheme::instance().matchItrans(rest, m_afterConsonant);
               spelling.letter) {
        *token = {ItransToken::Kind::Letter, spelling, m_position, spelling.length};
    } else {
        *token = {ItransToken::Kind::Other, {}, m_position, characterLength(m_text, m_position)};
    }
    if (token->kind != ItransToken::Kind::Separator)
        m_afterConsonant = token->isLetter() && token->letter()->isConsonant();
    m_position = tokenEnd(*token, m_text);
    return true;
}

QVector<ItransToken> tokenizeItrans(QStringView text)
{
    QVector<ItransToken> tokens;
    ItransTokenizer tokenizer(text);
    for (ItransToken token; tokenizer.next(&token);)
        tokens.append(token);
    return tokens;
}

// No spelling holds a "#", so the fences are exactly the "##" pairs found from the left.
bool leavesFenceOpen(QStringView text)
{
    bool open = false;
    const qsizetype marker = kVerbatimMarker.size();
    for (qsizetype at = text.indexOf(kVerbatimMarker); at >= 0;
         at = text.indexOf(kVerbatimMarker, at + marker))
        open = !open;
    return open;
}

} // namespace vantro
