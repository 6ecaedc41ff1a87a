// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace vantro {
class cDictDB;
}

namespace vantro::test {

using KeyData = QPair<QByteArray, QByteArray>;

// The Berkeley DB utilities, run as an independent reader and writer of dictionary files.
struct DbUtilities
{
    // Every key/data pair of the file, in key order, as db_dump -p prints them.
    static QList<KeyData> dump(const QString &file, bool *ok = nullptr);
    // Creates a database file of the given access method from pairs through db_load.
    // A page size of 0 leaves the choice to the library.
    static bool load(const QString &file, const QList<KeyData> &pairs,
                     const QByteArray &type = "btree", quint32 pageSize = 0);
    // True when db_verify accepts the file.
    static bool verify(const QString &file);
};

// The bytes of a file, for before/after comparisons.
QByteArray fileBytes(const QString &path);

// Writes one record through the store, as the form does: addRecord, or saveRecord when !add.
int putRecord(cDictDB &db, const QString &word, const QString &meaning,
              const QString &synonyms = {}, bool add = true);

} // namespace vantro::test
