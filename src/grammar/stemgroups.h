// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "soundstring.h"

namespace vantro {

// The groups of noun stems a rule singles out, in the order of data/stemgroups.tsv's names.
enum class StemGroup {
    CommonSNeuter,
    AnAfterConsonant,
    KinshipMasculine,
    KinshipFeminine,
    NeuterOnlyIU,
    LongIWithS,
    ShortVocativeA,
    AsWithNominativeA,
    IsUsLengthening,
    ParticipleInVat,
    PossessiveLike,
    ReduplicatedParticiple,
    NotThematicAt,
    SixthClassParticiple,
    HAsKOrT,
    VIFeminine,
    FeminineInA,
    FeminineInI,
    HalfPronominal,
    OrdinalHalfPronominal,
    KinshipMasculineCited,
    KinshipFeminineCited,
    RStemCitedFirst,
    ShortStrongAn,
    LongVowelKept,
    FeminineAn,
    FeminineOfItsOwn,
    WeakestOfItsOwn,
    FeminineInU,
    LengtheningFeminineRi,
    StemInAsBeside,
    VocativeInAn,
    NotReduplicatedParticiple,
    NotSixthClassParticiple,
    InvariableAt,
    InvariableTens,
    LongStrongAt,
    SComesBack,
    ColourInNI,
    LeaderNI,
    LocativeInAm,
    ShorterStemMasculine,
    ShorterStemFeminine,
    ShorterStemNeuter,
    CompoundOfHan,
    PronominalFull,
    PronominalNemAH,
    PronominalNeuterAt,
    PronominalOptional,
    PronominalNoDual,
    PronominalDualOnly,
    CardinalInAn,
    DeclinedAsKati,
};

// Whether the stem is one of the group's, or ends in one where the group matches endings.
bool inStemGroup(StemGroup group, const SoundString &stem);
// The group's stems in the order the table gives them.
QList<SoundString> stemGroupMembers(StemGroup group);
// The stem a group of pairs gives beside this one (yuvan: yuvati), empty where it has none.
SoundString stemGroupPartner(StemGroup group, const SoundString &stem);

} // namespace vantro
