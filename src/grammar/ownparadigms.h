// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formtable.h"
#include "paradigm.h"

#include <optional>

namespace vantro {

// The whole forms of a word that is declined by a table of its own (data/ownparadigms.tsv:
// aham, idam, adas, dvi, tri...) in the gender asked; nothing for any other word.
std::optional<FormTable> ownParadigm(const QString &word, Gender gender);

} // namespace vantro
