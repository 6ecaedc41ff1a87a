// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vantro {

// How this program's own StarDict export marks its entries, so that importing it gives the
// records back as they were stored: the .ifo names the layout, the first line of an entry is
// the meaning as stored, and the lines after it say what they are.
inline const QString kRecordsIfoKey = QStringLiteral("vantrorecords");
inline const QString kDevanagariMark = QStringLiteral("devanagari: ");
inline const QString kSynonymsMark = QStringLiteral("synonyms: ");

} // namespace vantro
