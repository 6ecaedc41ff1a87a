// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paradigm.h"

#include <QList>

namespace vantro {

// Declines a noun, adjective, pronoun or numeral stem given in ITRANS ("rAjan", "deva",
// "sarva", "tri") in one gender.
Inflection<NounParadigm> declineNoun(const QString &stem, Gender gender);

// A stem and gender that a citation form may come from, best first ("rAjA" -> rAjan m).
struct NounCandidate
{
    QString stem;
    Gender gender = Gender::Masculine;
};
QList<NounCandidate> guessNounStems(const QString &citationForm);

} // namespace vantro
