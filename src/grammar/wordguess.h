// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conjugation.h"
#include "declension.h"

#include <QList>
#include <QString>

namespace vantro {

// One reading of a dictionary word: a noun stem with its gender, or a verb root with its class
// and pada.
struct WordGuess
{
    enum class Kind { Noun, Verb };
    Kind kind = Kind::Noun;
    NounCandidate noun;
    VerbCandidate verb;
};

// The noun and the verb readings of a citation form together, best first: the verb readings
// lead when the word ends as a third person singular present does (-ti, -te), the noun
// readings otherwise.
QList<WordGuess> guessWord(const QString &citationForm);

} // namespace vantro
