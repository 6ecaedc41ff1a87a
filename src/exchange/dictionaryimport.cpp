// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionaryimport.h"

#include "dictdb.h"
#include "dictreplacement.h"
#include "record.h"
#include "recordline.h"

#include <algorithm>

namespace vantro {
namespace {

constexpr qint64 kProgressEvery = 4096;

// The senses of a meaning: its parts between the "; " that stand outside "##" fences.
QStringList sensesOf(const QString &meaning)
{
    QStringList senses;
    bool fenced = false;
    qsizetype start = 0;
    for (qsizetype at = 0; at < meaning.size(); ++at) {
        if (meaning.at(at) == u'#' && at + 1 < meaning.size() && meaning.at(at + 1) == u'#') {
            fenced = !fenced;
            ++at;
        } else if (!fenced && meaning.at(at) == u';') {
            senses.append(meaning.mid(start, at - start).trimmed());
            start = at + 1;
        }
    }
    senses.append(meaning.mid(start).trimmed());
    senses.removeAll(QString());
    return senses;
}

// The meaning and synonyms of both, the stored first. An imported sense the stored record
// already has, word for word, is not repeated; one whose text merely occurs inside another
// is a sense of its own and is kept. The senses added are marked with the dictionary's name.
QByteArray appended(QByteArrayView stored, QByteArrayView imported, const QString &mark)
{
    QString meaning;
    QString synonyms;
    QString newMeaning;
    QString newSynonyms;
    decodeData(stored.constData(), stored.size(), meaning, synonyms);
    decodeData(imported.constData(), imported.size(), newMeaning, newSynonyms);
    const QStringList storedSenses = sensesOf(meaning);
    QStringList added;
    for (const QString &sense : sensesOf(newMeaning)) {
        if (!storedSenses.contains(sense) && !added.contains(sense))
            added.append(sense);
    }
    if (!added.isEmpty()) {
        const QString senses = added.join(QStringLiteral("; "));
        const QString marked =
            mark.isEmpty() ? senses : QStringLiteral("##[%1]## ").arg(mark) + senses;
        meaning = meaning.isEmpty() ? marked : meaning + QStringLiteral("; ") + marked;
    }
    QStringList words = synonyms.split(QStringLiteral(", "), Qt::SkipEmptyParts);
    for (const QString &word : newSynonyms.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        if (!words.contains(word))
            words.append(word);
    }
    return encodeData(meaning, words.join(QStringLiteral(", ")));
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
    Merge(cDictDB &db, RecordStream &records, OnConflict policy, const QString &mark,
          ImportSummary &summary)
        : m_db(db), m_records(records), m_policy(policy), m_mark(mark), m_summary(summary)
    {
    }
    ImportOutcome run(const ImportProgress &progress);

private:
    bool putConflict(cDictDB::Replacement &replacement, QString *error);
    void noteChange(const char *what, QByteArrayView key)
    {
        m_summary.changes += what;
        m_summary.changes += '\t';
        // A key with no byte the exchange format escapes is written as it is.
        const bool plain = std::none_of(key.begin(), key.end(), [](char c) {
            return c == '\t' || c == '\n' || c == '\r' || c == '\\';
        });
        m_summary.changes += plain ? QByteArray(key.data(), key.size())
                                   : formatRecordLine(key.toByteArray(), {}).split('\t').first();
        m_summary.changes += '\n';
    }

    cDictDB &m_db;
    RecordStream &m_records;
    OnConflict m_policy;
    QString m_mark;
    ImportSummary &m_summary;
    QByteArrayView m_key;
    QByteArrayView m_data;
    QByteArrayView m_storedKey;
    QByteArrayView m_storedData;
};

bool Merge::putConflict(cDictDB::Replacement &replacement, QString *error)
{
    // A sub-entry's Sanskrit is among the senses of its article already: the record stored
    // under its word is the translator's, whatever the import does with the others.
    if (m_data == m_storedData || m_records.givesWayToStored()) {
        ++m_summary.kept;
        return replacement.put(m_storedKey, m_storedData, error);
    }
    switch (m_policy) {
    case OnConflict::Keep:
        ++m_summary.kept;
        appendRecordLine(m_summary.notTaken, m_key, m_data);
        return replacement.put(m_storedKey, m_storedData, error);
    case OnConflict::Replace:
        // A definition that gave no meaning never takes the place of a translator's one.
        if (meaningIsEmpty(m_data) && !meaningIsEmpty(m_storedData)) {
            ++m_summary.kept;
            appendRecordLine(m_summary.notTaken, m_key, m_data);
            return replacement.put(m_storedKey, m_storedData, error);
        }
        ++m_summary.replaced;
        noteChange("replaced", m_key);
        return replacement.put(m_key, m_data, error);
    case OnConflict::Append:
        break;
    }
    const QByteArray both = appended(m_storedData, m_data, m_mark);
    ++(both == m_storedData ? m_summary.kept : m_summary.appended);
    if (both != m_storedData)
        noteChange("appended", m_storedKey);
    return replacement.put(m_storedKey, both, error);
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
    QString readError;
    bool stored =
        m_db.startWalk(&readError) && m_db.nextStored(m_storedKey, m_storedData, &readError);
    bool written = true;
    QString writeError;
    qint64 done = 0;
    while (written && (stored || imported)) {
        const bool fromInput = imported && (!stored || m_key <= m_storedKey);
        const bool same = fromInput && stored && m_key == m_storedKey;
        if (same) {
            written = putConflict(*replacement, &writeError);
        } else if (fromInput) {
            written = replacement->put(m_key, m_data, &writeError);
            ++m_summary.added;
            noteChange("added", m_key);
        } else {
            written = replacement->put(m_storedKey, m_storedData, &writeError);
        }
        if (++done % kProgressEvery == 0 && progress && !progress(done, total))
            return {ImportOutcome::Status::Cancelled, {}, {}};
        if (fromInput)
            imported = m_records.next(m_key, m_data);
        if (!fromInput || same)
            stored = m_db.nextStored(m_storedKey, m_storedData, &readError);
    }
    if (!written)
        return {ImportOutcome::Status::Failed,
                QStringLiteral("writing the new dictionary file failed (%1)").arg(writeError),
                {}};
    if (!readError.isEmpty())
        return {ImportOutcome::Status::Failed,
                QStringLiteral("reading the dictionary failed (%1)").arg(readError),
                {}};
    if (QString why; !m_records.readToTheEnd(&why))
        return {ImportOutcome::Status::Failed, why, {}};
    if (progress)
        progress(done, total);
    if (QString failed; !m_db.commitReplacement(std::move(replacement), &failed))
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
                                   const ImportProgress &progress, const QString &mark)
{
    if (records.size() == 0)
        return {};
    if (QString failed; !db.takeSnapshot(&failed))
        return {ImportOutcome::Status::Failed,
                QStringLiteral("cannot leave a copy of the dictionary beside it (%1)").arg(failed),
                {}};
    ImportSummary summary;
    ImportOutcome outcome = Merge(db, records, policy, mark, summary).run(progress);
    outcome.summary = summary;
    return outcome;
}

} // namespace vantro
