// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

struct __db;

namespace vantro::bench {

using KeyData = QPair<QByteArray, QByteArray>;

// The costs that a change to the dictionary cannot go below, measured with the bare database
// library and the bare system call on the same disk. They are taken in turn with the changes
// they are compared with, so that both see the same state of the disk.

// DB->put of a new key plus DB->sync on a file of its own (a copy of the dictionary, since two
// handles on one file corrupt it); the keys are deleted again when the object goes.
class PutSyncFloor
{
public:
    explicit PutSyncFloor(const QString &file);
    ~PutSyncFloor();
    PutSyncFloor(const PutSyncFloor &) = delete;
    PutSyncFloor &operator=(const PutSyncFloor &) = delete;
    double secondsFor(const QByteArray &key);

private:
    struct __db *m_db = nullptr;
    QList<QByteArray> m_keys;
};

// Writing one 4 KiB block to a small file and fdatasync on it.
class FdatasyncFloor
{
public:
    explicit FdatasyncFloor(const QString &file);
    ~FdatasyncFloor();
    FdatasyncFloor(const FdatasyncFloor &) = delete;
    FdatasyncFloor &operator=(const FdatasyncFloor &) = delete;
    double seconds();

private:
    int m_fd = -1;
    char m_block[4096] = {};
};

// Seconds of a bare loader: a new file with the given cache (0: the library's default), DB->put
// for every pair in the order given, without flushes, then one DB->sync and the close.
double barePutSeconds(const QString &file, const QList<KeyData> &pairs, unsigned cacheBytes = 0);

// Seconds of a bare cursor walk over every record (DB_NEXT with the library's own memory), and
// the number of records it saw. With output set, the walk also writes each record to it as
// key, tab, data, line end, and flushes it to disk: the least any export has to do.
double bareWalkSeconds(const QString &file, qint64 &records, const QString &output = {});

} // namespace vantro::bench
