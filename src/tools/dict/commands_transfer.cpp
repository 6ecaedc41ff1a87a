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

QString snapshotPath(const QString &path)
{
    return path + QStringLiteral(".bak");
}

constexpr qint64 kProgressWorthShowingFrom = 20000;
constexpr qsizetype kExportBlock = 1 << 16;

bool isStandardStream(const QString &name)
{
    return name.isEmpty() || name == QLatin1String("-");
}

// The whole input, from a file or the standard input; an empty string in why means success.
// A file is mapped rather than copied: a large import reads it twice.
class ImportInput
{
public:
    explicit ImportInput(const QString &name) : m_name(name) {}
    QString load();
    const QByteArray &bytes() const { return m_bytes; }

private:
    QString m_name;
    QFile m_file;
    QByteArray m_bytes;
};

QString ImportInput::load()
{
    const bool opened = isStandardStream(m_name)
                            ? m_file.open(stdin, QIODevice::ReadOnly)
                            : (m_file.setFileName(m_name), m_file.open(QIODevice::ReadOnly));
    if (!opened)
        return QStringLiteral("cannot read %1: %2").arg(m_name, m_file.errorString());
    const qint64 size = m_file.isSequential() ? 0 : m_file.size();
    if (uchar *mapped = size > 0 ? m_file.map(0, size) : nullptr)
        m_bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), size);
    else
        m_bytes = m_file.readAll();
    if (m_file.error() != QFileDevice::NoError)
        return QStringLiteral("cannot read %1: %2").arg(m_name, m_file.errorString());
    return {};
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
    // A cursor read that fails looks like the end of the dictionary; the key count tells them
    // apart, and a file export is then not put in place at all.
    const int keys = db.getStat();
    if (good && records != keys) {
        if (device == &file)
            file.cancelWriting();
        return failure(QStringLiteral("reading the dictionary failed after %1 of %2 records; "
                                      "the export is incomplete")
                           .arg(records)
                           .arg(keys));
    }
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
    const QString sourceName = context.args.value(0);
    const bool overwrite = !context.parser.isSet(QStringLiteral("no-overwrite"));
    ImportInput source(isStandardStream(sourceName) ? QStringLiteral("-") : sourceName);
    if (const QString why = source.load(); !why.isEmpty())
        return failure(why);
    const QByteArray &input = source.bytes();
    const ImportCheck check = checkImport(input);
    if (!check.problems.isEmpty())
        return reportBadLines(check);

    Session session(context.dbPath);
    if (!session.open(Session::Missing::Create))
        return Failure;
    // The copy left beside an existing dictionary before a bulk change is the store's recovery
    // snapshot; the import's records are deferred past the recovery journal, so a second
    // snapshot once they are on disk is what keeps them in a rebuild after a crash.
    if (session.existedBefore() && check.records > 0) {
        if (const QString failed = session.db().takeSnapshot(); !failed.isEmpty())
            return failure(QStringLiteral("cannot leave a copy in %1 (%2); nothing was imported")
                               .arg(snapshotPath(session.path()), failed));
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
                                   .arg(snapshotPath(session.path()))
                             : QString()));
        }
        progress.advanceTo(done);
    }
    progress.finish();
    if (db.flush() != 0)
        return failure(QStringLiteral("flushing %1 to disk failed").arg(session.path()));
    if (const QString failed = db.takeSnapshot(); !failed.isEmpty())
        return failure(QStringLiteral("the import is written, but the snapshot after it failed "
                                      "(%1); a rebuild after a crash would lack it")
                           .arg(failed));
    if (!session.close())
        return Failure;
    StandardOutput().writeLine(countsLine(counts, overwrite));
    return Success;
}

} // namespace vantro::dict
