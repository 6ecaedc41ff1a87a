// SPDX-License-Identifier: GPL-3.0-or-later
#include "wordguess.h"

namespace vantro {

namespace {

// The dictionary writes nouns with the nominative's M or H and verbs in the third person
// singular, so a final -ti or -te is a verb far more often than a bare noun stem.
bool looksLikeVerb(const QString &word)
{
    return word.endsWith(QLatin1String("ti")) || word.endsWith(QLatin1String("te"));
}

} // namespace

QList<WordGuess> guessWord(const QString &citationForm)
{
    QList<WordGuess> nouns;
    for (const NounCandidate &candidate : guessNounStems(citationForm))
        nouns.append({WordGuess::Kind::Noun, candidate, {}});
    QList<WordGuess> verbs;
    for (const VerbCandidate &candidate : guessVerbRoots(citationForm))
        verbs.append({WordGuess::Kind::Verb, {}, candidate});
    return looksLikeVerb(citationForm) ? verbs + nouns : nouns + verbs;
}

} // namespace vantro
