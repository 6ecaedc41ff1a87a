// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sourceentry.h"

namespace vantro {

// A StarDict dictionary named by its .ifo file: the .idx or .idx.gz, the .dict or .dict.dz and
// the optional .syn beside it. Text fields (m, l, g, h, x and the like) become definitions, in
// their order; sounds, pictures and resources are passed over. Any file that does not hold what
// the .ifo promises is refused with the reason, and nothing is read from it.
// The entries go to sink as they are read; when the files are refused the sink may hold some
// entries, which are not to be used.
[[nodiscard]] bool readStarDict(const QString &ifoPath, EntrySink &sink, QString *error);

} // namespace vantro
