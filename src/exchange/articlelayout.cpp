// SPDX-License-Identifier: GPL-3.0-or-later
#include "articlelayout.h"

#include "aptearticle.h"
#include "borooaharticle.h"
#include "englishwords.h"
#include "meaningtext.h"
#include "mwarticle.h"

#include <QSet>

#include <optional>

namespace vantro {
namespace {

constexpr std::pair<const char *, ArticleLayout> kNames[] = {
    {"mw", ArticleLayout::MonierWilliams},
    {"apte", ArticleLayout::Apte},
    {"borooah", ArticleLayout::Borooah},
    {"plain", ArticleLayout::Plain},
};

QList<Article> readArticle(const SourceEntry &entry, ArticleLayout layout,
                           const std::optional<ApteScript> &apte)
{
    switch (layout) {
    case ArticleLayout::MonierWilliams:
        return readMwArticle(entry.headword, entry.definition);
    case ArticleLayout::Apte:
        return readApteArticle(entry.headword, entry.definition, *apte);
    case ArticleLayout::Borooah:
        return readBorooahArticle(entry.headword, entry.definition);
    case ArticleLayout::Detect:
    case ArticleLayout::Plain:
        break;
    }
    return {};
}

} // namespace

bool articleLayoutFromName(const QString &name, ArticleLayout &layout)
{
    for (const auto &[text, value] : kNames) {
        if (name == QLatin1String(text)) {
            layout = value;
            return true;
        }
    }
    return false;
}

QString articleLayoutName(ArticleLayout layout)
{
    for (const auto &[text, value] : kNames) {
        if (value == layout)
            return QString::fromLatin1(text);
    }
    return {};
}

// The names the digitisations go by: "mw-english-sanskrit", "apte-english-sanskrit-cologne",
// "borooah", each perhaps with its languages ("(en-sa)") after it.
ArticleLayout articleLayoutOfBook(const QString &bookName)
{
    const QString name = bookName.toLower();
    const bool englishSanskrit = name.contains(QLatin1String("english-sanskrit")) ||
                                 name.contains(QLatin1String("english sanskrit"));
    if (name.contains(QLatin1String("borooah")))
        return ArticleLayout::Borooah;
    if (englishSanskrit && name.contains(QLatin1String("apte")))
        return ArticleLayout::Apte;
    if (englishSanskrit &&
        (name.startsWith(QLatin1String("mw")) || name.contains(QLatin1String("monier"))))
        return ArticleLayout::MonierWilliams;
    return ArticleLayout::Plain;
}

QList<SourceEntry> articleEntries(const QList<SourceEntry> &entries, ArticleLayout layout,
                                  RomanScheme scheme, ArticleCounts *counts)
{
    // WordNet's word list is read only for the dictionary that needs it.
    std::optional<ApteScript> apte;
    if (layout == ArticleLayout::Apte)
        apte.emplace(scheme, EnglishWords::instance());
    QSet<QString> headwords;
    for (const SourceEntry &entry : entries)
        headwords.insert(entry.headword.trimmed().toLower());
    QList<SourceEntry> out;
    out.reserve(entries.size());
    ArticleCounts counted;
    for (const SourceEntry &entry : entries) {
        if (!entry.leadsTo.isEmpty() || isDatabaseEntry(entry.headword)) {
            out.append(entry);
            continue;
        }
        ++counted.articles;
        for (const Article &article : readArticle(entry, layout, apte)) {
            const bool sub = !article.printedUnder.isEmpty();
            if (sub && layout == ArticleLayout::MonierWilliams &&
                headwords.contains(article.headword))
                continue;
            qsizetype unplain = 0;
            const QString meaning = latin1Meaning(meaningOfArticle(article), &unplain);
            counted.unplainCharacters += unplain;
            if (meaning.isEmpty())
                continue;
            counted.subEntries += sub ? 1 : 0;
            out.append(
                {sub ? article.headword : entry.headword, meaning, DefinitionMarkup::Meaning, {}});
        }
    }
    if (counts)
        *counts = counted;
    return out;
}

} // namespace vantro
