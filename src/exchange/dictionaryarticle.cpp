// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionaryarticle.h"

#include <QStringList>

#include <algorithm>

namespace vantro {
namespace {

QString fenced(const QString &english)
{
    const QString safe = fenceSafe(english).trimmed();
    return safe.isEmpty() ? QString() : QStringLiteral("##") + safe + QStringLiteral("##");
}

QString equivalentText(const ArticleEquivalent &equivalent)
{
    QString text = equivalent.word;
    if (!equivalent.tag.isEmpty())
        text += u' ' + equivalent.tag;
    if (const QString note = fenced(equivalent.note); !note.isEmpty())
        text += u' ' + note;
    return text;
}

// A phrase as its Sanskrit, then the English it renders: the Sanskrit always leads.
QString exampleText(const ArticleExample &example)
{
    const QString english = fenced(example.english);
    if (example.sanskrit.isEmpty())
        return english;
    return english.isEmpty() ? example.sanskrit : example.sanskrit + u' ' + english;
}

// The equivalents and the gloss, then the phrases; a sense without equivalents gives its
// phrases first and its gloss after them.
QString senseText(const ArticleSense &sense)
{
    QStringList words;
    for (const ArticleEquivalent &equivalent : sense.equivalents)
        words.append(equivalentText(equivalent));
    QStringList parts;
    const QString gloss = fenced(sense.gloss);
    if (!words.isEmpty())
        parts.append(words.join(QStringLiteral(", ")) +
                     (gloss.isEmpty() ? QString() : QStringLiteral(" ") + gloss));
    for (const ArticleExample &example : sense.examples) {
        if (const QString text = exampleText(example); !text.isEmpty())
            parts.append(text);
    }
    if (words.isEmpty() && !gloss.isEmpty())
        parts.append(gloss);
    return parts.join(QStringLiteral("; "));
}

bool hasSanskritExample(const ArticleSense &sense)
{
    return std::any_of(sense.examples.cbegin(), sense.examples.cend(),
                       [](const ArticleExample &example) { return !example.sanskrit.isEmpty(); });
}

} // namespace

QString fenceSafe(QString english)
{
    english.replace(QStringLiteral("##"), QStringLiteral("#"));
    english.replace(u'|', u'/');
    return english;
}

QString meaningOfArticle(const Article &article)
{
    // The senses with equivalents first, then those whose phrases hold Sanskrit, then English.
    QStringList tiers[3];
    for (const ArticleSense &sense : article.senses) {
        const QString text = senseText(sense);
        if (!text.isEmpty())
            tiers[!sense.equivalents.isEmpty() ? 0
                  : hasSanskritExample(sense)  ? 1
                                               : 2]
                .append(text);
    }
    QStringList all = tiers[0] + tiers[1] + tiers[2];
    all.removeDuplicates();
    return all.join(QStringLiteral("; "));
}

} // namespace vantro
