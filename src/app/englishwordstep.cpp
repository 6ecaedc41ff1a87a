// SPDX-License-Identifier: GPL-3.0-or-later
#include "englishwordstep.h"

#include <QSet>
#include <QStringList>

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

// Every word of the text in order, each with whether it touches a digit.
struct FoundWord
{
    WordSpan span;
    bool nearDigit = false;
};

QList<FoundWord> wordsOf(const QString &text)
{
    QList<FoundWord> words;
    const int size = int(text.size());
    for (int i = 0; i < size;) {
        if (!text.at(i).isLetter()) {
            ++i;
            continue;
        }
        const int start = i;
        while (i < size &&
               (text.at(i).isLetter() || (isApostrophe(text.at(i)) && i + 1 < size &&
                                          text.at(i + 1).isLetter() && text.at(i - 1).isLetter())))
            ++i;
        const bool nearDigit =
            (start > 0 && text.at(start - 1).isDigit()) || (i < size && text.at(i).isDigit());
        words.append({{start, i}, nearDigit});
    }
    return words;
}

} // namespace

bool isCommonEnglishWord(const QString &word)
{
    return commonWords().contains(word.toLower());
}

WordSpan stepEnglishWord(const QString &text, int position, bool forward, bool keepCommonWords)
{
    const QList<FoundWord> words = wordsOf(text);
    const auto wanted = [&](const FoundWord &found) {
        return !found.nearDigit &&
               (keepCommonWords || !isCommonEnglishWord(text.mid(
                                       found.span.start, found.span.end - found.span.start)));
    };
    if (forward) {
        for (const FoundWord &found : words)
            if (found.span.start >= position && wanted(found))
                return found.span;
        return {};
    }
    for (auto it = words.crbegin(); it != words.crend(); ++it)
        if (it->span.end < position && wanted(*it))
            return it->span;
    return {};
}

} // namespace vantro
