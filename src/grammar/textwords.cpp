// SPDX-License-Identifier: GPL-3.0-or-later
#include "textwords.h"

namespace vantro {

namespace {

// The characters ITRANS writes letters with: "R^i", "~n", ".a" (avagraha), "'" for it too.
bool isItransLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'~' || c == u'^' || c == u'.' || c == u'\'' || c == u'_';
}

bool isWordWorthChecking(QStringView word)
{
    for (const QChar c : word)
        if (c.isDigit())
            return false;
    return word.size() > 0 && word.front() != u'.';
}

} // namespace

QList<TextWord> wordsToCheck(QStringView line, bool *insideFence)
{
    QList<TextWord> words;
    bool english = insideFence && *insideFence;
    int at = 0;
    const int size = int(line.size());
    while (at < size) {
        if (line.mid(at).startsWith(u"##")) {
            english = !english;
            at += 2;
            continue;
        }
        if (english || !isItransLetter(line.at(at))) {
            ++at;
            continue;
        }
        const int start = at;
        while (at < size && isItransLetter(line.at(at)) && !line.mid(at).startsWith(u"##"))
            ++at;
        int end = at;
        // A full stop after the word is the sentence's, unless it starts ".a" or ".h".
        while (end > start && line.at(end - 1) == u'.')
            --end;
        const QStringView word = line.mid(start, end - start);
        if (isWordWorthChecking(word))
            words.append({start, end - start});
    }
    if (insideFence)
        *insideFence = english;
    return words;
}

} // namespace vantro
