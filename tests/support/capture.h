// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace vantro::test {

// What a piece of code wrote to the process's standard output and error streams. The store
// writes its diagnostics with stdio and the library writes through its own error routine, so
// both are captured at the file-descriptor level.
struct Captured
{
    QByteArray out;
    QByteArray err;
};

Captured captureOutput(const std::function<void()> &work);

// A program run to its end as a user would run it: its exit status (-1 when it did not start,
// crashed or ran over a minute) and what it wrote on standard output and error.
struct ProgramRun : Captured
{
    int status = -1;
};

ProgramRun runProgram(const QString &program, const QStringList &arguments,
                      const QByteArray &input = {}, const QString &workingDirectory = {});

} // namespace vantro::test
