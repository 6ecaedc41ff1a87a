// SPDX-License-Identifier: GPL-3.0-or-later
#include "importlog.h"

#include "dictionaryimport.h"
#include "failure.h"

#include <QDateTime>
#include <QFile>

#include <unistd.h>

namespace vantro {

QString importLogPath(const QString &dictionaryPath)
{
    return dictionaryPath + QStringLiteral(".imports");
}

bool appendImportLog(const QString &dictionaryPath, const QString &source, const QString &shortName,
                     const ImportSummary &summary, QString *error)
{
    QByteArray entry = QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() + "\timport\t" +
                       source.toUtf8();
    if (!shortName.isEmpty())
        entry += " (" + shortName.toUtf8() + ')';
    entry += '\t' + summary.line().toUtf8() + '\n';
    for (const QByteArray &line : summary.changes.split('\n')) {
        if (!line.isEmpty())
            entry += '\t' + line + '\n';
    }
    QFile log(importLogPath(dictionaryPath));
    if (!log.open(QIODevice::Append) || log.write(entry) != entry.size() || !log.flush() ||
        ::fsync(log.handle()) != 0)
        return failWith(
            error, QStringLiteral("writing %1 failed: %2").arg(log.fileName(), log.errorString()));
    return true;
}

QByteArray readImportLog(const QString &dictionaryPath)
{
    QFile log(importLogPath(dictionaryPath));
    return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
}

} // namespace vantro
