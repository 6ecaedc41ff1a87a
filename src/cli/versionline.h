// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exitstatus.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vantro {

// Prints "NAME VERSION" as QCommandLineParser::showVersion() does and exits 0; a line that did
// not reach the standard output (a full disk, a closed pipe) is said and exits 1, as every other
// output of the programs that failed.
[[noreturn]] inline void showVersionAndExit()
{
    const QByteArray name = QCoreApplication::applicationName().toLocal8Bit();
    const QByteArray line =
        name + ' ' + QCoreApplication::applicationVersion().toLocal8Bit() + '\n';
    const bool written =
        std::fwrite(line.constData(), 1, size_t(line.size()), stdout) == size_t(line.size()) &&
        std::fflush(stdout) == 0;
    if (!written)
        std::fprintf(stderr, "%s: writing the version failed: %s\n", name.constData(),
                     std::strerror(errno));
    std::exit(written ? Success : Failure);
}

} // namespace vantro
