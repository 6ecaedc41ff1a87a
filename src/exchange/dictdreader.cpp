// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictdreader.h"

#include "dictionarydata.h"
#include "failure.h"
#include "regularfile.h"

namespace vantro {
namespace {

// dictd writes offsets and lengths as base-64 digits, the most significant first; ten digits
// and no more keep the value below 2^60.
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

struct IndexLine
{
    QByteArray headword;
    quint64 offset = 0;
    quint64 length = 0;
};

bool parseLine(const QByteArray &line, IndexLine &parsed)
{
    const QList<QByteArray> fields = line.split('\t');
    if (fields.size() < 3 || !fromBase64Digits(fields.at(1), parsed.offset) ||
        !fromBase64Digits(fields.at(2), parsed.length))
        return false;
    // A fourth field keeps the headword as written when the first was normalized.
    parsed.headword = fields.size() > 3 ? fields.at(3) : fields.at(0);
    return true;
}

} // namespace

bool readDictd(const QString &indexPath, EntrySink &sink, QString *error)
{
    QFile indexFile;
    if (!openRegularFile(indexFile, indexPath, error))
        return false;
    const QList<QByteArray> lines = indexFile.readAll().split('\n');
    QList<IndexLine> index;
    quint64 declaredEnd = 0;
    for (qsizetype number = 0; number < lines.size(); ++number) {
        IndexLine parsed;
        if (lines.at(number).isEmpty())
            continue;
        if (!parseLine(lines.at(number), parsed))
            return failWith(error,
                            QStringLiteral("%1, line %2: not an index line (headword, offset, "
                                           "length)")
                                .arg(indexPath)
                                .arg(number + 1));
        declaredEnd = qMax(declaredEnd, parsed.offset + parsed.length);
        index.append(parsed);
    }
    DictionaryData data;
    const QString base = indexPath.chopped(indexPath.endsWith(QLatin1String(".index")) ? 6 : 0);
    if (!data.open(base, declaredEnd, error))
        return false;
    QByteArray bytes;
    for (const IndexLine &line : index) {
        QString why;
        if (!data.read(line.offset, line.length, bytes, &why))
            return failWith(error, QStringLiteral("%1: the entry \"%2\": %3")
                                       .arg(indexPath, QString::fromUtf8(line.headword), why));
        const QString text = QString::fromUtf8(bytes);
        sink.add({writtenHeadword(text, QString::fromUtf8(line.headword)),
                  text,
                  DefinitionMarkup::Plain,
                  {}});
    }
    return true;
}

} // namespace vantro
