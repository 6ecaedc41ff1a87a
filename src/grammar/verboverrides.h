// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conjugation.h"
#include "paradigm.h"
#include "verbroots.h"

namespace vantro::verbs {

// The rows of data/overrides.tsv for this root, pada and tense, laid over the cells the class
// rules made: the irregular forms are data, not code.
void applyVerbOverrides(const VerbRoot &root, Pada pada, Tense tense, SoundParadigm *paradigm);

} // namespace vantro::verbs
