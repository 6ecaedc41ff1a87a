#pragma once

#include "journal.h"

#include <QByteArray>
#include <QString>

namespace vantro {

// Durable file copies for the dictionary's snapshot "<db>.bak" and its rebuilds. Paths are the
// file system's bytes. Every function answers an empty string on success, otherwise the reason.

QString snapshotPath(const QString &dbPath);

// The identity the journal header records: size, inode and modification time. A copy made by
// copyDurably keeps its identity through the rename that puts it in place.
bool identityOf(const QByteArray &path, SnapshotId &id);

// Copies from into a temporary file beside to, flushes it, renames it over to and flushes the
// directory, so that to is always either the old copy or the whole new one. A reflink clone is
// tried first (instant on file systems that share blocks); otherwise the bytes are copied.
QString copyDurably(const QByteArray &from, const QByteArray &to, SnapshotId *copied = nullptr);

// Copies from into a new file at to (replacing it), flushed but not renamed anywhere.
QString copyToNewFile(const QByteArray &from, const QByteArray &to);

// Flushes the directory that holds path, so that a rename or creation in it is on disk.
QString syncDirectoryOf(const QByteArray &path);

// The first of "<path>.damaged", "<path>.damaged.1", ... that does not exist yet.
QByteArray freeDamagedName(const QByteArray &path);

// Gives the file at path a second name, without copying when the file system allows a hard
// link; never replaces an existing file.
QString keepCopyAs(const QByteArray &path, const QByteArray &name);

} // namespace vantro
