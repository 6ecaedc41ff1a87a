// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionaryarticle.h"

#include <QStringList>

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

QString senseText(const ArticleSense &sense)
{
    QStringList words;
    for (const ArticleEquivalent &equivalent : sense.equivalents)
        words.append(equivalentText(equivalent));
    QString text = words.join(QStringLiteral(", "));
    if (const QString gloss = fenced(sense.gloss); !gloss.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + gloss;
    for (const ArticleExample &example : sense.examples) {
        const QString english = fenced(example.english);
        QString part = english;
        if (!example.sanskrit.isEmpty())
            part += (part.isEmpty() ? QString() : QStringLiteral(" ")) + example.sanskrit;
        if (!part.isEmpty())
            text += (text.isEmpty() ? QString() : QStringLiteral("; ")) + part;
    }
    return text;
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
    QStringList withSanskrit;
    QStringList englishOnly;
    for (const ArticleSense &sense : article.senses) {
        const QString text = senseText(sense);
        if (text.isEmpty())
            continue;
        (sense.equivalents.isEmpty() ? englishOnly : withSanskrit).append(text);
    }
    withSanskrit.removeDuplicates();
    englishOnly.removeDuplicates();
    return (withSanskrit + englishOnly).join(QStringLiteral("; "));
}

} // namespace vantro
