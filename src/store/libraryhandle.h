// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <db.h>

#include <QtGlobal>

namespace vantro {

// The library's handle as the files of cDictDB use it, and how its failures are said.

// A handle whose own reports are kept off the streams: each failure is said once, through
// libraryReport.
int createHandle(DB **dbp);
void libraryReport(DB *dbp, int code, const char *what);
// A reason of the system's printed as the library prints its own error numbers.
void libraryReport(DB *dbp, const QString &reason, const char *what);
// Whether the library's answer means pages it cannot trust.
bool isDamage(int code);

// The block of a bulk read: large enough that the calls into the library do not count, small
// enough to stay in the processor's caches.
constexpr qsizetype kBulkBytes = 1 << 20;

} // namespace vantro
