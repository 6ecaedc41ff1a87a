// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "verbroots.h"

#include "soundstring.h"

namespace vantro::verbs {

// The perfect's stems, in sounds: the third, first and second singular active as words, the
// weak stems the other endings go on (the usual first: jagm, teratus beside tataratus), the
// stem without i before the consonant endings for the eight roots that take none (chakR^i), and
// the stem in -Am of the periphrastic perfect (IkShAM, chorayAM). A root may have both kinds
// (viveda, vidAMchakAra). Lists are empty where a form is not known.
struct PerfectStems
{
    SoundStrings third, first, second;
    SoundStrings weak;
    SoundString withoutI, periphrastic;
    // False for the roots whose i before the consonant endings is optional and not settled
    // here (guh, muh, dhU): those cells are left out rather than guessed.
    bool consonantEndingsKnown = true;
    // The middle's own weak stems where they are not those of the active (i: jag of adhijage),
    // and false where the middle is not known.
    SoundStrings middleWeak;
    bool middleKnown = true;
};

// By the rules of reduplication and of the strong and weak stems, then what the table of
// exceptions (data/verbderivatives.tsv) gives or withholds for the root.
PerfectStems perfectStems(const VerbRoot &root);

} // namespace vantro::verbs
