// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "failure.h"
#include "journal.h"

#include <QByteArray>
#include <QString>

namespace vantro {

// Durable file copies for the dictionary's snapshot "<db>.bak" and its rebuilds. Paths are the
// file system's bytes. A function that may fail answers false and gives the reason in *error.

QString snapshotPath(const QString &dbPath);

// The identity the journal header records: size, inode and modification time. A copy made by
// copyDurably keeps its identity through the rename that puts it in place.
bool identityOf(const QByteArray &path, SnapshotId &id);

// The database library's unique file id, from the metadata page of a B-tree file: it does not
// change with writes, and a byte copy carries it along. Empty when the file has none to read.
QByteArray fileIdOf(const QByteArray &path);

// Gives the file at path (not open anywhere) a fresh file id.
[[nodiscard]] bool resetFileId(const QByteArray &path, QString *error);

// Creates a new file "<target><suffix>XXXXXX" with a unique ending, exclusively and never through
// a link; answers its descriptor (or -1) and its name.
int createTemporaryBeside(const QByteArray &target, QByteArray &name, const char *suffix = ".new-");

// Removes what createTemporaryBeside left there under that suffix when a program was killed.
void removeStaleTemporaries(const QByteArray &target, const char *suffix = ".new-");

// The "__db.<name>" a create of the file at path left when it failed (a full disk) or was killed:
// the library would wait for it to become the file, every time. Removed when creatorsExcluded
// (the caller holds lockFolderForCreate's lock, so no other program of ours can be creating it
// now), whatever it holds; otherwise only when it is empty and a few seconds old. True when it
// was removed.
bool removeLibraryLeftover(const QByteArray &path, bool creatorsExcluded = false);

// Programs that create a missing dictionary take turns on its folder: an exclusive flock() on
// the folder, waited for briefly. True with the descriptor that holds it in *fd (closing it
// releases it); false with *fd -1 and the reason when the folder cannot be opened or locked.
bool lockFolderForCreate(const QByteArray &path, int *fd, QString *error);

// Gives the file open on fd the mode, owner and group of the file at like, as far as the
// process may: a copy of a private dictionary stays private.
void takeModeOf(int fd, const QByteArray &like);
// The same for the regular file at path (a link is not followed), when there is one.
void takeModeOf(const QByteArray &path, const QByteArray &like);

// Copies from into a temporary file beside to, flushes it, renames it over to and flushes the
// directory, so that to is always either the old copy or the whole new one. A reflink clone is
// tried first (instant on file systems that share blocks); otherwise the bytes are copied. With
// fileId, the copy is given a fresh file id first, answered there.
[[nodiscard]] bool copyDurably(const QByteArray &from, const QByteArray &to, QString *error,
                               SnapshotId *copied = nullptr, QByteArray *fileId = nullptr);

// Copies from into a new temporary file beside target (see createTemporaryBeside), flushed, with
// the mode of from; its name in temporary.
[[nodiscard]] bool copyToTemporary(const QByteArray &from, const QByteArray &target,
                                   QByteArray &temporary, QString *error,
                                   const char *suffix = ".new-");
// Flushes the directory that holds path, so that a rename or creation in it is on disk.
[[nodiscard]] bool syncDirectoryOf(const QByteArray &path, QString *error);

// The first of "<path>.damaged", "<path>.damaged.1", ... that does not exist yet.
QByteArray freeDamagedName(const QByteArray &path);

// Gives the file at path a second name, without copying when mayLink and the file system allows
// a hard link (only for a file that is replaced, never changed in place); never replaces an
// existing file.
[[nodiscard]] bool keepCopyAs(const QByteArray &path, const QByteArray &name, QString *error,
                              bool mayLink = true);

} // namespace vantro
