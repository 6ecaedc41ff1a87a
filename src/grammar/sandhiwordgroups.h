// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sandhiword.h"

namespace vantro {

// The groups of words a rule of sandhi singles out, in the order of data/sandhiwords.tsv's
// names.
enum class SandhiWordGroup {
    WrittenWithNext,
    VisargaForR,
    VisargaForROrAH,
    VisargaDropsBeforeConsonant,
    VisargaDropsBeforeVoiced,
    VisargaAsShBeforeKP,
    Pragrhya,
    DualPronoun,
    PrefixInA,
    VrddhiBeforeRiNa,
    VrddhiBeforeRita,
    TakeInABefore,
    VrddhiAfterPrefixInA,
    Ruler,
    OneWordWithBefore,
    ChDoubledAfter,
};

// Whether the word is one the group's row names, or begins with one for a group of starts.
bool inSandhiGroup(SandhiWordGroup group, const SandhiWord &word);

} // namespace vantro
