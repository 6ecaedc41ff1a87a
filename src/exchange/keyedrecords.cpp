// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyedrecords.h"

#include "record.h"

#include <QHash>

#include <algorithm>

namespace vantro {
namespace {

constexpr int kSkippedNamed = 5;

} // namespace

KeyedRecords::KeyedRecords(const QList<SourceEntry> &entries, RomanScheme scheme,
                           const QString &language)
    : m_language(language)
{
    QHash<QByteArray, size_t> where;
    for (const SourceEntry &entry : entries)
        add(entry, scheme, where);
    for (Record &record : m_records) {
        record.meanings.removeDuplicates();
        record.synonyms.removeDuplicates();
        record.data = encodeData(record.meanings.join(QStringLiteral("; ")),
                                 record.synonyms.join(QStringLiteral(", ")));
        record.meanings.clear();
    }
    std::sort(m_records.begin(), m_records.end(),
              [](const Record &a, const Record &b) { return a.key < b.key; });
}

void KeyedRecords::add(const SourceEntry &entry, RomanScheme scheme,
                       QHash<QByteArray, size_t> &where)
{
    const QString word = entry.headword.trimmed();
    if (isDatabaseEntry(word))
        return;
    if (word.isEmpty() || !fitsLatin1(word)) {
        if (++m_skipped <= kSkippedNamed)
            m_firstSkipped.append(u'"' + entry.headword + u'"');
        return;
    }
    const QByteArray key = encodeKey(word);
    auto found = where.constFind(key);
    if (found == where.cend()) {
        found = where.insert(key, m_records.size());
        m_records.push_back({key, {}, {}, {}});
    }
    Record &record = m_records[*found];
    bool lossy = false;
    const QString meaning =
        entry.markup == DefinitionMarkup::Meaning
            ? entry.definition
            : meaningFromDefinition(
                  withoutHeadwordLines(plainDefinition(entry.definition, entry.markup), word),
                  scheme, &lossy, &m_unplain);
    m_lossy += lossy ? 1 : 0;
    if (!meaning.isEmpty())
        record.meanings.append(m_language.isEmpty() ? meaning
                                                    : foreignMeaning(meaning, m_language));
    if (!entry.leadsTo.isEmpty() && fitsLatin1(entry.leadsTo))
        record.synonyms.append(entry.leadsTo.trimmed());
}

bool KeyedRecords::next(QByteArrayView &key, QByteArrayView &data)
{
    if (m_next >= m_records.size())
        return false;
    const Record &record = m_records[m_next++];
    key = record.key;
    data = record.data;
    return true;
}

} // namespace vantro
