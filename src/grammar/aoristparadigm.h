// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paradigm.h"
#include "verbroots.h"

namespace vantro::verbs {

// The aorist of a root of the table in the pada, in sounds, augment included: each formation
// the root makes with its own endings, the usual first. The passive takes the middle's
// forms, save the third singular in -i (akAri); the vowel roots and han, grah, dR^ish may also
// make the other cells on the stem of that third singular (adAyiShAtAm beside adiShAtAm).
// Empty cells where the aorist is not known.
SoundParadigm aoristParadigm(const VerbRoot &root, Pada pada, bool passive);

} // namespace vantro::verbs
