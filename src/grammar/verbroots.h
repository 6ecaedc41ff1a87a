// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conjugation.h"
#include "soundstring.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vantro {

// One root in one present class, as the table of roots gives it. Stems and the irregular
// future and passive are kept in sounds; the root in ITRANS as well.
struct VerbRoot
{
    QString root;
    SoundString rootSounds;
    int verbClass = 1;
    bool parasmaipada = true;
    bool atmanepada = false;
    // The thematic stem ("bhava"), or for the other classes the strong stem, the weak stem
    // before consonants and, where the rules would not find them, the weak stem before
    // vowels and the strong stem before vowels.
    SoundString strongStem;
    SoundString weakStem;
    SoundString weakStemBeforeVowel;
    SoundString strongStemBeforeVowel;
    // Whether the simple future puts i before its sy, and either way first.
    QList<bool> futureTakesI;
    SoundString futureStem;           // irregular futures, without the endings ("drakShy")
    SoundStrings futureAlternatives;  // further future stems the grammar allows ("ghokShy")
    bool futureParasmaipada = false;  // active future of a middle present (mR^i: mariShyati)
    SoundString passiveStem;          // irregular passives, without the endings ("kriy")
    SoundStrings passiveAlternatives; // further passive stems the grammar allows ("jany")

    bool isThematic() const
    {
        return verbClass == 1 || verbClass == 4 || verbClass == 6 || verbClass == 10;
    }
    bool takes(Pada pada) const { return pada == Pada::Parasmaipada ? parasmaipada : atmanepada; }
};

// A verb table's cells in sounds, as the rules make them before they are written in ITRANS.
struct SoundParadigm
{
    std::array<SoundStrings, kPersonCount * kNumberCount> cells;
};

// Every root of the table, in its order.
const QList<VerbRoot> &verbRootTable();
// The lines of the table that do not read as a root: none in a sound build.
QStringList verbRootLinesNotRead();

// The classes and padas the table knows for a root written in ITRANS ("bhU"); empty when
// the root is not in the table.
QList<VerbRoot> findVerbRoot(const QString &root);

} // namespace vantro
