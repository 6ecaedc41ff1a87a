// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vantro {

// The store reports a failure one way: `bool f(..., QString *error)`, false with the reason in
// *error (when the caller asked for it), true with *error untouched.

// Gives the caller the reason, when it asked for one, and answers false.
inline bool failWith(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace vantro
