#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace vantro::bench {

using KeyData = QPair<QByteArray, QByteArray>;

// The costs that a change to the dictionary cannot go below, measured with the bare database
// library and the bare system call on the same disk.

// Median seconds of one DB->put of a new key plus DB->sync, on the existing file (the keys are
// deleted again afterwards, untimed).
double putSyncFloor(const QString &file, const QList<QByteArray> &newKeys);

// Seconds of DB->put for every pair into a new file, without flushes, plus one DB->sync.
double barePutSeconds(const QString &file, const QList<KeyData> &pairs);

// Median seconds of writing one 4 KiB block to a small file and fdatasync on it.
double fdatasyncFloor(const QString &file, int runs);

} // namespace vantro::bench
