#include "importbatch.h"

#include "recordline.h"

#include <QHash>

namespace vantro::dict {
namespace {

QByteArray lineAt(const QByteArray &input, qsizetype start, qsizetype end)
{
    if (end > start && input.at(end - 1) == '\r')
        --end;
    return input.mid(start, end - start);
}

} // namespace

ImportBatch readImportBatch(const QByteArray &input)
{
    ImportBatch batch;
    QHash<QByteArray, int> firstLineOfKey;
    int number = 0;
    qsizetype start = 0;
    while (start < input.size()) {
        qsizetype end = input.indexOf('\n', start);
        if (end < 0)
            end = input.size();
        ++number;
        const QByteArray line = lineAt(input, start, end);
        start = end + 1;
        if (line.isEmpty())
            continue;

        ImportBatch::Line parsed{number, {}};
        const QString why = parseRecordLine(line, parsed.record);
        if (!why.isEmpty()) {
            batch.problems.append({number, why});
            continue;
        }
        const QByteArray key = encodeKey(parsed.record.word);
        const auto earlier = firstLineOfKey.constFind(key);
        if (earlier != firstLineOfKey.cend()) {
            batch.problems.append({number, QStringLiteral("the word \"%1\" is also on line %2")
                                               .arg(QString::fromLatin1(key))
                                               .arg(*earlier)});
            continue;
        }
        firstLineOfKey.insert(key, number);
        batch.records.append(std::move(parsed));
    }
    return batch;
}

} // namespace vantro::dict
