// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "romanizedsanskrit.h"

#include <QString>
#include <QStringView>

namespace vantro {

// How a definition in a foreign dictionary is written; Meaning for one already read into a
// dictionary meaning (an article of a known layout).
enum class DefinitionMarkup { Plain, Html, Xdxf, Meaning };

// The text of a definition without its markup: tags removed (and what a script, a style or an
// XDXF key holds), entities decoded, and a line break where <br>, a paragraph, a list item or a
// table row ended a line. A rule (<hr>), which converters put between the definitions they
// merged under one headword, becomes kDefinitionBreak.
QString plainDefinition(QStringView definition, DefinitionMarkup markup);
inline constexpr QChar kDefinitionBreak = u'\f';
// True for plain text that holds HTML line breaks, as converters write definitions that
// they call plain.
bool holdsHtmlBreaks(QStringView text);

// The plain text without a first line that only repeats the headword (with its pronunciation
// and parts of speech), as dictd and the converters from it write one before each definition.
QString withoutHeadwordLine(const QString &plain, const QString &headword);
// The headword as that first line writes it when its letters are those of the indexed one
// (dictd indexes "absent-minded" as "absentminded"), otherwise the indexed one.
QString writtenHeadword(const QString &plain, const QString &indexed);

// True for the entries a dictd database keeps about itself ("00-database-info" and the like),
// which converters carry along as headwords.
bool isDatabaseEntry(const QString &headword);

// A definition as a dictionary meaning: its lines, trimmed, joined by "; "; every Devanagari run
// read into ITRANS; romanized Sanskrit in ITRANS when the scheme is named, other Latin text
// fenced as English ("##...##"). A danda becomes ".", a double danda "..", any other "|" (the
// byte that starts the synonyms) "/". Characters a dictionary cannot hold (beyond Latin-1)
// become their nearest Latin-1 form or "?"; lossy then tells so.
// unplain, when given, counts the characters that became "?".
QString meaningFromDefinition(QStringView plain, RomanScheme scheme, bool *lossy = nullptr,
                              qsizetype *unplain = nullptr);

// A meaning in the characters a dictionary can hold: beyond Latin-1, the nearest Latin-1 form,
// or "?" for a character that has none (a marker such as a circled letter is never turned into
// the letter it encloses); unplain counts the "?" written.
QString latin1Meaning(const QString &meaning, qsizetype *unplain);

// The language a dictionary's meanings are in, as its name tells it: the second of the pair of
// languages in its bookname or file name ("(en-sa)", "freedict-eng-hin"), as a two-letter code;
// empty when the name tells none.
QString languageOfDictionary(const QString &bookName, const QString &fileName);

// A meaning in a language other than Sanskrit, fenced whole and named ("##[hi] sunaharA##"), so
// that the preview, Insert Meaning, Word Forms and the analyser leave it alone; its own fences
// are taken out, since a fence cannot hold another.
QString foreignMeaning(const QString &meaning, const QString &language);

} // namespace vantro
