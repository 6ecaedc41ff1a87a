// SPDX-License-Identifier: GPL-3.0-or-later
#include "englishwordstep.h"

#include <QSet>
#include <QStringList>
#include <QtGlobal>

namespace vantro {

extern const char kSkippedEnglishWords[];

namespace {

const QSet<QString> &commonWords()
{
    static const QSet<QString> words = [] {
        QSet<QString> read;
        for (const QString &line : QString::fromUtf8(kSkippedEnglishWords).split(u'\n')) {
            const QString word = line.section(u'#', 0, 0).trimmed().toLower();
            if (!word.isEmpty())
                read.insert(word);
        }
        return read;
    }();
    return words;
}

bool isApostrophe(QChar c)
{
    return c == u'\'' || c == QChar(0x2019);
}

// Whether the character at i belongs to a word: a letter, or an apostrophe between letters.
bool inWord(const QString &text, int i)
{
    if (i < 0 || i >= text.size())
        return false;
    if (text.at(i).isLetter())
        return true;
    return isApostrophe(text.at(i)) && i > 0 && i + 1 < text.size() && text.at(i - 1).isLetter() &&
           text.at(i + 1).isLetter();
}

// The word that starts at start, which must be a word's first character.
WordSpan wordFrom(const QString &text, int start)
{
    int end = start;
    while (inWord(text, end))
        ++end;
    return {start, end};
}

bool touchesDigit(const QString &text, const WordSpan &span)
{
    return (span.start > 0 && text.at(span.start - 1).isDigit()) ||
           (span.end < text.size() && text.at(span.end).isDigit());
}

} // namespace

bool isCommonEnglishWord(const QString &word)
{
    return commonWords().contains(word.toLower());
}

// The text is walked from the position only, word by word, so that a step costs the same at the
// start and at the end of a book-length text.
WordSpan stepEnglishWord(const QString &text, int position, bool forward, bool keepCommonWords)
{
    const int size = int(text.size());
    position = qBound(0, position, size);
    const auto wanted = [&](const WordSpan &span) {
        return !touchesDigit(text, span) &&
               (keepCommonWords ||
                !isCommonEnglishWord(text.mid(span.start, span.end - span.start)));
    };
    if (forward) {
        int i = position;
        while (inWord(text, i) && inWord(text, i - 1)) // inside a word: that one is passed
            ++i;
        while (i < size) {
            if (!inWord(text, i)) {
                ++i;
                continue;
            }
            const WordSpan span = wordFrom(text, i);
            if (wanted(span))
                return span;
            i = span.end;
        }
        return {};
    }
    int i = position - 1;
    while (inWord(text, i) && inWord(text, i + 1)) // the word the position stands in
        --i;
    for (; i >= 0; --i) {
        if (!inWord(text, i) || inWord(text, i - 1))
            continue;
        const WordSpan span = wordFrom(text, i);
        if (span.end < position && wanted(span))
            return span;
    }
    return {};
}

} // namespace vantro
