// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outcome.h"
#include "soundstring.h"

#include <QString>
#include <QStringList>

namespace vantro::verbs {

// A root written with its prefixes, each before a hyphen ("A-gam", "prati-A-gam"): the
// prefixes in sounds and the bare root in ITRANS.
struct PrefixedRoot
{
    SoundStrings prefixes;
    QString root;
};

// The root split at its hyphens, or the reason when a prefix is not one the grammar joins to
// verbs.
Outcome<PrefixedRoot> splitPrefixes(const QString &itrans);

// A finished form of the bare root with the prefixes put before it, joined as the grammar
// joins them: vowels meet (pra + agachChat -> prAgachChat), ud, nis, dus and sam take the sound
// the next letter asks for, n turns to N after the r of pra, pari, nis, dus, and the s of
// sad, svap, sev, sich and the like to Sh after a prefix in i or u (ni + sIdati -> niShIdati).
SoundString withPrefixes(const SoundStrings &prefixes, const SoundString &rootSounds,
                         const SoundString &form);

// The prefixes and the pairs of them the guesser tries on a form it does not know, in ITRANS
// with the hyphen after each.
const QStringList &commonPrefixChains();

} // namespace vantro::verbs
