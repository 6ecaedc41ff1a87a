// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

namespace vantro {

// Records to import, as the bytes to store (key lower-cased, data the meaning and, after a "|",
// the synonyms), handed out once each in strictly increasing key order.
class RecordStream
{
public:
    virtual ~RecordStream() = default;
    virtual qint64 size() const = 0;
    // The next record, valid until the next call; false at the end.
    virtual bool next(QByteArrayView &key, QByteArrayView &data) = 0;
    // Whether the record next() handed out last gives way to a record stored under its key,
    // whatever the import does with the others: a sub-entry whose Sanskrit its article keeps.
    virtual bool givesWayToStored() const { return false; }
    // After next() answered false: whether that was the end of the input rather than a read
    // that failed on the way, which must never be taken for the end of a shorter input.
    [[nodiscard]] virtual bool readToTheEnd(QString *error) const
    {
        Q_UNUSED(error);
        return true;
    }
};

} // namespace vantro
