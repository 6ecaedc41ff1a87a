// SPDX-License-Identifier: GPL-3.0-or-later
#include "articlesink.h"

#include "articletext.h"
#include "borooaharticle.h"
#include "englishwords.h"
#include "keyedrecords.h"
#include "meaningtext.h"
#include "mwarticle.h"

namespace vantro {

ArticleSink::ArticleSink(KeyedRecords &records, ArticleLayout layout, RomanScheme scheme,
                         const QString &language, const QString &fileName)
    : m_records(records), m_layout(layout), m_scheme(scheme), m_language(language),
      m_fileName(fileName)
{
}

void ArticleSink::setBookName(const QString &bookName)
{
    m_bookName = bookName;
}

void ArticleSink::setStoredRecords(bool stored)
{
    m_storedRecords = stored;
    m_records.setStoredRecords(stored);
}

// Once, before the first entry: the readers that know the dictionary's name give it first.
void ArticleSink::settle()
{
    if (m_settled)
        return;
    m_settled = true;
    if (m_language.isEmpty())
        m_language = languageOfDictionary(m_bookName, m_fileName);
    // This program's own export comes back as it went out, whatever its name says.
    if (m_language == u"sa" || m_storedRecords)
        m_language.clear();
    if (m_storedRecords)
        m_layout = ArticleLayout::Plain;
    if (m_layout == ArticleLayout::Detect)
        m_layout = articleLayoutOfBook(m_bookName);
    // WordNet's word list is read only for the dictionary that needs it.
    if (m_layout == ArticleLayout::Apte)
        m_apte.emplace(m_scheme, EnglishWords::instance());
    m_records.setLanguage(m_language);
}

void ArticleSink::add(const SourceEntry &entry)
{
    settle();
    if (m_layout == ArticleLayout::Plain || !entry.leadsTo.isEmpty() ||
        isDatabaseEntry(entry.headword)) {
        if (m_layout == ArticleLayout::MonierWilliams)
            m_headwords.insert(entry.headword.trimmed().toLower());
        m_records.add(entry);
        return;
    }
    addArticles(entry);
}

void ArticleSink::addArticles(const SourceEntry &entry)
{
    ++m_counts.articles;
    QList<Article> articles;
    switch (m_layout) {
    case ArticleLayout::MonierWilliams:
        m_headwords.insert(entry.headword.trimmed().toLower());
        articles = readMwArticle(entry.headword, entry.definition);
        break;
    case ArticleLayout::Apte:
        articles = readApteArticle(entry.headword, entry.definition, *m_apte);
        break;
    case ArticleLayout::Borooah:
        articles = readBorooahArticle(entry.headword, entry.definition);
        break;
    case ArticleLayout::Detect:
    case ArticleLayout::Plain:
        break;
    }
    bool read = false;
    for (const Article &article : articles) {
        const bool sub = !article.printedUnder.isEmpty();
        qsizetype unplain = 0;
        const QString meaning = latin1Meaning(meaningOfArticle(article), &unplain);
        m_counts.unplainCharacters += unplain;
        if (meaning.isEmpty())
            continue;
        read = read || !sub;
        hand(sub ? article.headword : entry.headword, meaning, sub);
    }
    // An article the layout's reading made nothing of ("See To BLAME") is read as text rather
    // than lost, still without its links; with no text either, the summary names it among the
    // records without a meaning.
    if (!read)
        m_records.add({entry.headword,
                       joinedLines(articleLines(entry.definition)),
                       DefinitionMarkup::Plain,
                       {}});
}

void ArticleSink::hand(const QString &headword, const QString &meaning, bool subEntry)
{
    SourceEntry out{headword, meaning, DefinitionMarkup::Meaning, {}};
    if (subEntry && m_layout == ArticleLayout::MonierWilliams) {
        out.givesWayToStored = true;
        m_heldSubEntries.append(out);
        return;
    }
    m_counts.subEntries += subEntry ? 1 : 0;
    m_records.add(out);
}

void ArticleSink::finish()
{
    settle();
    for (const SourceEntry &entry : std::as_const(m_heldSubEntries)) {
        if (m_headwords.contains(entry.headword))
            continue;
        ++m_counts.subEntries;
        m_records.add(entry);
    }
    m_heldSubEntries.clear();
    m_headwords.clear();
}

} // namespace vantro
