// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vantro {

// Words of ITRANS text as a translator sees them: mR^igaH, sa~NgaH and so.aham are one word
// each, although ^ ~ and . are no letters. A word runs up to a blank, a comma, a semicolon or
// a danda (|), or the end of the line.
bool isItransWordCharacter(QChar c);

// Where a word lies in a text: characters [start, end).
struct WordSpan
{
    int start = 0;
    int end = 0;
    bool isEmpty() const { return end <= start; }
};

// The word that holds the character at position or, when that is no word character, the word
// that ends just before it; empty when neither is.
WordSpan itransWordAt(const QString &text, int position);

// Where Ctrl+Right goes: past the rest of the word and the separators after it, to the start of
// the next word or the end of the text.
int nextItransWordStart(const QString &text, int position);

// Where Ctrl+Left goes: back over separators, then to the start of the word before.
int previousItransWordStart(const QString &text, int position);

// The first Sanskrit word of a record's meaning: the first word outside its "##" fences (the
// English or other language the meaning holds) that is no bracketed tag ("(m.)", "(1 P)").
QString firstItransWord(const QString &text);
WordSpan firstItransWordSpan(const QString &text);

// Whether position lies between the "##" that open and close a fence (an unclosed one runs to
// the end), on the fence markers included.
bool insideFence(const QString &text, int position);

} // namespace vantro
