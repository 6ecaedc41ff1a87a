// SPDX-License-Identifier: GPL-3.0-or-later
// Any import input: the check and the line parser must not crash; a line the parser accepts
// is written back by the exporter as a line that parses to the same key and data, and a clean
// input never holds a word twice.
#include "fuzzcheck.h"
#include "importbatch.h"
#include "recordline.h"

#include <cstddef>
#include <cstdint>

using namespace vantro;
using vantro::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const ImportCheck check = checkImport(input);
    require(check.records >= 0);
    ImportLines lines(input);
    QByteArray key;
    QByteArray value;
    qsizetype good = 0;
    while (lines.next()) {
        if (!parseRecordLine(lines.line(), key, value, nullptr))
            continue;
        ++good;
        require(!key.isEmpty());
        QByteArray line = formatRecordLine(key, value);
        require(line.endsWith('\n'));
        line.chop(1);
        QByteArray keyAgain;
        QByteArray valueAgain;
        require(parseRecordLine(line, keyAgain, valueAgain, nullptr));
        require(keyAgain == key && valueAgain == value);
    }
    if (check.problems.isEmpty())
        require(good == check.records);
    // A clean input's records are in strictly rising key order: no word is stored twice.
    const SortedRecords records(input);
    for (qsizetype i = 1; records.check().problems.isEmpty() && i < records.size(); ++i)
        require(records.key(i - 1) < records.key(i));
    return 0;
}
