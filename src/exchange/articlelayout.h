// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "romanizedsanskrit.h"
#include "sourceentry.h"

#include <QString>

namespace vantro {

// How the articles of a dictionary are written: one of the classic English-Sanskrit
// dictionaries, read article by article, or any other, whose definitions are read as text.
enum class ArticleLayout { Detect, Plain, MonierWilliams, Apte, Borooah };

// Reads a layout's command-line name (mw, apte, borooah, plain); false for any other.
bool articleLayoutFromName(const QString &name, ArticleLayout &layout);
QString articleLayoutName(ArticleLayout layout);

// The layout a dictionary's name tells (the bookname of a StarDict .ifo): Plain for any
// dictionary not known.
ArticleLayout articleLayoutOfBook(const QString &bookName);

// What reading the articles counted, for the summary.
struct ArticleCounts
{
    qint64 articles = 0;
    // Derived words and sub-entries that became records of their own.
    qint64 subEntries = 0;
    // Characters of the meanings that had no Latin-1 form and were written as "?".
    qint64 unplainCharacters = 0;
};

} // namespace vantro
