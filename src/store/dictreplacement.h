// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dictdb.h"

#include <QByteArray>
#include <QString>

#include <memory>

struct __db;

namespace vantro {

// The new file of cDictDB::beginReplacement: created beside the dictionary under a name no one
// else can hold (O_EXCL, links not followed), with the dictionary's mode, and written through a
// handle of its own with a large cache that goes with the handle. Removed again unless it was
// committed.
class cDictDB::Replacement
{
public:
    // Bytes of cache for a bulk load: enough to keep the pages being filled and the path down to
    // them, while a load in key order touches every page only while it is filled.
    static constexpr unsigned kCacheBytes = 4u << 20;
    // Bytes of records handed to the library in one call.
    static constexpr qsizetype kBulkBytes = 1 << 20;

    explicit Replacement(const QByteArray &dbPath);
    ~Replacement();
    Replacement(const Replacement &) = delete;
    Replacement &operator=(const Replacement &) = delete;

    // Creates the file and opens it through the library.
    [[nodiscard]] bool create(QString *error);
    // A whole record as stored; keys must come in strictly increasing order.
    [[nodiscard]] bool put(QByteArrayView key, QByteArrayView data, QString *error);
    // Flushes and closes the file, which then holds every record put.
    [[nodiscard]] bool finish(QString *error);
    const QByteArray &path() const { return m_path; }
    // Leftovers of a replacement that a killed process never finished.
    static void removeStale(const QByteArray &dbPath);

private:
    friend class cDictDB;
    int putRecord(QByteArrayView key, QByteArrayView data);
    int putPending();

    QByteArray m_dbPath;
    QByteArray m_path;
    struct __db *m_db = nullptr;
    bool m_finished = false;
    int m_written = 0; // every key is put once, so this is the new file's key count
    struct Bulk;
    std::unique_ptr<Bulk> m_bulk;
};

} // namespace vantro
