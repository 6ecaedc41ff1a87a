// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include "commands.h"
#include "console.h"
#include "session.h"
#include "versionline.h"

#include <QCommandLineParser>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace vantro::dict {
namespace {

struct CommandSpec
{
    const char *name;
    const char *arguments;
    const char *summary;
    int minArgs;
    int maxArgs;
    int (*run)(const CommandContext &);
};

constexpr CommandSpec kCommands[] = {
    {"count", "", "print the number of records", 0, 0, runCount},
    {"get", "WORD", "print the record stored under WORD (lower-cased)", 1, 1, runGet},
    {"lookup", "WORD",
     "look up as the English pane does: the word, its lemma (went: go), or a shorter related key",
     1, 1, runLookup},
    {"list", "", "print records in key order", 0, 0, runList},
    {"put", "WORD MEANING [SYNONYMS]", "add a record, or overwrite the one stored under WORD", 2, 3,
     runPut},
    {"del", "WORD", "delete the record stored under WORD (lower-cased)", 1, 1, runDel},
    {"export", "[FILE|-]",
     "write every record in the exchange format (default: stdout) or as StarDict", 0, 1, runExport},
    {"import", "[FILE|-]",
     "add records from the exchange format (default: stdin), StarDict (.ifo) or dictd (.index)", 0,
     1, runImport},
    {"verify", "", "check the file with the database library's consistency check", 0, 0, runVerify},
    {"repair", "", "check the file and rebuild it from its snapshot and journal if damaged", 0, 0,
     runRepair},
    {"history", "", "list the changes recorded since the snapshot DB.bak", 0, 0, runHistory},
    {"coverage", "FILE",
     "group the words of an English text: found, found via a related key (its lemma), missing", 1,
     1, runCoverage},
    {"reverse", "TEXT", "print every record whose meaning or synonyms contain TEXT", 1, 1,
     runReverse},
};

const CommandSpec *findCommand(const QString &name)
{
    for (const CommandSpec &command : kCommands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

QCommandLineOption hidden(QCommandLineOption option)
{
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

QList<QCommandLineOption> importOptions()
{
    return {{QStringLiteral("format"),
             QStringLiteral("tsv, stardict or dictd (default: from the file's name: .ifo is "
                            "StarDict, .index dictd)."),
             QStringLiteral("FORMAT")},
            {QStringLiteral("on-conflict"),
             QStringLiteral("For a word already stored: keep (default) the stored record, "
                            "replace it (what import always did before), or append the "
                            "imported meaning to it."),
             QStringLiteral("POLICY")},
            {QStringLiteral("conflicts"),
             QStringLiteral("Write the imported records that were not taken to FILE (TSV)."),
             QStringLiteral("FILE")},
            {QStringLiteral("scheme"),
             QStringLiteral("The meanings' Latin text is romanized Sanskrit in iast, hk, slp1 "
                            "or itrans (default: it is English, fenced as ##...##)."),
             QStringLiteral("SCHEME")},
            {QStringLiteral("layout"),
             QStringLiteral("Read the articles as mw (Monier-Williams), apte or borooah write "
                            "them, or as plain text (default: from the StarDict bookname)."),
             QStringLiteral("LAYOUT")},
            {QStringLiteral("language"),
             QStringLiteral("The language of the meanings: sa (Sanskrit), hi, ... (default: the "
                            "one the dictionary's name tells, else sa). Meanings in any other "
                            "language than Sanskrit are stored fenced as ##[hi] ...##."),
             QStringLiteral("CODE")},
            hidden(QCommandLineOption(QStringLiteral("no-overwrite"),
                                      QStringLiteral("The same as --on-conflict keep")))};
}

QList<QCommandLineOption> optionsOf(const CommandSpec &command)
{
    const QLatin1String name(command.name);
    if (name == QLatin1String("lookup"))
        return {hidden(QCommandLineOption(QStringLiteral("loose"),
                                          QStringLiteral("The same look-up (kept for scripts)")))};
    if (name == QLatin1String("list"))
        return {{QStringLiteral("from"), QStringLiteral("Start at the first key at or after WORD."),
                 QStringLiteral("WORD")},
                {QStringLiteral("limit"), QStringLiteral("Print at most N records."),
                 QStringLiteral("N")}};
    if (name == QLatin1String("import"))
        return importOptions();
    if (name == QLatin1String("export"))
        return {{QStringLiteral("format"),
                 QStringLiteral("tsv (default), or stardict to write NAME.ifo, NAME.idx and "
                                "NAME.dict.dz."),
                 QStringLiteral("FORMAT")}};
    if (name == QLatin1String("coverage"))
        return {{QStringLiteral("missing"),
                 QStringLiteral("Print only the missing words, one a line.")}};
    if (name == QLatin1String("reverse"))
        return {{{QStringLiteral("i"), QStringLiteral("ignore-case")},
                 QStringLiteral("Ignore letter case when comparing.")}};
    return {};
}

QString optionSyntax(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names.append((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
    const QString value = option.valueName();
    return names.join(QStringLiteral(", ")) + (value.isEmpty() ? QString() : u' ' + value);
}

QString description()
{
    QString text =
        QStringLiteral("Keeps the VANTRO dictionary from the command line.\n\nCommands:\n");
    for (const CommandSpec &command : kCommands) {
        const QString syntax = QStringLiteral("%1 %2").arg(QLatin1String(command.name),
                                                           QLatin1String(command.arguments));
        text += QStringLiteral("  %1  %2\n")
                    .arg(syntax.leftJustified(28), QLatin1String(command.summary));
        for (const QCommandLineOption &option : optionsOf(command))
            if (!(option.flags() & QCommandLineOption::HiddenFromHelp))
                text += QStringLiteral("      %1  %2\n")
                            .arg(optionSyntax(option).leftJustified(24), option.description());
    }
    text += QStringLiteral("\nRun 'vantro-dict COMMAND --help' for the options of a command.\n"
                           "Exit status: 0 success, 1 the operation failed, 2 bad usage.");
    return text;
}

QString argumentsExpected(const CommandSpec &command)
{
    if (command.maxArgs == 0)
        return QStringLiteral("no arguments");
    if (command.minArgs == command.maxArgs)
        return command.minArgs == 1 ? QStringLiteral("1 argument")
                                    : QStringLiteral("%1 arguments").arg(command.minArgs);
    return QStringLiteral("%1 to %2 arguments").arg(command.minArgs).arg(command.maxArgs);
}

int checkArgumentCount(const CommandSpec &command, const QStringList &args)
{
    if (args.size() >= command.minArgs && args.size() <= command.maxArgs)
        return Success;
    return usageError(QStringLiteral("%1 takes %2; usage: vantro-dict %1 %3")
                          .arg(QLatin1String(command.name), argumentsExpected(command),
                               QLatin1String(command.arguments))
                          .trimmed());
}

// The parser's help names the program by the path it was started with; the usage line a user
// copies should name the program.
int showHelp(const QCommandLineParser &parser, const QString &startedAs)
{
    QString help = parser.helpText();
    const QString usage = QStringLiteral("Usage: ");
    if (help.startsWith(usage + startedAs))
        help.replace(usage.size(), startedAs.size(), QStringLiteral("vantro-dict"));
    StandardOutput out;
    out.write(help.toUtf8());
    return out.flush() ? Success : Failure;
}

} // namespace

int runCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption dbOption(
        QStringLiteral("db"),
        QStringLiteral("The dictionary file (default: morvak.db in the current directory)."),
        QStringLiteral("FILE"), QStringLiteral("morvak.db"));
    parser.addOption(dbOption);
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("What to do."),
                                 QStringLiteral("COMMAND [ARGUMENTS]"));

    // A first reading finds the command; its own options are known only after that, so the
    // errors of this reading are not judged.
    parser.parse(arguments);
    const QStringList first = parser.positionalArguments();
    const CommandSpec *command = first.isEmpty() ? nullptr : findCommand(first.first());
    if (command) {
        parser.clearPositionalArguments();
        parser.addPositionalArgument(
            QLatin1String(command->name), QLatin1String(command->summary),
            QStringLiteral("%1 %2").arg(QLatin1String(command->name),
                                        QLatin1String(command->arguments)));
        parser.addOptions(optionsOf(*command));
        parser.setApplicationDescription(
            QStringLiteral("vantro-dict %1: %2.")
                .arg(QLatin1String(command->name), QLatin1String(command->summary)));
    }
    const bool understood = parser.parse(arguments);
    if (parser.isSet(helpOption))
        return showHelp(parser, arguments.value(0));
    if (parser.isSet(versionOption))
        showVersionAndExit();
    if (!understood)
        return usageError(parser.errorText());
    if (first.isEmpty())
        return usageError(QStringLiteral("no command given"));
    if (!command)
        return usageError(QStringLiteral("unknown command '%1'").arg(first.first()));

    const QStringList args = parser.positionalArguments().mid(1);
    if (const int status = checkArgumentCount(*command, args); status != Success)
        return status;
    const int status = command->run({parser.value(dbOption), args, parser});
    // Damage met on the way was said by the store; the command's result cannot stand.
    if (status == Success && Session::damageSeen())
        return Failure;
    // Output that did not reach its file (a full disk, a closed pipe) is no success either.
    if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && status == Success)
        return failure(QStringLiteral("writing the output failed: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(errno))));
    return status;
}

} // namespace vantro::dict
