// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace vantro::verbs {

// A root written with its prefixes, each before a hyphen ("A-gam", "prati-A-gam"), split
// into the prefixes in sounds and the bare root in ITRANS; false with a reason when a prefix
// is not one the grammar joins to verbs.
bool splitPrefixes(const QString &itrans, QStringList *prefixes, QString *root, QString *error);

// A finished form of the bare root with the prefixes put before it, joined as the grammar
// joins them: vowels meet (pra + agacCat -> prAgacCat), ud, nis, dus and sam take the sound
// the next letter asks for, n turns to R after the r of pra, pari, nis, dus, and the s of
// sad, svap, sev, sic and the like to z after a prefix in i or u (ni + sIdati -> nizIdati).
QString withPrefixes(const QStringList &prefixes, const QString &rootSounds, const QString &form);

// The prefixes and the pairs of them the guesser tries on a form it does not know, in ITRANS
// with the hyphen after each.
const QStringList &commonPrefixChains();

} // namespace vantro::verbs
