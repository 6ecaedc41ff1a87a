// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "aptearticle.h"
#include "articlelayout.h"
#include "sourceentry.h"

#include <QList>
#include <QSet>
#include <QString>

#include <optional>

namespace vantro {

class KeyedRecords;

// Stands between a dictionary's reader and its records. It settles the dictionary's layout and
// language from its name (the one named by the translator first), then hands each entry on as
// it comes: an entry of a classic layout read article by article (its definition a meaning that
// starts with the first Sanskrit equivalent, each derived word or sub-entry an entry of its own),
// any other as it is. Only Monier-Williams' sub-entries wait for the end, since one is kept only
// when the dictionary has no article of that word (and, at the import, when the store has no
// record under it); what waits is that small part and the headwords, never the definitions. scheme
// says how Apte's romanised Sanskrit is written (SLP1 when None).
class ArticleSink : public EntrySink
{
public:
    ArticleSink(KeyedRecords &records, ArticleLayout layout, RomanScheme scheme,
                const QString &language, const QString &fileName);

    void setBookName(const QString &bookName) override;
    void setStoredRecords(bool stored) override;
    void add(const SourceEntry &entry) override;
    // Called once every entry was added: the sub-entries held back go on to the records.
    void finish();

    // Settled by the first entry or by finish(): Plain for a dictionary of no classic layout.
    ArticleLayout layout() const { return m_layout; }
    // The meanings' language when it is not Sanskrit; empty for Sanskrit.
    const QString &language() const { return m_language; }
    const ArticleCounts &counts() const { return m_counts; }

private:
    void settle();
    void addArticles(const SourceEntry &entry);
    void hand(const QString &headword, const QString &meaning, bool subEntry);

    KeyedRecords &m_records;
    ArticleLayout m_layout;
    RomanScheme m_scheme;
    QString m_language;
    QString m_fileName;
    QString m_bookName;
    bool m_settled = false;
    bool m_storedRecords = false;
    std::optional<ApteScript> m_apte;
    QSet<QString> m_headwords;
    QList<SourceEntry> m_heldSubEntries;
    ArticleCounts m_counts;
};

} // namespace vantro
