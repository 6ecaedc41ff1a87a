// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace vantro {

class cDictDB;

struct StarDictExport
{
    qint64 written = 0;
    // Records an entry cannot give back (a word longer than a StarDict headword may be, a NUL
    // or a line break in the meaning), left out; the first few named with the reason.
    qint64 skipped = 0;
    QStringList refusals;
    QString why;
    bool cancelled = false;
};

// Writes the whole dictionary as a StarDict dictionary: NAME.ifo, NAME.idx and NAME.dict.dz
// (dictzip, so that readers seek), each entry's text the meaning in ITRANS as stored, the same
// in Devanagari, and the synonyms, marked so that an import gives the records back. The text is
// compressed as it is read, chunk by chunk. Every file is written under a temporary name and
// renamed when it is complete and checked, the .ifo last. why is empty on success. progress is told
// how many records of how many are read and answers false to cancel: nothing is written then.
StarDictExport exportStarDict(cDictDB &db, const QString &ifoPath,
                              const std::function<bool(qint64 done, qint64 total)> &progress = {});

} // namespace vantro
