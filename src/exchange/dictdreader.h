// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sourceentry.h"

namespace vantro {

// A dictd database named by its .index file, with the .dict or .dict.dz beside it. Refused
// whole, with the reason, when a line of the index is malformed or points outside the data.
SourceEntries readDictd(const QString &indexPath);

} // namespace vantro
