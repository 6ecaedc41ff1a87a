// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "meaningtext.h"

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
    // A sub-entry whose Sanskrit stays among the senses of the article it was printed under: it
    // becomes a record only where the dictionary imported into has none under its word.
    bool givesWayToStored = false;
};

// Takes the entries a reader finds, one at a time in file order, so that no reader holds a
// whole dictionary's definitions.
class EntrySink
{
public:
    virtual ~EntrySink() = default;
    virtual void add(const SourceEntry &entry) = 0;
    // The entries are this program's own StarDict export: the first line of each is a meaning
    // as stored, and marked lines follow.
    virtual void setStoredRecords(bool stored) = 0;
    // The dictionary's name as its files give it (a StarDict bookname), which tells its layout
    // and language; given before the first entry, by the readers whose files name it.
    virtual void setBookName(const QString &bookName) { Q_UNUSED(bookName); }
};

} // namespace vantro
