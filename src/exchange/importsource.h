// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "articlelayout.h"
#include "recordstream.h"
#include "romanizedsanskrit.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace vantro {

enum class ImportFormat { Detect, Tsv, StarDict, Dictd };
bool importFormatFromName(const QString &name, ImportFormat &format);

// The format a file's name says: StarDict for any of its files (.ifo, .idx, .dict.dz...), dictd
// for .index (or a .dict.dz with a .index beside it), otherwise the exchange format (TSV).
ImportFormat detectImportFormat(const QString &path);
// A dictionary's path without the ending of the file named.
QString dictionaryBaseName(const QString &path);

// A file to import, read and checked whole before anything is written.
struct ImportSource
{
    std::unique_ptr<RecordStream> records;
    // Why nothing can be imported; the lines of a refused TSV input come one a line.
    QStringList problems;
    // What the reading passed over, one sentence each, for the summary.
    QStringList notes;
    // The dictionary's short name ("mw", or its file's name), which marks the senses an
    // append adds; empty for the exchange format, the translator's own records.
    QString shortName;
};

// A StarDict or dictd dictionary of one of the classic English-Sanskrit layouts is read article
// by article: the layout named, or (Detect) the one its bookname tells.
// language: the language of its meanings ("sa", "hi"), or empty for the one its name tells
// (Sanskrit when it tells none); meanings in any language but Sanskrit are stored fenced and
// named ("##[hi] ...##").
ImportSource openImportSource(const QString &path, ImportFormat format, RomanScheme scheme,
                              ArticleLayout layout = ArticleLayout::Detect,
                              const QString &language = {});

// What a dictionary's files say of it before it is read: the layout and the language of its
// meanings its name tells (a StarDict bookname, or the file's name), which an import takes when
// none is named; Plain and "sa" for a dictionary whose name tells neither.
struct DictionaryNaming
{
    ArticleLayout layout = ArticleLayout::Plain;
    QString language;
};
DictionaryNaming namingOfDictionary(const QString &path);

} // namespace vantro
