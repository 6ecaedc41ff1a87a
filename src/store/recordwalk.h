// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dictdb.h"
#include "record.h"

#include <QList>

namespace vantro {

// Every record of an open dictionary, decoded, in key order: one walk of the file, as export
// makes it. Leaves the cursor on no record. False with the reason when the walk fails.
[[nodiscard]] bool readAllRecords(cDictDB &db, QList<Record> *records, QString *error);

} // namespace vantro
