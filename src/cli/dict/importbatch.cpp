// SPDX-License-Identifier: GPL-3.0-or-later
#include "importbatch.h"

#include "recordline.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vantro::dict {

bool ImportLines::next()
{
    while (m_next < m_input.size()) {
        qsizetype end = m_input.indexOf('\n', m_next);
        if (end < 0)
            end = m_input.size();
        ++m_number;
        qsizetype lineEnd = end;
        if (lineEnd > m_next && m_input.at(lineEnd - 1) == '\r')
            --lineEnd;
        m_line = QByteArrayView(m_input.constData() + m_next, lineEnd - m_next);
        m_next = end + 1;
        if (!m_line.isEmpty())
            return true;
    }
    return false;
}

ImportCheck checkImport(const QByteArray &input)
{
    return SortedRecords(input).check();
}

// Records whose keys strictly increase cannot repeat a word; an export is written that way, so
// its records need no sorting at all.
SortedRecords::SortedRecords(const QByteArray &input)
{
    m_bytes.reserve(input.size());
    ImportLines lines(input);
    QByteArray key;
    QByteArray data;
    QByteArrayView previousKey;
    while (lines.next()) {
        const QString why = parseRecordLine(lines.line(), key, data);
        if (!why.isEmpty()) {
            m_check.problems.append({lines.number(), why});
            continue;
        }
        const Slot slot{m_bytes.size(), int(key.size()), int(data.size()), lines.number()};
        m_bytes.append(key).append(data);
        m_index.push_back(slot);
        if (m_check.inKeyOrder) {
            const QByteArrayView stored(m_bytes.constData() + slot.at, slot.keySize);
            m_check.inKeyOrder = m_index.size() == 1 || previousKey < stored;
            // The view stays valid: the block was reserved large enough for every record.
            previousKey = stored;
        }
    }
    m_check.records = size();
    if (!m_check.inKeyOrder)
        sortAndFindRepeatedWords();
    std::stable_sort(m_check.problems.begin(), m_check.problems.end(),
                     [](const ImportCheck::Problem &a, const ImportCheck::Problem &b) {
                         return a.number < b.number;
                     });
}

// Keys compare as unsigned bytes, the shorter first where one begins the other: the library's
// own order. Equal keys then stand in line order, the first one given first.
void SortedRecords::sortAndFindRepeatedWords()
{
    const char *bytes = m_bytes.constData();
    const auto compare = [bytes](const Slot &a, const Slot &b) {
        const int order =
            std::memcmp(bytes + a.at, bytes + b.at, size_t(std::min(a.keySize, b.keySize)));
        return order != 0 ? order : a.keySize - b.keySize;
    };
    std::sort(m_index.begin(), m_index.end(), [&compare](const Slot &a, const Slot &b) {
        const int order = compare(a, b);
        return order != 0 ? order < 0 : a.number < b.number;
    });
    for (size_t i = 1, first = 0; i < m_index.size(); ++i) {
        if (compare(m_index[first], m_index[i]) != 0) {
            first = i;
            continue;
        }
        m_check.problems.append(
            {m_index[i].number, QStringLiteral("the word \"%1\" is also on line %2")
                                    .arg(QString::fromLatin1(
                                        QByteArrayView(bytes + m_index[i].at, m_index[i].keySize)))
                                    .arg(m_index[first].number)});
    }
}

QByteArray withoutByteOrderMark(const QByteArray &input)
{
    if (!input.startsWith("\xEF\xBB\xBF"))
        return input;
    return QByteArray::fromRawData(input.constData() + 3, input.size() - 3);
}

} // namespace vantro::dict
