// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recordstream.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace vantro {

class cDictDB;

// What an imported record does to a word that is already stored: the stored record stays
// (the translator's own work wins), the imported one takes its place, or the imported meaning
// and synonyms are added after the stored ones.
enum class OnConflict { Keep, Replace, Append };
bool onConflictFromName(const QString &name, OnConflict &policy);

struct ImportSummary
{
    qint64 added = 0;
    qint64 kept = 0;
    qint64 replaced = 0;
    qint64 appended = 0;
    // The imported records that were not taken, in the exchange format (TSV).
    QByteArray notTaken;
    // What the import did to each word it changed: "added", "replaced" or "appended", a tab and
    // the key as the exchange format writes it, one a line; for the import log.
    QByteArray changes;
    QString line() const;
};

// Told how far the merge is (records written to the new file, of the stored and imported
// together); answers false to cancel.
using ImportProgress = std::function<bool(qint64 done, qint64 total)>;

struct ImportOutcome
{
    enum class Status { Imported, Cancelled, Failed };
    Status status = Status::Imported;
    QString why; // when it failed

    ImportSummary summary;
};

// Merges the records into the open dictionary: the stored records and the imported ones are
// written in key order into a new file that then takes the dictionary's place, so a killed or
// cancelled import leaves the dictionary as it was. A snapshot before it folds earlier changes
// into the snapshot, so that nothing in the journal could be replayed onto the new file.
// mark: the short name of the dictionary imported, put before the senses an append adds.
ImportOutcome importIntoDictionary(cDictDB &db, RecordStream &records, OnConflict policy,
                                   const ImportProgress &progress = {}, const QString &mark = {});

} // namespace vantro
