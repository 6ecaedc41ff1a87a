// SPDX-License-Identifier: GPL-3.0-or-later
#include "itranstext.h"

#include "sandhi.h"

#include <QRegularExpression>

namespace vantro {

namespace {

// A full stop is a letter of ITRANS (.h, .a, .N) when a letter follows it.
bool isWordCharacter(const QString &line, int index)
{
    const QChar c = line.at(index);
    if (c.isLetterOrNumber() || c.isMark() || c == u'^' || c == u'~' || c == u'_' || c == u'\'')
        return true;
    return c == u'.' && index + 1 < line.size() && line.at(index + 1).isLetter();
}

// The word the position is in, just after, or just before.
WordSpan wordTouching(const QString &line, int position)
{
    int start = position;
    while (start > 0 && isWordCharacter(line, start - 1))
        --start;
    int end = position;
    while (end < line.size() && isWordCharacter(line, end))
        ++end;
    return {start, end};
}

} // namespace

WordSpan itransWordAt(const QString &line, int position)
{
    position = qBound(0, position, int(line.size()));
    WordSpan span = wordTouching(line, position);
    // After "rAjA " or "rAjA |" the word meant is the one just typed.
    for (int before = position; span.isEmpty() && before > 0;)
        span = wordTouching(line, --before);
    return span.isEmpty() ? WordSpan{position, position} : span;
}

QString joinLinesWithSandhi(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("[\\n\\x{2029}]"));
    QStringList lines = text.split(lineBreak);
    for (QString &line : lines)
        line = joinLine(line);
    return lines.join(u'\n');
}

} // namespace vantro
