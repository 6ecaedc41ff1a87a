// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "verbroots.h"

namespace vantro::verbs {

// The perfect of a root of the table in sounds: the reduplicated perfect, then the
// periphrastic perfect in -Am where the root takes it (the usual first). The passive is the
// middle perfect (chakre "it was done"); in the periphrastic only kR^i follows it (kArayAMcakre).
// Cells the stems do not settle are left empty.
SoundParadigm perfectParadigm(const VerbRoot &root, Pada pada, bool passive);

} // namespace vantro::verbs
