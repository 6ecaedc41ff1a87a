// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QStringList>

namespace vantro {

// The rows of a data file compiled into the program, each split at its tabs, comments and
// empty lines left out. The build has already checked every row's shape.
QList<QStringList> tableRows(const char *text);

} // namespace vantro
