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
    VrddhiWithNext,
    TakeInABefore,
    VrddhiAfterPrefixInA,
    Ruler,
    OneWordWithBefore,
    ChDoubledAfter,
};

// Whether the word is one the group's row names, or begins with one for a group of starts.
bool inSandhiGroup(SandhiWordGroup group, const SandhiWord &word);
// Whether the two words are a pair of a group of pairs: the first is the pair's word and the
// second begins with the pair's start.
bool inSandhiGroup(SandhiWordGroup group, const SandhiWord &first, const SandhiWord &second);

} // namespace vantro
