// SPDX-License-Identifier: GPL-3.0-or-later
#include "mwarticle.h"

#include "articletext.h"

#include <QRegularExpression>

namespace vantro {
namespace {

bool isDevanagariLetter(QChar c)
{
    return c.unicode() >= 0x0900 && c.unicode() <= 0x0963;
}

// Where the echo of the headword and its part of speech ends: at the first gloss, Devanagari
// letter or quotation.
qsizetype echoEnd(const QString &text)
{
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (c == u'(' || c == u'\u2018' || c == u'\u2014' || isDevanagariLetter(c))
            return at;
    }
    return text.size();
}

ArticleSense readSense(QString text, const ArticleScript &script)
{
    ArticleSense sense;
    text = text.trimmed();
    if (text.startsWith(u'(')) {
        qsizetype depth = 0;
        qsizetype end = 0;
        for (; end < text.size(); ++end) {
            if (text.at(end) == u'(')
                ++depth;
            else if (text.at(end) == u')' && --depth == 0)
                break;
        }
        sense.gloss = plainEnglish(text.mid(1, end - 1));
        text = text.mid(end + 1).trimmed();
        while (text.startsWith(u',') || text.startsWith(u'.'))
            text = text.mid(1).trimmed();
    }
    readSenseText(text, script, sense);
    return sense;
}

bool isOneEnglishWord(const QString &gloss)
{
    static const QRegularExpression word(QStringLiteral("^[A-Z][a-z]+$"));
    return word.match(gloss).hasMatch();
}

} // namespace

QList<Article> readMwArticle(const QString &headword, const QString &html)
{
    const DevanagariScript script;
    const QString text = joinedLines(articleLines(html));
    QList<Article> articles{Article{headword, {}, {}}};
    const QString body = text.mid(echoEnd(text));
    for (const QString &part : body.split(u'\u2014')) {
        ArticleSense sense = readSense(part, script);
        if (sense.isEmpty())
            continue;
        if (isOneEnglishWord(sense.gloss) && !sense.equivalents.isEmpty() &&
            !articles.first().senses.isEmpty()) {
            ArticleSense own = sense;
            own.gloss.clear();
            articles.append(Article{sense.gloss.toLower(), {own}, headword});
        }
        articles.first().senses.append(sense);
    }
    return articles;
}

} // namespace vantro
