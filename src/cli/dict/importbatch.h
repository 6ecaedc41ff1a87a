// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <vector>

namespace vantro::dict {

// The lines of an import input: split at line feeds, a carriage return before one dropped,
// empty lines skipped; numbered from 1 as an editor numbers them.
class ImportLines
{
public:
    explicit ImportLines(const QByteArray &input) : m_input(input) {}
    // Moves to the next non-empty line; false at the end.
    bool next();
    int number() const { return m_number; }
    QByteArrayView line() const { return m_line; }

private:
    const QByteArray &m_input;
    qsizetype m_next = 0;
    int m_number = 0;
    QByteArrayView m_line;
};

// The verdict on a whole input, reached before anything is written.
struct ImportCheck
{
    struct Problem
    {
        int number = 0;
        QString reason;
    };

    qsizetype records = 0;
    // True when every word sorts after the one before it, as an export writes them.
    bool inKeyOrder = true;
    // Every bad line, in line order. A word given twice (after lower-casing, as it is stored)
    // is a problem too, since it is unclear which meaning should win.
    QList<Problem> problems;
};

ImportCheck checkImport(const QByteArray &input);

// The records of an input as the bytes to store, in key order, read in one pass that also
// reaches the verdict on the input: one block of bytes and an index into it, so that a million
// records cost two allocations rather than two million. A word given twice shows as two equal
// neighbours once the records are in key order.
class SortedRecords
{
public:
    explicit SortedRecords(const QByteArray &input);
    const ImportCheck &check() const { return m_check; }
    qsizetype size() const { return qsizetype(m_index.size()); }
    QByteArrayView key(qsizetype i) const
    {
        return QByteArrayView(m_bytes.constData() + m_index[size_t(i)].at,
                              m_index[size_t(i)].keySize);
    }
    QByteArrayView data(qsizetype i) const
    {
        const Slot &slot = m_index[size_t(i)];
        return QByteArrayView(m_bytes.constData() + slot.at + slot.keySize, slot.dataSize);
    }

private:
    struct Slot
    {
        qsizetype at;
        int keySize;
        int dataSize;
        int number;
    };
    void sortAndFindRepeatedWords();

    QByteArray m_bytes;
    std::vector<Slot> m_index;
    ImportCheck m_check;
};

// The input without a UTF-8 byte-order mark at its start (editors on some systems write one);
// the bytes are not copied.
QByteArray withoutByteOrderMark(const QByteArray &input);

} // namespace vantro::dict
