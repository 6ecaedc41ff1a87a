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

// Seconds of DB->put for every pair into a new file, without flushes, plus one DB->sync.
double barePutSeconds(const QString &file, const QList<KeyData> &pairs);

} // namespace vantro::bench
