// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"
#include "console.h"
#include "progressbar.h"
#include "recordline.h"
#include "session.h"

#include "dictionaryimport.h"
#include "importlog.h"
#include "importsource.h"
#include "outputfile.h"
#include "snapshot.h"
#include "stardictwriter.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <cstdio>

namespace vantro::dict {
namespace {

constexpr qint64 kProgressWorthShowingFrom = 20000;
constexpr qsizetype kExportBlock = 1 << 16;

bool isStandardStream(const QString &name)
{
    return name.isEmpty() || name == QLatin1String("-");
}

bool writeAll(QIODevice &device, const QByteArray &bytes)
{
    return device.write(bytes) == bytes.size();
}

// Reads the import's options; an empty string, or why they cannot be used.
struct ImportOptions
{
    ImportFormat format = ImportFormat::Detect;
    RomanScheme scheme = RomanScheme::None;
    OnConflict policy = OnConflict::Keep;
    ArticleLayout layout = ArticleLayout::Detect;
    QString language;
    QString conflicts;

    QString read(const QCommandLineParser &parser)
    {
        const QString format = parser.value(QStringLiteral("format"));
        if (!format.isEmpty() && !importFormatFromName(format, this->format))
            return QStringLiteral("--format takes tsv, stardict or dictd");
        const QString scheme = parser.value(QStringLiteral("scheme"));
        if (!scheme.isEmpty() && !romanSchemeFromName(scheme, this->scheme))
            return QStringLiteral("--scheme takes iast, hk, slp1 or itrans");
        const QString policy = parser.value(QStringLiteral("on-conflict"));
        if (!policy.isEmpty() && !onConflictFromName(policy, this->policy))
            return QStringLiteral("--on-conflict takes keep, replace or append");
        const QString layout = parser.value(QStringLiteral("layout"));
        if (!layout.isEmpty() && !articleLayoutFromName(layout, this->layout))
            return QStringLiteral("--layout takes mw, apte, borooah or plain");
        language = parser.value(QStringLiteral("language"));
        static const QRegularExpression code(QStringLiteral("^[a-z]{2,3}$"));
        if (parser.isSet(QStringLiteral("language")) && !code.match(language).hasMatch())
            return QStringLiteral("--language takes a language code of two or three small "
                                  "letters (sa, hi, ...)");
        conflicts = parser.value(QStringLiteral("conflicts"));
        return {};
    }
};

int reportRefused(const QStringList &problems)
{
    for (qsizetype i = 0; i + 1 < problems.size(); ++i)
        reportError(problems.at(i));
    return failure(problems.last());
}

QString writeConflicts(QSaveFile &file, const QString &name, const QByteArray &records)
{
    if (!writeAll(file, records) || !file.commit())
        return QStringLiteral("writing %1 failed: %2").arg(name, file.errorString());
    return {};
}

// The output file a name stands for, opened (its temporary made) before any work, so that a
// name that cannot be written is refused while nothing is done yet.
QString openOutput(const QString &name, QSaveFile &file)
{
    QString target;
    if (QString why; !resolveOutputFile(name, &target, &why))
        return why;
    file.setFileName(target);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write %1: %2").arg(name, file.errorString());
    return {};
}

int runStarDictExport(const CommandContext &context)
{
    const QString target = context.args.value(0);
    if (isStandardStream(target) || !target.endsWith(QLatin1String(".ifo")))
        return usageError(QStringLiteral("a StarDict export is written to files: name the .ifo "
                                         "file (NAME.ifo)"));
    Session session(context.dbPath);
    if (!session.open(Session::Missing::Refuse, cDictDB::Access::ReadOnly))
        return Failure;
    const StarDictExport written = exportStarDict(session.db(), target);
    if (!written.why.isEmpty())
        return failure(written.why);
    StandardOutput out;
    if (written.skipped > 0)
        out.writeLine(QStringLiteral("left out %1 record(s) an entry cannot give back: %2%3")
                          .arg(written.skipped)
                          .arg(written.refusals.join(QStringLiteral("; ")),
                               written.skipped > written.refusals.size() ? QStringLiteral("; ...")
                                                                         : QString()));
    out.writeLine(QStringLiteral("exported %1 records to %2").arg(written.written).arg(target));
    return Success;
}

} // namespace

int runExport(const CommandContext &context)
{
    const QString format = context.parser.value(QStringLiteral("format"));
    if (format == QLatin1String("stardict"))
        return runStarDictExport(context);
    if (!format.isEmpty() && format != QLatin1String("tsv"))
        return usageError(QStringLiteral("--format takes tsv or stardict"));
    const QString target = context.args.value(0);
    QSaveFile file;
    QFile standardOutput;
    QIODevice *device = &file;
    if (isStandardStream(target)) {
        standardOutput.open(stdout, QIODevice::WriteOnly);
        device = &standardOutput;
    } else if (const QString why = openOutput(target, file); !why.isEmpty()) {
        return failure(why);
    }
    Session session(context.dbPath);
    if (!session.open(Session::Missing::Refuse, cDictDB::Access::ReadOnly))
        return Failure;

    // One walk, the stored bytes formatted as they come: no record is decoded into texts.
    cDictDB &db = session.db();
    QByteArray block;
    block.reserve(2 * kExportBlock);
    qint64 records = 0;
    bool good = true;
    QByteArrayView key;
    QByteArrayView data;
    QString readError;
    while (good && db.nextStored(key, data, &readError)) {
        appendRecordLine(block, key, data);
        ++records;
        if (block.size() >= kExportBlock) {
            good = writeAll(*device, block);
            block.resize(0);
        }
    }
    good = good && writeAll(*device, block);
    if (good && !readError.isEmpty()) {
        if (device == &file)
            file.cancelWriting();
        return failure(QStringLiteral("reading the dictionary failed after %1 records; "
                                      "the export is incomplete")
                           .arg(records));
    }
    if (device == &file)
        good =
            good && file.commit() && syncDirectoryOf(QFile::encodeName(file.fileName()), nullptr);
    else
        good = good && standardOutput.flush();
    if (!good)
        return failure(QStringLiteral("writing %1 failed: %2")
                           .arg(isStandardStream(target) ? QStringLiteral("the export") : target,
                                device->errorString()));
    if (device == &file)
        StandardOutput().writeLine(
            QStringLiteral("exported %1 records to %2").arg(records).arg(target));
    return Success;
}

int runImport(const CommandContext &context)
{
    ImportOptions options;
    if (const QString why = options.read(context.parser); !why.isEmpty())
        return usageError(why);
    const QString sourceName = context.args.value(0);
    if (options.format != ImportFormat::Tsv && options.format != ImportFormat::Detect &&
        isStandardStream(sourceName))
        return usageError(QStringLiteral("StarDict and dictd dictionaries are read from files: "
                                         "name the .ifo or .index file"));
    ImportSource source = openImportSource(sourceName, options.format, options.scheme,
                                           options.layout, options.language);
    if (!source.problems.isEmpty())
        return reportRefused(source.problems);
    // The records not taken go nowhere else: where they cannot be written, nothing is imported.
    QSaveFile conflicts;
    if (!options.conflicts.isEmpty()) {
        if (const QString why = openOutput(options.conflicts, conflicts); !why.isEmpty())
            return failure(why + QStringLiteral("; nothing was imported"));
    }

    Session session(context.dbPath);
    if (!session.open(Session::Missing::Create))
        return Failure;
    ProgressBar progress(source.records->size() + session.db().getStat(),
                         kProgressWorthShowingFrom);
    const ImportOutcome outcome = importIntoDictionary(
        session.db(), *source.records, options.policy,
        [&progress](qint64 done, qint64) {
            progress.advanceTo(done);
            return true;
        },
        source.shortName);
    progress.finish();
    if (outcome.status != ImportOutcome::Status::Imported)
        return failure(QStringLiteral("%1; nothing was imported, the dictionary is as it was")
                           .arg(outcome.why));
    if (const QString why = session.db().replacementNotFlushed(); !why.isEmpty()) {
        StandardOutput().writeLine(outcome.summary.line());
        return failure(QStringLiteral("the import is in place, but its folder could not be "
                                      "flushed to disk (%1): a crash now may undo it")
                           .arg(why));
    }
    if (!session.close())
        return Failure;
    if (QString why;
        !appendImportLog(context.dbPath, QFileInfo(sourceName).fileName(), source.shortName,
                         outcome.summary, &why) &&
        outcome.summary.added + outcome.summary.replaced + outcome.summary.appended > 0) {
        StandardOutput().writeLine(outcome.summary.line());
        return failure(QStringLiteral("the import is in place, but the log of imports could "
                                      "not be written (%1)")
                           .arg(why));
    }
    if (!options.conflicts.isEmpty()) {
        if (const QString why =
                writeConflicts(conflicts, options.conflicts, outcome.summary.notTaken);
            !why.isEmpty())
            return failure(why);
    }
    StandardOutput out;
    for (const QString &note : source.notes)
        out.writeLine(note);
    out.writeLine(outcome.summary.line());
    return Success;
}

} // namespace vantro::dict
