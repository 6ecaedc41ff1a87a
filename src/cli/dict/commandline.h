// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace vantro::dict {

// Reads the command line (program name first), runs the command it names and answers the exit
// status. --help and --version print and end the process themselves.
int runCommandLine(const QStringList &arguments);

} // namespace vantro::dict
