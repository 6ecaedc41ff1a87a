// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionaryimport.h"

#include "dictdb.h"
#include "dictreplacement.h"
#include "record.h"
#include "recordline.h"

namespace vantro {
namespace {

constexpr qint64 kProgressEvery = 4096;

// The meaning and synonyms of both, the stored first; a part the stored record already holds
// is not repeated.
QByteArray appended(QByteArrayView stored, QByteArrayView imported)
{
    QString meaning;
    QString synonyms;
    QString newMeaning;
    QString newSynonyms;
    decodeData(stored.constData(), stored.size(), meaning, synonyms);
    decodeData(imported.constData(), imported.size(), newMeaning, newSynonyms);
    const auto join = [](const QString &old, const QString &added, const QString &separator) {
        if (added.isEmpty() || old.contains(added))
            return old;
        return old.isEmpty() ? added : old + separator + added;
    };
    return encodeData(join(meaning, newMeaning, QStringLiteral("; ")),
                      join(synonyms, newSynonyms, QStringLiteral(", ")));
}

bool meaningIsEmpty(QByteArrayView data)
{
    QString meaning;
    QString synonyms;
    decodeData(data.constData(), data.size(), meaning, synonyms);
    return meaning.trimmed().isEmpty();
}

class Merge
{
public:
    Merge(cDictDB &db, RecordStream &records, OnConflict policy, ImportSummary &summary)
        : m_db(db), m_records(records), m_policy(policy), m_summary(summary)
    {
    }
    ImportOutcome run(const ImportProgress &progress);

private:
    int putConflict(cDictDB::Replacement &replacement);

    cDictDB &m_db;
    RecordStream &m_records;
    OnConflict m_policy;
    ImportSummary &m_summary;
    QByteArrayView m_key;
    QByteArrayView m_data;
    QByteArrayView m_storedKey;
    QByteArrayView m_storedData;
};

int Merge::putConflict(cDictDB::Replacement &replacement)
{
    if (m_data == m_storedData) {
        ++m_summary.kept;
        return replacement.put(m_storedKey, m_storedData);
    }
    switch (m_policy) {
    case OnConflict::Keep:
        ++m_summary.kept;
        appendRecordLine(m_summary.notTaken, m_key, m_data);
        return replacement.put(m_storedKey, m_storedData);
    case OnConflict::Replace:
        // A definition that gave no meaning never takes the place of a translator's one.
        if (meaningIsEmpty(m_data) && !meaningIsEmpty(m_storedData)) {
            ++m_summary.kept;
            appendRecordLine(m_summary.notTaken, m_key, m_data);
            return replacement.put(m_storedKey, m_storedData);
        }
        ++m_summary.replaced;
        return replacement.put(m_key, m_data);
    case OnConflict::Append:
        break;
    }
    const QByteArray both = appended(m_storedData, m_data);
    ++(both == m_storedData ? m_summary.kept : m_summary.appended);
    return replacement.put(m_storedKey, both);
}

ImportOutcome Merge::run(const ImportProgress &progress)
{
    ImportOutcome outcome;
    QString why;
    std::unique_ptr<cDictDB::Replacement> replacement = m_db.beginReplacement(&why);
    if (!replacement)
        return {ImportOutcome::Status::Failed,
                QStringLiteral("cannot make the new dictionary file (%1)").arg(why),
                {}};
    // Every record written counts, the stored ones too: a few words imported into a large
    // dictionary is a long walk as well, and it can be cancelled all the same.
    const qint64 total = m_records.size() + m_db.getStat();
    bool imported = m_records.next(m_key, m_data);
    int stored = m_db.startWalk();
    if (stored == 0)
        stored = m_db.nextStored(m_storedKey, m_storedData);
    int ret = 0;
    qint64 done = 0;
    while (ret == 0 && (stored == 0 || imported)) {
        const bool fromInput = imported && (stored != 0 || m_key <= m_storedKey);
        const bool same = fromInput && stored == 0 && m_key == m_storedKey;
        if (same) {
            ret = putConflict(*replacement);
        } else if (fromInput) {
            ret = replacement->put(m_key, m_data);
            ++m_summary.added;
        } else {
            ret = replacement->put(m_storedKey, m_storedData);
        }
        if (++done % kProgressEvery == 0 && progress && !progress(done, total))
            return {ImportOutcome::Status::Cancelled, {}, {}};
        if (fromInput)
            imported = m_records.next(m_key, m_data);
        if (!fromInput || same)
            stored = m_db.nextStored(m_storedKey, m_storedData);
    }
    if (ret != 0)
        return {ImportOutcome::Status::Failed,
                QStringLiteral("writing the new dictionary file failed (%1)")
                    .arg(cDictDB::errorText(ret)),
                {}};
    if (stored != 0 && !cDictDB::isEndOfRecords(stored))
        return {
            ImportOutcome::Status::Failed,
            QStringLiteral("reading the dictionary failed (%1)").arg(cDictDB::errorText(stored)),
            {}};
    if (progress)
        progress(done, total);
    if (const QString failed = m_db.commitReplacement(std::move(replacement)); !failed.isEmpty())
        return {ImportOutcome::Status::Failed,
                QStringLiteral("putting the new dictionary in place failed (%1)").arg(failed),
                {}};
    return outcome;
}

} // namespace

bool onConflictFromName(const QString &name, OnConflict &policy)
{
    if (name == QLatin1String("keep"))
        policy = OnConflict::Keep;
    else if (name == QLatin1String("replace"))
        policy = OnConflict::Replace;
    else if (name == QLatin1String("append"))
        policy = OnConflict::Append;
    else
        return false;
    return true;
}

QString ImportSummary::line() const
{
    return QStringLiteral("added %1, kept %2, replaced %3, appended %4")
        .arg(added)
        .arg(kept)
        .arg(replaced)
        .arg(appended);
}

ImportOutcome importIntoDictionary(cDictDB &db, RecordStream &records, OnConflict policy,
                                   const ImportProgress &progress)
{
    if (records.size() == 0)
        return {};
    if (const QString failed = db.takeSnapshot(); !failed.isEmpty())
        return {ImportOutcome::Status::Failed,
                QStringLiteral("cannot leave a copy of the dictionary beside it (%1)").arg(failed),
                {}};
    ImportSummary summary;
    ImportOutcome outcome = Merge(db, records, policy, summary).run(progress);
    outcome.summary = summary;
    return outcome;
}

} // namespace vantro
