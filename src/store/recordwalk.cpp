// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordwalk.h"

namespace vantro {

bool readAllRecords(cDictDB &db, QList<Record> *records, QString *error)
{
    QString why;
    bool walking = db.startWalk(&why);
    QByteArrayView key;
    QByteArrayView data;
    while (walking && (walking = db.nextStored(key, data, &why))) {
        Record record;
        record.word = decodeKey(key.data(), key.size());
        decodeData(data.data(), data.size(), record.meaning, record.synonyms);
        records->append(record);
    }
    // A walk to the end leaves the cursor past the last record, where Next would not find the
    // first: it goes back to standing on no record, as the dictionary was opened.
    if (why.isEmpty() && db.startWalk(&why))
        return true;
    return failWith(error, QStringLiteral("reading the dictionary failed after %1 records: %2")
                               .arg(records->size())
                               .arg(why));
}

} // namespace vantro
