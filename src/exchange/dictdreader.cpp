// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictdreader.h"

#include "dictzip.h"

#include <QFile>

namespace vantro {
namespace {

// dictd writes offsets and lengths as base-64 digits, the most significant first.
bool fromBase64Digits(QByteArrayView digits, quint64 &value)
{
    static const QByteArray alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    value = 0;
    if (digits.isEmpty() || digits.size() > 10)
        return false;
    for (const char c : digits) {
        const qsizetype digit = alphabet.indexOf(c);
        if (digit < 0)
            return false;
        value = value * 64 + quint64(digit);
    }
    return true;
}

QString readData(const QString &base, QByteArray &data)
{
    for (const char *suffix : {".dict", ".dict.dz"}) {
        QFile file(base + QLatin1String(suffix));
        if (!file.exists())
            continue;
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString());
        data = file.readAll();
        if (QByteArrayView(suffix) == ".dict")
            return {};
        QString why;
        data = gunzipAll(data, &why);
        return why.isEmpty() ? QString() : QStringLiteral("%1: %2").arg(file.fileName(), why);
    }
    return QStringLiteral("there is no %1.dict or %1.dict.dz").arg(base);
}

} // namespace

SourceEntries readDictd(const QString &indexPath)
{
    SourceEntries result;
    QFile indexFile(indexPath);
    if (!indexFile.open(QIODevice::ReadOnly)) {
        result.why = QStringLiteral("cannot read %1: %2").arg(indexPath, indexFile.errorString());
        return result;
    }
    const QByteArray index = indexFile.readAll();
    QByteArray data;
    const QString base = indexPath.chopped(indexPath.endsWith(QLatin1String(".index")) ? 6 : 0);
    if (!(result.why = readData(base, data)).isEmpty())
        return result;
    int number = 0;
    for (const QByteArray &line : index.split('\n')) {
        ++number;
        if (line.isEmpty())
            continue;
        const QList<QByteArray> fields = line.split('\t');
        quint64 offset = 0;
        quint64 length = 0;
        if (fields.size() < 3 || !fromBase64Digits(fields.at(1), offset) ||
            !fromBase64Digits(fields.at(2), length) || offset + length > quint64(data.size())) {
            result.why = QStringLiteral("%1, line %2: not an index line that points into the "
                                        "data (headword, offset, length)")
                             .arg(indexPath)
                             .arg(number);
            result.entries.clear();
            return result;
        }
        // A fourth field keeps the headword as written when the first was normalized.
        const QString headword = QString::fromUtf8(fields.size() > 3 ? fields.at(3) : fields.at(0));
        const QString text =
            QString::fromUtf8(QByteArrayView(data).sliced(qsizetype(offset), qsizetype(length)));
        result.entries.append({headword, text, DefinitionMarkup::Plain, {}});
    }
    return result;
}

} // namespace vantro
