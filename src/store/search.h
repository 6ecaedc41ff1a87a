// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vantro {

class cDictDB;

// The record search behind the Search button: position the cursor at the first key at or after
// the text, accept that key when it contains the text (ignoring case), and otherwise drop the
// last character and try again, never going below three characters (or the text's own length
// when it is shorter). A text with capitals that is stored as typed, while its lower-cased form
// is not, is that record. True when a record was accepted; the dictionary object then holds it and
// its cursor stands on it.
bool searchAtOrAfter(cDictDB &db, const QString &text);

// Positions the cursor on the first record after the word (forward) or the last one before it,
// and reads it; false when there is none. After a search for the word found nothing, Next and
// Prev go on from where the word would stand.
bool stepFromWord(cDictDB &db, const QString &word, bool forward);

// The run of letters (QChar::isLetter) that contains the character at position, or an empty
// string when position is at or past the end or that character is not a letter.
QString wordAt(const QString &text, int position);

// The word the English pane's look-up takes at a cursor: the word under it, or, when the
// character after the cursor is not a letter but the one before it is, the word that ends there
// (a cursor on the "." after "books" means "books").
QString wordAtOrBefore(const QString &text, int position);

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
