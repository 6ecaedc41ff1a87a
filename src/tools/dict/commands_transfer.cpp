#include "backup.h"
#include "commands.h"
#include "console.h"
#include "importbatch.h"
#include "progressbar.h"
#include "recordline.h"
#include "session.h"

#include <QFile>
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

// The whole input, from a file or the standard input; an empty string in why means success.
QByteArray readInput(const QString &name, QString &why)
{
    QFile file;
    const bool opened = isStandardStream(name)
                            ? file.open(stdin, QIODevice::ReadOnly)
                            : (file.setFileName(name), file.open(QIODevice::ReadOnly));
    if (!opened) {
        why = QStringLiteral("cannot read %1: %2").arg(name, file.errorString());
        return {};
    }
    QByteArray input = file.readAll();
    if (file.error() != QFileDevice::NoError)
        why = QStringLiteral("cannot read %1: %2").arg(name, file.errorString());
    return input;
}

struct ImportCounts
{
    qint64 added = 0;
    qint64 overwritten = 0;
    qint64 kept = 0;

    bool count(cDictDB::BulkPut outcome)
    {
        switch (outcome) {
        case cDictDB::BulkPut::Added:
            ++added;
            return true;
        case cDictDB::BulkPut::Overwritten:
            ++overwritten;
            return true;
        case cDictDB::BulkPut::Kept:
            ++kept;
            return true;
        case cDictDB::BulkPut::Failed:
            break;
        }
        return false;
    }
};

int reportBadLines(const ImportCheck &check)
{
    for (const ImportCheck::Problem &problem : check.problems)
        reportError(QStringLiteral("line %1: %2").arg(problem.number).arg(problem.reason));
    return failure(
        QStringLiteral("%1 bad line(s); nothing was imported").arg(check.problems.size()));
}

QString countsLine(const ImportCounts &counts, bool overwrite)
{
    return overwrite ? QStringLiteral("added %1, overwritten %2")
                           .arg(counts.added)
                           .arg(counts.overwritten)
                     : QStringLiteral("added %1, kept %2").arg(counts.added).arg(counts.kept);
}

bool writeAll(QIODevice &device, const QByteArray &bytes)
{
    return device.write(bytes) == bytes.size();
}

} // namespace

int runExport(const CommandContext &context)
{
    const QString target = context.args.value(0);
    Session session(context.dbPath);
    if (!session.open(Session::Missing::Refuse))
        return Failure;
    QSaveFile file(target);
    QFile standardOutput;
    QIODevice *device = &file;
    if (isStandardStream(target)) {
        standardOutput.open(stdout, QIODevice::WriteOnly);
        device = &standardOutput;
    } else if (!file.open(QIODevice::WriteOnly)) {
        return failure(QStringLiteral("cannot write %1: %2").arg(target, file.errorString()));
    }

    cDictDB &db = session.db();
    QByteArray block;
    qint64 records = 0;
    bool good = true;
    for (int ret = db.getCursorRec(cDictDB::First); ret == 0 && good;
         ret = db.getCursorRec(cDictDB::Next), ++records) {
        block.append(formatRecordLine(db.storedKey(), db.storedData()));
        if (block.size() >= kExportBlock) {
            good = writeAll(*device, block);
            block.clear();
        }
    }
    good = good && writeAll(*device, block);
    if (device == &file)
        good = good && file.commit();
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
    const QString source = context.args.value(0);
    const bool overwrite = !context.parser.isSet(QStringLiteral("no-overwrite"));
    QString why;
    const QByteArray input =
        readInput(isStandardStream(source) ? QStringLiteral("-") : source, why);
    if (!why.isEmpty())
        return failure(why);
    const ImportCheck check = checkImport(input);
    if (!check.problems.isEmpty())
        return reportBadLines(check);

    Session session(context.dbPath);
    if (!session.open(Session::Missing::Create))
        return Failure;
    if (session.existedBefore() && check.records > 0) {
        if (const QString failed = writeBackup(session.path()); !failed.isEmpty())
            return failure(QStringLiteral("cannot leave a copy in %1 (%2); nothing was imported")
                               .arg(backupPath(session.path()), failed));
    }

    cDictDB &db = session.db();
    db.setDeferredSync(true);
    ImportCounts counts;
    ProgressBar progress(check.records, kProgressWorthShowingFrom);
    ImportLines lines(input);
    QByteArray key;
    QByteArray data;
    for (qint64 done = 1; lines.next(); ++done) {
        parseRecordLine(lines.line(), key, data);
        if (!counts.count(db.putStoredRecord(key, data, overwrite))) {
            progress.finish();
            db.flush();
            return failure(
                QStringLiteral("import stopped at line %1: could not write \"%2\" (%3)%4")
                    .arg(lines.number())
                    .arg(QString::fromLatin1(key), countsLine(counts, overwrite),
                         session.existedBefore()
                             ? QStringLiteral("; the dictionary as it was is in %1")
                                   .arg(backupPath(session.path()))
                             : QString()));
        }
        progress.advanceTo(done);
    }
    progress.finish();
    if (db.flush() != 0 || !session.close())
        return failure(QStringLiteral("flushing %1 to disk failed").arg(session.path()));
    StandardOutput().writeLine(countsLine(counts, overwrite));
    return Success;
}

} // namespace vantro::dict
