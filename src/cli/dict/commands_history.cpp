// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"
#include "console.h"
#include "importlog.h"
#include "recordline.h"

#include "journal.h"
#include "snapshot.h"

#include <QDateTime>
#include <QFile>

namespace vantro::dict {
namespace {

// One change a line: when, what, and the record in the exchange format (only the word for a
// deletion), so that the lines of saves can be fed back to import by hand.
QByteArray historyLine(const JournalEntry &entry)
{
    const QByteArray when =
        QDateTime::fromMSecsSinceEpoch(entry.msecsSinceEpoch).toString(Qt::ISODate).toUtf8();
    const QByteArray record = entry.op == JournalEntry::Op::Delete
                                  ? formatRecordLine(entry.key, {}).split('\t').first().trimmed()
                                  : formatRecordLine(entry.key, entry.data).trimmed();
    return when + '\t' + operationName(entry.op).toUtf8() + '\t' + record + '\n';
}

} // namespace

// The journal is only read: a torn last entry, should a program be writing it right now, is
// simply not shown.
int runHistory(const CommandContext &context)
{
    // The imports first: which import brought which records, as long as the dictionary lives.
    const QByteArray imports = readImportLog(context.dbPath);
    if (!imports.isEmpty()) {
        StandardOutput out;
        out.write(imports);
        if (!out.flush())
            return Failure;
    }
    const QString journal = journalPath(context.dbPath);
    bool exists = false;
    const JournalContents contents = Journal::read(QFile::encodeName(journal), &exists);
    if (!exists && !imports.isEmpty())
        return Success;
    if (!exists)
        return failure(QStringLiteral("%1: no journal, so no changes are recorded").arg(journal));
    SnapshotId snapshot;
    const QByteArray snapshotName = QFile::encodeName(snapshotPath(context.dbPath));
    if (!identityOf(snapshotName, snapshot))
        reportError(QStringLiteral("there is no snapshot %1; these changes have nothing to "
                                   "start from")
                        .arg(snapshotPath(context.dbPath)));
    else if (snapshot != contents.snapshot)
        reportError(QStringLiteral("%1 is not the snapshot this journal was started from")
                        .arg(snapshotPath(context.dbPath)));
    StandardOutput out;
    for (const JournalEntry &entry : contents.entries)
        out.write(historyLine(entry));
    out.writeLine(QStringLiteral("%1 change(s) since the snapshot %2")
                      .arg(contents.entries.size())
                      .arg(snapshotPath(context.dbPath)));
    if (!out.flush())
        return Failure;
    // The history is only whole when every entry could be read.
    if (contents.damagedEntries > 0)
        return failure(
            QStringLiteral("%1 is damaged: at least %2 change(s) in it could not be read")
                .arg(journal)
                .arg(contents.damagedEntries));
    return Success;
}

} // namespace vantro::dict
