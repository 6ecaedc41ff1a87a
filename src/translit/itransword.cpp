// SPDX-License-Identifier: GPL-3.0-or-later
#include "itransword.h"

namespace vantro {

bool isItransWordCharacter(QChar c)
{
    return !c.isSpace() && c != u',' && c != u';' && c != u'|';
}

namespace {

bool wordCharacterAt(const QString &text, int position)
{
    return position >= 0 && position < text.size() && isItransWordCharacter(text.at(position));
}

} // namespace

WordSpan itransWordAt(const QString &text, int position)
{
    if (!wordCharacterAt(text, position))
        --position;
    if (!wordCharacterAt(text, position))
        return {};
    WordSpan span{position, position + 1};
    while (wordCharacterAt(text, span.start - 1))
        --span.start;
    while (wordCharacterAt(text, span.end))
        ++span.end;
    return span;
}

int nextItransWordStart(const QString &text, int position)
{
    const int size = int(text.size());
    while (position < size && wordCharacterAt(text, position))
        ++position;
    while (position < size && !wordCharacterAt(text, position))
        ++position;
    return position;
}

int previousItransWordStart(const QString &text, int position)
{
    while (position > 0 && !wordCharacterAt(text, position - 1))
        --position;
    while (position > 0 && wordCharacterAt(text, position - 1))
        --position;
    return position;
}

QString firstItransWord(const QString &text)
{
    int start = 0;
    while (start < text.size() && !wordCharacterAt(text, start))
        ++start;
    const WordSpan span = itransWordAt(text, start);
    return text.mid(span.start, span.end - span.start);
}

} // namespace vantro
