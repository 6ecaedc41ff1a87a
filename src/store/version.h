// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vantro {

// The version of the database library the program runs with, as "major.minor.patch".
QString databaseLibraryVersion();

} // namespace vantro
