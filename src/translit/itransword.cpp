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

bool insideFence(const QString &text, int position)
{
    bool inside = false;
    for (int at = 0; at + 1 < text.size() && at <= position; ++at) {
        if (text.at(at) == u'#' && text.at(at + 1) == u'#') {
            if (position <= at + 1)
                return true;
            inside = !inside;
            ++at;
        }
    }
    return inside;
}

WordSpan firstItransWordSpan(const QString &text)
{
    for (int start = 0; start < text.size();) {
        if (text.mid(start, 2) == u"##") {
            const qsizetype close = text.indexOf(QLatin1String("##"), start + 2);
            start = close < 0 ? int(text.size()) : int(close) + 2;
            continue;
        }
        if (!wordCharacterAt(text, start)) {
            ++start;
            continue;
        }
        WordSpan span = itransWordAt(text, start);
        // A word ends where a fence starts ("vihArasya##or##").
        if (const qsizetype fence = text.indexOf(QLatin1String("##"), start);
            fence >= 0 && fence < span.end)
            span.end = int(fence);
        if (text.at(span.start) != u'(' && text.at(span.start) != u'-')
            return span;
        start = span.end;
    }
    return {};
}

QString firstItransWord(const QString &text)
{
    const WordSpan span = firstItransWordSpan(text);
    return text.mid(span.start, span.end - span.start);
}

} // namespace vantro
