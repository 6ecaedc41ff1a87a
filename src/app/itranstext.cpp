// SPDX-License-Identifier: GPL-3.0-or-later
#include "itranstext.h"

#include "itranstoken.h"
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

// A line that starts inside a fence is joined with the fence's opening put back in front of it,
// so that the joiner sees its English as English, and taken off again.
QString joinLinesWithSandhi(const QString &text, bool fenceOpenBefore)
{
    static const QRegularExpression lineBreak(QStringLiteral("[\\n\\x{2029}]"));
    static const QString fence = QStringLiteral("##");
    QStringList lines = text.split(lineBreak);
    bool open = fenceOpenBefore;
    for (QString &line : lines) {
        const QString read = open ? fence + line : line;
        const QString joined = joinLine(read);
        open = leavesFenceOpen(read);
        if (read.startsWith(fence) && !joined.startsWith(fence))
            continue; // the joiner changed the fence itself: keep the line
        line = read == line ? joined : joined.mid(fence.size());
    }
    return lines.join(u'\n');
}

} // namespace vantro
