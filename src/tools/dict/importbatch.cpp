#include "importbatch.h"

#include "recordline.h"

#include <QHash>
#include <algorithm>
#include <cstring>
#include <vector>

namespace vantro::dict {
namespace {

// Where a word was given; words are compared through their hashes first, so that checking a
// large input needs one array rather than a table of every key.
struct KeySighting
{
    size_t hash;
    int number;
    qsizetype lineStart;
};

QByteArray keyAt(const QByteArray &input, qsizetype lineStart)
{
    QByteArray key;
    QByteArray data;
    const QByteArray rest =
        QByteArray::fromRawData(input.constData() + lineStart, input.size() - lineStart);
    ImportLines one(rest);
    one.next();
    parseRecordLine(one.line(), key, data);
    return key;
}

void findRepeatedWords(const QByteArray &input, QList<ImportCheck::Problem> &problems)
{
    std::vector<KeySighting> sightings;
    ImportLines lines(input);
    QByteArray key;
    QByteArray data;
    while (lines.next()) {
        if (parseRecordLine(lines.line(), key, data).isEmpty())
            sightings.push_back(
                {qHash(key), lines.number(), lines.line().constData() - input.constData()});
    }
    std::sort(sightings.begin(), sightings.end(), [](const KeySighting &a, const KeySighting &b) {
        return a.hash != b.hash ? a.hash < b.hash : a.number < b.number;
    });
    for (size_t i = 0; i < sightings.size(); ++i) {
        if (sightings[i].number == 0)
            continue;
        for (size_t j = i + 1; j < sightings.size() && sightings[j].hash == sightings[i].hash;
             ++j) {
            const QByteArray key = keyAt(input, sightings[i].lineStart);
            if (sightings[j].number != 0 && keyAt(input, sightings[j].lineStart) == key) {
                problems.append(
                    {sightings[j].number, QStringLiteral("the word \"%1\" is also on line %2")
                                              .arg(QString::fromLatin1(key))
                                              .arg(sightings[i].number)});
                sightings[j].number = 0;
            }
        }
    }
}

} // namespace

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

// Records whose keys strictly increase cannot repeat a word; an export is written that way, so
// the hashes of its keys need neither be kept nor sorted.
ImportCheck checkImport(const QByteArray &input)
{
    ImportCheck check;
    ImportLines lines(input);
    QByteArray key;
    QByteArray data;
    QByteArray previousKey;
    bool increasing = true;
    while (lines.next()) {
        const QString why = parseRecordLine(lines.line(), key, data);
        if (!why.isEmpty()) {
            check.problems.append({lines.number(), why});
            continue;
        }
        ++check.records;
        if (increasing) {
            increasing = previousKey.isNull() || previousKey < key;
            previousKey = key;
        }
    }
    check.inKeyOrder = increasing;
    if (!increasing)
        findRepeatedWords(input, check.problems);
    std::stable_sort(check.problems.begin(), check.problems.end(),
                     [](const ImportCheck::Problem &a, const ImportCheck::Problem &b) {
                         return a.number < b.number;
                     });
    return check;
}

SortedRecords::SortedRecords(const QByteArray &input, const ImportCheck &check)
{
    m_bytes.reserve(input.size());
    m_index.reserve(size_t(check.records));
    ImportLines lines(input);
    QByteArray key;
    QByteArray data;
    while (lines.next()) {
        parseRecordLine(lines.line(), key, data);
        m_index.push_back({m_bytes.size(), int(key.size()), int(data.size())});
        m_bytes.append(key).append(data);
    }
    if (check.inKeyOrder)
        return;
    // Keys compare as unsigned bytes, the shorter first where one begins the other: the
    // library's own order.
    const char *bytes = m_bytes.constData();
    std::sort(m_index.begin(), m_index.end(), [bytes](const Slot &a, const Slot &b) {
        const int common = std::min(a.keySize, b.keySize);
        const int order = std::memcmp(bytes + a.at, bytes + b.at, size_t(common));
        return order != 0 ? order < 0 : a.keySize < b.keySize;
    });
}

QByteArray withoutByteOrderMark(const QByteArray &input)
{
    if (!input.startsWith("\xEF\xBB\xBF"))
        return input;
    return QByteArray::fromRawData(input.constData() + 3, input.size() - 3);
}

} // namespace vantro::dict
