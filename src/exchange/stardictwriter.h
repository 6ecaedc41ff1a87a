// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

namespace vantro {

class cDictDB;

struct StarDictExport
{
    qint64 written = 0;
    // Keys longer than a StarDict headword may be (255 bytes), left out.
    qint64 skipped = 0;
    QString why;
    bool cancelled = false;
};

// Writes the whole dictionary as a StarDict dictionary: NAME.ifo, NAME.idx and NAME.dict.dz
// (dictzip, so that readers seek), each entry's text the meaning in ITRANS, the same in
// Devanagari, and the synonyms. Every file is written under a temporary name and renamed when
// all are complete, the .ifo last. why is empty on success. progress is told how many records
// of how many are read and answers false to cancel: nothing is written then.
StarDictExport exportStarDict(cDictDB &db, const QString &ifoPath,
                              const std::function<bool(qint64 done, qint64 total)> &progress = {});

} // namespace vantro
