// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyedrecords.h"

#include "record.h"
#include "stardictformat.h"

#include <algorithm>

namespace vantro {
namespace {

constexpr int kSkippedNamed = 5;

// Whether a meaning holds a letter outside its "##" fences: Sanskrit, where a meaning with
// none holds only English (a cross-reference, a gloss).
bool hasUnfencedLetter(const QString &meaning)
{
    bool fenced = false;
    for (qsizetype at = 0; at < meaning.size(); ++at) {
        if (meaning.at(at) == u'#' && at + 1 < meaning.size() && meaning.at(at + 1) == u'#') {
            fenced = !fenced;
            ++at;
        } else if (!fenced && meaning.at(at).isLetter()) {
            return true;
        }
    }
    return false;
}

} // namespace

KeyedRecords::KeyedRecords(RomanScheme scheme) : m_scheme(scheme) {}

// Entries under one key merge here rather than through a table of keys while reading, which
// would cost as much memory again as the records.
void KeyedRecords::finish()
{
    std::stable_sort(m_records.begin(), m_records.end(),
                     [](const Record &a, const Record &b) { return a.key < b.key; });
    size_t kept = 0;
    for (size_t at = 0; at < m_records.size(); ++at) {
        Record &record = m_records[at];
        if (kept > 0 && m_records[kept - 1].key == record.key) {
            Record &first = m_records[kept - 1];
            if (record.asStored)
                first = std::move(record);
            else {
                first.meanings += record.meanings;
                first.synonyms += record.synonyms;
                first.givesWay = first.givesWay && record.givesWay;
            }
            continue;
        }
        if (kept != at)
            m_records[kept] = std::move(record);
        ++kept;
    }
    m_records.resize(kept);
    for (Record &record : m_records) {
        if (record.asStored)
            continue;
        if (record.meanings.isEmpty() && ++m_emptyMeanings <= kSkippedNamed)
            m_firstEmpty.append(u'"' + QString::fromLatin1(record.key) + u'"');
        record.meanings.removeDuplicates();
        // Entries merged under one key ("fowl" the noun, then the verb) give the record's
        // meaning in file order, save that one with Sanskrit leads those with English alone.
        std::stable_partition(record.meanings.begin(), record.meanings.end(), hasUnfencedLetter);
        record.synonyms.removeDuplicates();
        record.data = encodeData(record.meanings.join(QStringLiteral("; ")),
                                 record.synonyms.join(QStringLiteral(", ")));
        record.meanings.clear();
        record.synonyms.clear();
    }
}

KeyedRecords::Record &KeyedRecords::recordFor(const QByteArray &key)
{
    if (m_records.empty() || m_records.back().key != key)
        m_records.push_back({key, {}, {}, {}, false, false});
    return m_records.back();
}

// The entry's first line is the meaning as it was stored, the line marked as the synonyms holds
// them; the key keeps its bytes. Only a record that is stored again comes out as it went in.
void KeyedRecords::addStoredRecord(const SourceEntry &entry)
{
    const QString word = entry.headword;
    if (word.isEmpty() || !fitsLatin1(word)) {
        ++m_skipped;
        return;
    }
    const QStringList lines = entry.definition.split(u'\n');
    QString meaning = lines.first();
    for (const QString &line : lines.sliced(1)) {
        if (line.startsWith(kSynonymsMark))
            meaning += kSynonymSeparator + line.mid(kSynonymsMark.size());
    }
    Record &record = recordFor(word.toLatin1());
    record.data = meaning.toLatin1();
    record.asStored = true;
    m_lossy += fitsLatin1(meaning) ? 0 : 1;
}

void KeyedRecords::add(const SourceEntry &entry)
{
    if (m_storedRecords && entry.leadsTo.isEmpty())
        return addStoredRecord(entry);
    const QString word = entry.headword.trimmed();
    if (isDatabaseEntry(word))
        return;
    if (word.isEmpty()) {
        ++m_skipped;
        ++m_emptyHeadwords;
        return;
    }
    if (!fitsLatin1(word)) {
        if (++m_skipped - m_emptyHeadwords <= kSkippedNamed)
            m_firstSkipped.append(u'"' + word + u'"');
        return;
    }
    if (entry.markup == DefinitionMarkup::Meaning) {
        const QByteArray key = encodeKey(word);
        const bool fresh = m_records.empty() || m_records.back().key != key;
        Record &record = recordFor(key);
        record.givesWay = entry.givesWayToStored && (fresh || record.givesWay);
        addMeaning(record, entry.definition);
        return;
    }
    // A synonym's definition is its entry's, which opens with that entry's headword. The
    // definitions a converter merged under one headword may each write it their own way.
    const QString plain = plainDefinition(entry.definition, entry.markup);
    Record *record = nullptr;
    for (const QString &definition : plain.split(kDefinitionBreak)) {
        const QString written = writtenHeadword(definition, word).trimmed();
        const QString echoed = entry.leadsTo.isEmpty() ? written : entry.leadsTo;
        record =
            &recordFor(encodeKey(entry.leadsTo.isEmpty() && fitsLatin1(written) ? written : word));
        bool lossy = false;
        const QString meaning = meaningFromDefinition(withoutHeadwordLine(definition, echoed),
                                                      m_scheme, &lossy, &m_unplain);
        m_lossy += lossy ? 1 : 0;
        addMeaning(*record, meaning);
    }
    if (!entry.leadsTo.isEmpty() && fitsLatin1(entry.leadsTo))
        record->synonyms.append(entry.leadsTo.trimmed());
}

void KeyedRecords::addMeaning(Record &record, const QString &meaning)
{
    if (!meaning.isEmpty())
        record.meanings.append(m_language.isEmpty() ? meaning
                                                    : foreignMeaning(meaning, m_language));
}

bool KeyedRecords::givesWayToStored() const
{
    return m_next > 0 && m_records[m_next - 1].givesWay;
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
