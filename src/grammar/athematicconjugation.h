// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paradigm.h"
#include "verbroots.h"

namespace vantro::verbs {

// One tense of the present system of a root of the classes without the thematic a (2, 3, 5,
// 7, 8, 9): strong stem before the singular active endings and the first persons of the
// imperative, weak stem elsewhere. Cells hold finished forms in sounds.
SoundParadigm conjugateAthematic(const VerbRoot &root, Pada pada, Tense tense);

} // namespace vantro::verbs
