// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "soundstring.h"

namespace vantro::verbs {

// The groups of roots a rule singles out, in the order of data/rootgroups.tsv's names.
enum class RootGroup {
    ConnectingI,
    ReduplicatedPlural,
    WeakIShortens,
    ImperativeDhi,
    NasalUFalls,
    JAsSh,
    NasalDropsBeforeTa,
    HAsODh,
    HAsDh,
    AAsEInBenedictive,
    CausativeAoristApart,
    CausativeAoristKeepsA,
    PerfectWithoutI,
    PassiveAoristWithI,
    IMayLengthen,
    IThroughout,
    InfinitiveWithoutI,
    GunaForVrddhi,
    AShortInISAorist,
    NoSaAorist,
    AAfterR,
    WeakBeforeYa,
    HAsDentalDh,
    AInWeakPerfect,
    HBeforeTha,
    SAfterSam,
    TtaAfterPrefix,
    AiAfterA,
    DentalNKept,
    NRetroflexBeforeVowel,
    SKeptBeforeSy,
    SRetroflexAfterPrefix,
    SAsShBeforeVowel,
    SDropsAfterUd,
};

// Whether the root, in sounds, is one the group's row names.
bool inRootGroup(RootGroup group, const SoundString &rootSounds);

} // namespace vantro::verbs
