// SPDX-License-Identifier: GPL-3.0-or-later
#include "importbatch.h"

#include "failure.h"
#include "record.h"
#include "recordline.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vantro {

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
        if (QString why; !parseRecordLine(lines.line(), key, data, &why)) {
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

namespace {

constexpr qsizetype kBlockSize = 1 << 20;

bool isStandardInput(const QString &name)
{
    return name.isEmpty() || name == QLatin1String("-");
}

} // namespace

// Moves what is left of the block to its front and reads more after it.
bool BlockLines::refill()
{
    if (m_atEnd)
        return false;
    m_block.remove(0, m_at);
    m_at = 0;
    const qsizetype kept = m_block.size();
    m_block.resize(kept + kBlockSize);
    const qint64 got = m_device.read(m_block.data() + kept, kBlockSize);
    m_failed = got < 0;
    m_block.resize(kept + qMax<qint64>(got, 0));
    m_atEnd = got <= 0;
    if (m_number == 0 && kept == 0 && m_block.startsWith("\xEF\xBB\xBF"))
        m_at = 3;
    return !m_atEnd;
}

bool BlockLines::next()
{
    while (true) {
        qsizetype end = m_block.indexOf('\n', m_at);
        if (end < 0 && refill())
            continue;
        if (end < 0 && m_at >= m_block.size())
            return false;
        if (end < 0)
            end = m_block.size();
        ++m_number;
        qsizetype lineEnd = end;
        if (lineEnd > m_at && m_block.at(lineEnd - 1) == '\r')
            --lineEnd;
        m_line = QByteArrayView(m_block.constData() + m_at, lineEnd - m_at);
        m_at = end + 1;
        if (!m_line.isEmpty())
            return true;
    }
}

bool BlockLines::readToTheEnd(QString *error) const
{
    return !m_failed || failWith(error, m_device.errorString());
}

// The first reading of a file: every line parsed, nothing kept but the last key. Answers
// whether the records are in key order.
bool TsvRecords::checkInOrder(QString *error)
{
    BlockLines lines(m_file);
    QByteArray previous;
    while (lines.next()) {
        QByteArrayView key;
        qsizetype wordEnd = 0;
        qsizetype meaningEnd = 0;
        if (findPlainFields(lines.line(), wordEnd, meaningEnd)) {
            key = lines.line().first(wordEnd);
        } else if (QString why; !parseRecordLine(lines.line(), m_key, m_data, &why)) {
            m_check.problems.append({lines.number(), why});
            continue;
        } else {
            key = m_key;
        }
        if (m_check.records++ > 0 && !(QByteArrayView(previous) < key))
            m_check.inKeyOrder = false;
        // Copied into the capacity it has: no allocation per line.
        previous.resize(0);
        previous.append(key);
    }
    QString why;
    return lines.readToTheEnd(&why) ||
           failWith(error, QStringLiteral("cannot read %1: %2").arg(m_name, why));
}

bool TsvRecords::load(QString *error)
{
    const bool standardInput = isStandardInput(m_name);
    const bool opened = standardInput
                            ? m_file.open(stdin, QIODevice::ReadOnly)
                            : (m_file.setFileName(m_name), m_file.open(QIODevice::ReadOnly));
    if (!opened)
        return failWith(error,
                        QStringLiteral("cannot read %1: %2").arg(m_name, m_file.errorString()));
    if (!standardInput && !m_file.isSequential()) {
        if (!checkInOrder(error))
            return false;
        if (m_check.inKeyOrder) {
            m_file.seek(0);
            m_lines = std::make_unique<BlockLines>(m_file);
            return true;
        }
        m_file.seek(0);
    }
    m_bytes = m_file.readAll();
    if (m_file.error() != QFileDevice::NoError)
        return failWith(error,
                        QStringLiteral("cannot read %1: %2").arg(m_name, m_file.errorString()));
    m_sorted = std::make_unique<SortedRecords>(withoutByteOrderMark(m_bytes));
    return true;
}

bool TsvRecords::next(QByteArrayView &key, QByteArrayView &data)
{
    if (m_sorted) {
        if (m_nextSorted >= m_sorted->size())
            return false;
        key = m_sorted->key(m_nextSorted);
        data = m_sorted->data(m_nextSorted++);
        return true;
    }
    while (m_lines && m_lines->next()) {
        // A plain line is its own record: the tab before the synonyms becomes their "|" in the
        // block read, and nothing is copied.
        qsizetype wordEnd = 0;
        qsizetype meaningEnd = 0;
        const QByteArrayView line = m_lines->line();
        if (findPlainFields(line, wordEnd, meaningEnd)) {
            key = line.first(wordEnd);
            const bool synonyms = meaningEnd + 1 < line.size();
            if (synonyms)
                const_cast<char *>(line.constData())[meaningEnd] = kSynonymSeparator;
            data = line.sliced(wordEnd + 1, (synonyms ? line.size() : meaningEnd) - wordEnd - 1);
            return true;
        }
        if (!parseRecordLine(line, m_key, m_data, nullptr))
            continue;
        key = m_key;
        data = m_data;
        return true;
    }
    return false;
}

bool TsvRecords::readToTheEnd(QString *error) const
{
    QString why;
    return !m_lines || m_lines->readToTheEnd(&why) ||
           failWith(error, QStringLiteral("cannot read %1: %2").arg(m_name, why));
}

QByteArray withoutByteOrderMark(const QByteArray &input)
{
    if (!input.startsWith("\xEF\xBB\xBF"))
        return input;
    return QByteArray::fromRawData(input.constData() + 3, input.size() - 3);
}

} // namespace vantro
