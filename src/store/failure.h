// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vantro {

// The store and the exchange report a failure one way: `bool f(..., QString *error)`, false with
// the reason in *error (when the caller asked for it), true with *error untouched. An answer with
// more than two outcomes (a lock that is had, busy or missing) is an enum instead of the bool, the
// reason of every outcome but success in *error all the same. A system call's error number travels
// as its text; the library's diagnostics print that text in their usual form.

// Gives the caller the reason, when it asked for one, and answers false.
inline bool failWith(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace vantro
