// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sourceentry.h"

namespace vantro {

// A dictd database named by its .index file, with the .dict or .dict.dz beside it. Refused
// whole, with the reason, when a line of the index is malformed or points outside the data.
// A headword the index holds in a normalized form ("a feather in ones cap") is taken as the
// definition's first line writes it ("A feather in one's cap"). The entries go to sink as they
// are read.
[[nodiscard]] bool readDictd(const QString &indexPath, EntrySink &sink, QString *error);

} // namespace vantro
