// SPDX-License-Identifier: GPL-3.0-or-later
#include "itranstext.h"

#include "sandhi.h"

#include <QRegularExpression>

namespace vantro {

namespace {

// Signs that close or open a sentence or a quotation; ITRANS's own (.h, .a, ^, ~) lie inside
// a word or end in a letter.
bool isSentencePunctuation(QChar c)
{
    return QStringView(u".!?:\"'()[]").contains(c);
}

} // namespace

WordSpan wordNearCursor(const QString &line, int position)
{
    position = qBound(0, position, int(line.size()));
    WordSpan span = itransWordAt(line, position);
    // After "rAjA " or "rAjA | " the word meant is the one just typed.
    for (int before = position; span.isEmpty() && before > 0;)
        span = itransWordAt(line, --before);
    return span.isEmpty() ? WordSpan{position, position} : span;
}

PunctuatedWord splitSentencePunctuation(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (end > 0 && isSentencePunctuation(text.at(end - 1)))
        --end;
    while (start < end && isSentencePunctuation(text.at(start)))
        ++start;
    return {text.left(start), text.mid(start, end - start), text.mid(end)};
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
