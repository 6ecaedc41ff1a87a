// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"
#include "console.h"
#include "recovery.h"
#include "session.h"
#include "verify.h"
#include "wordcoverage.h"

#include <QFile>

#include <cstdio>

namespace vantro::dict {
namespace {

constexpr qsizetype kMessagesShown = 20;

int reportDamage(const QString &path, const QStringList &messages)
{
    for (qsizetype i = 0; i < messages.size() && i < kMessagesShown; ++i)
        std::fprintf(stderr, "  %s\n", messages.at(i).toUtf8().constData());
    if (messages.size() > kMessagesShown)
        std::fprintf(stderr, "  ... and %lld more\n", qlonglong(messages.size() - kMessagesShown));
    return failure(
        QStringLiteral("%1 is damaged: it failed the library's consistency check").arg(path));
}

bool readText(const QString &name, QString &text)
{
    QFile file;
    const bool opened =
        name == QLatin1String("-")
            ? file.open(stdin, QIODevice::ReadOnly | QIODevice::Text)
            : (file.setFileName(name), file.open(QIODevice::ReadOnly | QIODevice::Text));
    if (!opened)
        return false;
    text = QString::fromLocal8Bit(file.readAll());
    return file.error() == QFileDevice::NoError;
}

void writeGroup(StandardOutput &out, const QString &title, const QList<WordCoverage> &words)
{
    out.writeLine(QStringLiteral("%1: %2").arg(title).arg(words.size()));
    for (const WordCoverage &word : words) {
        out.writeLine(word.key.isEmpty() || word.key == word.word
                          ? QStringLiteral("  ") + word.word
                          : QStringLiteral("  %1 -> %2").arg(word.word, word.key));
    }
}

} // namespace

int runVerify(const CommandContext &context)
{
    const VerifyReport report = verifyDictionary(context.dbPath);
    switch (report.verdict) {
    case VerifyReport::Verdict::Consistent:
        StandardOutput().writeLine(QStringLiteral("%1: consistent").arg(context.dbPath));
        return Success;
    case VerifyReport::Verdict::Damaged:
        return reportDamage(context.dbPath, report.messages);
    case VerifyReport::Verdict::Busy:
        return failure(QStringLiteral("%1 is open in another program (the window or another "
                                      "vantro-dict); it was not checked")
                           .arg(context.dbPath));
    case VerifyReport::Verdict::Missing:
        return failure(QStringLiteral("%1: no such dictionary file").arg(context.dbPath));
    case VerifyReport::Verdict::NotADictionary:
        return failure(QStringLiteral("%1 is not a dictionary file (%2)")
                           .arg(context.dbPath, report.messages.value(0)));
    case VerifyReport::Verdict::Empty:
        StandardOutput().writeLine(
            QStringLiteral("%1: an empty new dictionary (no records yet)").arg(context.dbPath));
        return Success;
    case VerifyReport::Verdict::Failed:
        break;
    }
    return failure(QStringLiteral("%1 could not be checked: %2")
                       .arg(context.dbPath, report.messages.join(QStringLiteral("; "))));
}

// The open rebuilds a damaged file from its snapshot and journal, saying so in its own line;
// asked to, it checks a file that was closed cleanly too.
int runRepair(const CommandContext &context)
{
    Session session(context.dbPath);
    session.db().setCheckAtOpen(true);
    if (!session.open(Session::Missing::Refuse))
        return Failure;
    const bool rebuilt = session.db().wasRebuilt();
    if (!rebuilt && !fileVerifies(QFile::encodeName(session.path())))
        return failure(QStringLiteral("%1 is still damaged after the check; db5.3_dump -r "
                                      "salvages what it holds")
                           .arg(context.dbPath));
    if (!session.close())
        return Failure;
    StandardOutput().writeLine(
        rebuilt ? QStringLiteral("%1: repaired").arg(context.dbPath)
                : QStringLiteral("%1: sound, nothing to repair").arg(context.dbPath));
    return Success;
}

int runCoverage(const CommandContext &context)
{
    const QString &name = context.args.at(0);
    QString text;
    if (!readText(name, text))
        return failure(QStringLiteral("cannot read %1").arg(name));
    Session session(context.dbPath);
    if (!session.open(Session::Missing::Refuse, cDictDB::Access::ReadOnly))
        return Failure;

    QList<WordCoverage> groups[3];
    for (const QString &word : distinctWords(text)) {
        const WordCoverage coverage = coverageOf(session.db(), word);
        groups[int(coverage.group)].append(coverage);
    }
    StandardOutput out;
    if (context.parser.isSet(QStringLiteral("missing"))) {
        for (const WordCoverage &word : groups[int(WordCoverage::Group::Missing)])
            out.writeLine(word.word);
    } else {
        writeGroup(out, QStringLiteral("found as keys"), groups[int(WordCoverage::Group::Key)]);
        writeGroup(out, QStringLiteral("found through a related key"),
                   groups[int(WordCoverage::Group::RelatedKey)]);
        writeGroup(out, QStringLiteral("missing"), groups[int(WordCoverage::Group::Missing)]);
    }
    return out.flush() ? Success : failure(QStringLiteral("writing the report failed"));
}

} // namespace vantro::dict
