// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vantro {

class cDictDB;
class EnglishLemmas;

// The look-up of the English pane and of vantro-dict lookup, one rule for both: the word's own
// key (lower-cased, or as given when another tool stored capitals); else the first of its
// English lemmas that is stored (went: go, running: run); else the record search's shortening
// (ever shorter beginnings of the word, each searched as the Search button does), taking a key
// the search shows only when it lies inside the word and the lemma rules relate it to the word,
// never an unrelated beginning (weather never finds we). When found, the dictionary object
// holds the record and its cursor stands on it.
// A word found under its own key whose lemma has a record too (saw, and see) names that lemma,
// for the look-up to show beside it.
struct EnglishLookUp
{
    bool found = false;
    QString key;
    QString lemma;
    QString lemmaMeaning;
};
EnglishLookUp lookUpEnglish(cDictDB &db, const QString &word, const EnglishLemmas &lemmas);

} // namespace vantro
