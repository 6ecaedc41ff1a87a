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

} // namespace

WordSpan itransWordAt(const QString &line, int position)
{
    position = qBound(0, position, int(line.size()));
    int start = position;
    if (start > 0 && isWordCharacter(line, start - 1)) {
        while (start > 0 && isWordCharacter(line, start - 1))
            --start;
    } else if (start == line.size() || !isWordCharacter(line, start)) {
        return {position, position};
    }
    int end = start;
    while (end < line.size() && isWordCharacter(line, end))
        ++end;
    return {start, end};
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
