// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "meaningtext.h"

#include <QList>
#include <QString>

namespace vantro {

// One entry of a foreign dictionary as its file gives it: a headword and its definition, or a
// second headword (a StarDict synonym) that leads to the entry of another.
struct SourceEntry
{
    QString headword;
    QString definition;
    DefinitionMarkup markup = DefinitionMarkup::Plain;
    // For a synonym: the headword it leads to, named in the record's synonyms.
    QString leadsTo;
};

// What a reader gives: the entries in file order, or the reason the files were refused.
struct SourceEntries
{
    QList<SourceEntry> entries;
    QString why;
    // The dictionary's name as its files give it (a StarDict bookname), which tells its layout.
    QString bookName;
};

} // namespace vantro
