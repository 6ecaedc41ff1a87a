// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"
#include "console.h"
#include "importbatch.h"
#include "progressbar.h"
#include "recordline.h"
#include "session.h"

#include "dictreplacement.h"
#include "snapshot.h"

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

// Writes the stored records and the imported ones, merged in key order, into a new file that
// then takes the dictionary's place: a killed import leaves the old dictionary whole. Where a
// word is in both, the import's record wins unless overwrite is off.
QString replaceWithMerge(cDictDB &db, const SortedRecords &records, bool overwrite,
                         ImportCounts &counts)
{
    QString why;
    std::unique_ptr<cDictDB::Replacement> replacement = db.beginReplacement(&why);
    if (!replacement)
        return QStringLiteral("cannot make the new dictionary file (%1)").arg(why);
    ProgressBar progress(records.size(), kProgressWorthShowingFrom);
    QByteArrayView key;
    QByteArrayView data;
    int stored = db.nextStored(key, data);
    int ret = 0;
    qsizetype next = 0;
    while (ret == 0 && (stored == 0 || next < records.size())) {
        const bool fromInput = next < records.size() && (stored != 0 || records.key(next) <= key);
        const bool same = fromInput && stored == 0 && records.key(next) == key;
        if (fromInput && (!same || overwrite)) {
            ret = replacement->put(records.key(next), records.data(next));
            ++(same ? counts.overwritten : counts.added);
        } else {
            ret = replacement->put(key, data);
            if (same)
                ++counts.kept;
        }
        if (fromInput)
            progress.advanceTo(++next);
        if (!fromInput || same)
            stored = db.nextStored(key, data);
    }
    progress.finish();
    if (ret != 0)
        return QStringLiteral("writing the new dictionary file failed (%1)")
            .arg(cDictDB::errorText(ret));
    if (stored != 0 && !cDictDB::isEndOfRecords(stored))
        return QStringLiteral("reading the dictionary failed (%1)").arg(cDictDB::errorText(stored));
    if (const QString failed = db.commitReplacement(std::move(replacement)); !failed.isEmpty())
        return QStringLiteral("putting the new dictionary in place failed (%1)").arg(failed);
    return {};
}

} // namespace

int runExport(const CommandContext &context)
{
    const QString target = context.args.value(0);
    Session session(context.dbPath);
    if (!session.open(Session::Missing::Refuse, cDictDB::Access::ReadOnly))
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

    // One walk, the stored bytes formatted as they come: no record is decoded into texts.
    cDictDB &db = session.db();
    QByteArray block;
    block.reserve(2 * kExportBlock);
    qint64 records = 0;
    bool good = true;
    QByteArrayView key;
    QByteArrayView data;
    int ret = 0;
    while (good && (ret = db.nextStored(key, data)) == 0) {
        appendRecordLine(block, key, data);
        ++records;
        if (block.size() >= kExportBlock) {
            good = writeAll(*device, block);
            block.resize(0);
        }
    }
    good = good && writeAll(*device, block);
    if (good && !cDictDB::isEndOfRecords(ret)) {
        if (device == &file)
            file.cancelWriting();
        return failure(QStringLiteral("reading the dictionary failed after %1 records; "
                                      "the export is incomplete")
                           .arg(records));
    }
    if (device == &file)
        good = good && file.commit() && syncDirectoryOf(QFile::encodeName(target)).isEmpty();
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
    const QByteArray input = withoutByteOrderMark(source.bytes());
    const SortedRecords records(input);
    const ImportCheck &check = records.check();
    if (!check.problems.isEmpty())
        return reportBadLines(check);

    Session session(context.dbPath);
    if (!session.open(Session::Missing::Create))
        return Failure;
    cDictDB &db = session.db();
    // The snapshot before the import folds every earlier change into it, so that the journal
    // holds nothing a replay could apply to the new file should the process die after it is put
    // in place but before the snapshot of it is taken.
    if (session.existedBefore() && check.records > 0) {
        if (const QString failed = db.takeSnapshot(); !failed.isEmpty())
            return failure(QStringLiteral("cannot leave a copy in %1 (%2); nothing was imported")
                               .arg(snapshotPath(session.path()), failed));
    }
    ImportCounts counts;
    if (check.records == 0) {
        session.close();
        StandardOutput().writeLine(countsLine(counts, overwrite));
        return Success;
    }
    if (const QString why = replaceWithMerge(db, records, overwrite, counts); !why.isEmpty())
        return failure(
            QStringLiteral("%1; nothing was imported, the dictionary is as it was").arg(why));
    if (const QString why = db.replacementNotFlushed(); !why.isEmpty()) {
        StandardOutput().writeLine(countsLine(counts, overwrite));
        return failure(QStringLiteral("the import is in place, but its folder could not be "
                                      "flushed to disk (%1): a crash now may undo it")
                           .arg(why));
    }
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
