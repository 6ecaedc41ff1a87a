// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "verbroots.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vantro::verbs {

// The formations of the aorist the grammars teach.
// LongIS is the iS-aorist with a long I (agrahIt, agrahIShTAm).
enum class AoristKind { Root, A, Sa, S, IS, LongIS, SiS, Reduplicated };

// One aorist stem, in sounds, without the augment. The thematic formations (a, sa and the
// reduplicated) give the stem before their a ("gam", "dikSh", "chIkar"); the s-, iS- and
// siS-aorists the root as it stands before the s or the i ("kAr", "bodh", "yA"); the root
// aorist the root as it takes the endings ("bhU", "dA").
struct AoristStem
{
    AoristStem(AoristKind kind, const SoundString &stem) : kind(kind), stem(stem) {}
    AoristKind kind;
    SoundString stem;
    bool jSoundsAsSh = false; // yaj, sR^ij: ayAShTAm
    // The s-aorist's stem where a t, th or dh of the ending meets it, that sound included, for
    // the roots the plain rules do not join ("voDh" of avoDhAm, avoDha); empty elsewhere.
    SoundString beforeDental;
};

// The aorist stems of the root in the pada, the usual first, from the table of exceptions
// where it speaks and by the rules of the grammars where the root is regular; empty where
// neither reaches the root. A root of the tenth class and a causative (a root of class 10
// whose stem is the causative's) make the reduplicated aorist.
QList<AoristStem> aoristStems(const VerbRoot &root, Pada pada);

// The stems the passive aorist makes its cells on, save the third singular: the middle's,
// without the reduplicated aorist, which is active only (a causative and the tenth class
// take the iS-aorist on their stem in -ay: achorayiShAtAm).
QList<AoristStem> passiveAoristStems(const VerbRoot &root);

// The passive aorist's third singular in -i ("akAri", "adAyi"), in sounds, augment included.
SoundStrings passiveAoristThirdSingulars(const VerbRoot &root);

} // namespace vantro::verbs
