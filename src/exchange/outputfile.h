// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vantro {

// Where a file that is written whole, by a temporary beside it renamed over it, may go. The name
// itself when it is a regular file or absent; for a symbolic link, the file it leads to (as text
// editors do: the link stays, its target gets the new text). A device, FIFO, socket or folder is
// refused: a rename would put a regular file in its place. Checked before any work is done; a
// refusal's reason is one line.
[[nodiscard]] bool resolveOutputFile(const QString &name, QString *path, QString *error);

} // namespace vantro
