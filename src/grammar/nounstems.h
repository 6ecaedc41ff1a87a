// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paradigm.h"

#include <QList>
#include <QString>

namespace vantro {

// A noun stem the grammar knows by name (data/nounstems.tsv): the declension takes its
// irregular paradigm from here and the guesser the stems it reads by their nominatives.
struct NamedNounStem
{
    QString stem;                   // preferred ITRANS
    QList<Gender> genders;          // m, f, n in that order
    bool sameInEveryGender = false; // one paradigm for all genders: guessed once, masculine
    QString declinedBy;             // an irregular paradigm's name, pronoun, numeral or stem
    bool guessedByName = false;
};

// The rows of the list in their order; the build has checked that each one reads.
const QList<NamedNounStem> &namedNounStems();

} // namespace vantro
