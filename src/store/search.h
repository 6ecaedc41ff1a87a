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

} // namespace vantro
