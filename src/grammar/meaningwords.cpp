// SPDX-License-Identifier: GPL-3.0-or-later
#include "meaningwords.h"

#include <QRegularExpression>

namespace vantro {

namespace {

// The notes a dictionary puts beside a word: a gender or part of speech with its full stop,
// a verb's class and pada ("1 P", "10 U"), a number.
bool isGrammarTag(const QString &word)
{
    static const QRegularExpression tag(QStringLiteral(
        "^(?:[0-9]+[PAU]?|[PAU]|(?:m|f|n|mf|mfn|nt|ind|indecl|adj|adv|pron|num|pl|du|"
        "sg|cf|caus|pass|ppp)\\.|[0-9.]+)$"));
    return tag.match(word).hasMatch();
}

QString withoutFences(const QString &meaning)
{
    QString kept;
    bool english = false;
    for (qsizetype at = 0; at < meaning.size(); ++at) {
        if (meaning.at(at) == u'#' && at + 1 < meaning.size() && meaning.at(at + 1) == u'#') {
            english = !english;
            kept += u' ';
            ++at;
        } else if (!english) {
            kept += meaning.at(at);
        }
    }
    return kept;
}

} // namespace

QList<MeaningWord> sanskritWordsOfMeaning(const QString &meaning)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,;:!?()\\[\\]\"/|]+"));
    QList<MeaningWord> words;
    for (QString word : withoutFences(meaning).split(separators, Qt::SkipEmptyParts)) {
        if (isGrammarTag(word)) {
            if (!words.isEmpty()) {
                QString tag = word;
                while (tag.endsWith(u'.'))
                    tag.chop(1);
                words.last().tags.append(tag);
            }
            continue;
        }
        // A sentence's full stop or danda, not the ITRANS letters that hold a dot (".a", "R^i").
        while (word.endsWith(u'.') && !word.endsWith(QStringLiteral(".a")))
            word.chop(1);
        while (word.endsWith(u'|'))
            word.chop(1);
        if (!word.isEmpty() && word.front().isLetter())
            words.append({word, {}});
    }
    return words;
}

} // namespace vantro
