// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace vantro::dict {

// What a command is given: the dictionary's path, its own arguments (the command name
// removed) and the parser that read its options.
struct CommandContext
{
    QString dbPath;
    QStringList args;
    const QCommandLineParser &parser;
};

// Each answers the process's exit status.
int runCount(const CommandContext &context);
int runGet(const CommandContext &context);
int runLookup(const CommandContext &context);
int runList(const CommandContext &context);
int runPut(const CommandContext &context);
int runDel(const CommandContext &context);
int runReverse(const CommandContext &context);
int runExport(const CommandContext &context);
int runImport(const CommandContext &context);
int runVerify(const CommandContext &context);
int runRepair(const CommandContext &context);
int runCoverage(const CommandContext &context);
int runHistory(const CommandContext &context);

} // namespace vantro::dict
