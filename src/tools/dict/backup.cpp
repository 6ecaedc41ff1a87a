#include "backup.h"

#include <QFile>
#include <QSaveFile>

namespace vantro::dict {

QString backupPath(const QString &path)
{
    return path + QStringLiteral(".bak");
}

QString writeBackup(const QString &path)
{
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        return source.errorString();
    QSaveFile copy(backupPath(path));
    if (!copy.open(QIODevice::WriteOnly))
        return copy.errorString();
    QByteArray block;
    while (!(block = source.read(1 << 20)).isEmpty()) {
        if (copy.write(block) != block.size())
            return copy.errorString();
    }
    if (source.error() != QFileDevice::NoError)
        return source.errorString();
    if (!copy.commit())
        return copy.errorString();
    return {};
}

} // namespace vantro::dict
