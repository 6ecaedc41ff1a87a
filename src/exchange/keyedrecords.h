// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recordstream.h"
#include "sourceentry.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>

#include <vector>

namespace vantro {

// The entries of a foreign dictionary as dictionary records: the headword trimmed and
// lower-cased as keys are stored, the definition as a meaning, entries under the same key
// merged into one meaning in file order ("; " between them). A synonym entry names the
// headword it leads to in the synonyms, so that the cross-reference button reaches it.
class KeyedRecords : public RecordStream
{
public:
    // language: the meanings' language when it is not Sanskrit (empty for Sanskrit); such
    // meanings are stored fenced and named.
    KeyedRecords(const QList<SourceEntry> &entries, RomanScheme scheme,
                 const QString &language = {});

    qint64 size() const override { return qint64(m_records.size()); }
    bool next(QByteArrayView &key, QByteArrayView &data) override;

    // Headwords a key cannot hold (empty, or beyond Latin-1), and the first few of them.
    qint64 skipped() const { return m_skipped; }
    const QStringList &firstSkipped() const { return m_firstSkipped; }
    // Meanings in which a character had no Latin-1 form and became "?".
    qint64 lossyMeanings() const { return m_lossy; }
    // Characters of the meanings that had no Latin-1 form.
    qint64 unplainCharacters() const { return m_unplain; }

private:
    struct Record
    {
        QByteArray key;
        QStringList meanings;
        QStringList synonyms;
        QByteArray data;
    };
    void add(const SourceEntry &entry, RomanScheme scheme, QHash<QByteArray, size_t> &where);

    QString m_language;

    std::vector<Record> m_records;
    size_t m_next = 0;
    qint64 m_skipped = 0;
    QStringList m_firstSkipped;
    qint64 m_lossy = 0;
    qsizetype m_unplain = 0;
};

} // namespace vantro
