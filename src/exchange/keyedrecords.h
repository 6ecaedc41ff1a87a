// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recordstream.h"
#include "sourceentry.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

namespace vantro {

// The entries of a foreign dictionary as dictionary records: the headword trimmed and
// lower-cased as keys are stored, the definition as a meaning, entries under the same key
// merged into one meaning in file order ("; " between them); an entry already read as a
// meaning (an article of a classic dictionary) is kept as it is. A synonym entry names the
// headword it leads to in the synonyms, so that the cross-reference button reaches it.
class KeyedRecords : public RecordStream, public EntrySink
{
public:
    explicit KeyedRecords(RomanScheme scheme);
    // The meanings' language when it is not Sanskrit (empty for Sanskrit): the meanings added
    // after it are stored fenced and named.
    void setLanguage(const QString &language) { m_language = language; }

    void add(const SourceEntry &entry) override;
    void setStoredRecords(bool stored) override { m_storedRecords = stored; }
    // Called once every entry was added: the records in key order, ready to be handed out.
    void finish();

    qint64 size() const override { return qint64(m_records.size()); }
    bool next(QByteArrayView &key, QByteArrayView &data) override;
    bool givesWayToStored() const override;

    // Headwords a key cannot hold (empty, or beyond Latin-1), how many of them were empty, and
    // the first few of the others.
    qint64 skipped() const { return m_skipped; }
    qint64 emptyHeadwords() const { return m_emptyHeadwords; }
    const QStringList &firstSkipped() const { return m_firstSkipped; }
    // Meanings in which a character had no Latin-1 form and became "?".
    qint64 lossyMeanings() const { return m_lossy; }
    // Characters of the meanings that had no Latin-1 form.
    qint64 unplainCharacters() const { return m_unplain; }
    // Records whose definitions gave no meaning at all (only markup, a sound, a picture), and
    // the first few of their keys.
    qint64 emptyMeanings() const { return m_emptyMeanings; }
    const QStringList &firstEmpty() const { return m_firstEmpty; }

private:
    struct Record
    {
        QByteArray key;
        QStringList meanings;
        QStringList synonyms;
        QByteArray data;
        bool asStored; // data is the bytes of this program's own export
        // Every entry under the key was a sub-entry that gives way to a stored record.
        bool givesWay;
    };
    Record &recordFor(const QByteArray &key);
    void addStoredRecord(const SourceEntry &entry);
    void addMeaning(Record &record, const QString &meaning);

    RomanScheme m_scheme;
    bool m_storedRecords = false;
    QString m_language;

    std::vector<Record> m_records;
    size_t m_next = 0;
    qint64 m_skipped = 0;
    qint64 m_emptyHeadwords = 0;
    QStringList m_firstSkipped;
    qint64 m_lossy = 0;
    qsizetype m_unplain = 0;
    qint64 m_emptyMeanings = 0;
    QStringList m_firstEmpty;
};

} // namespace vantro
