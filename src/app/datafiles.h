// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vantro {

// Where a data file of the program lies, for a program whose directory is appDirPath (with a
// trailing "/"): beside the executable, as in the build tree, else in share/vantro/ of the
// installation the executable belongs to (bin/../share/vantro/). When neither holds it, the
// place beside the executable.
QString dataFile(const QString &appDirPath, const QString &name);

// The directory of the help pages, found like a data file by its start page; ends in "/".
QString helpDirectory(const QString &appDirPath);

// What the meaning field shows while the dictionary has no record: the key that loads the starter
// dictionary, and how to add a first word instead; short enough to read whole in the field.
QString emptyDictionaryHint();

} // namespace vantro
