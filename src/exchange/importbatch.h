// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recordstream.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

namespace vantro {

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

// The lines of a file read in blocks, so that reading a large file costs one block of memory;
// the same numbering and line ends as ImportLines.
class BlockLines
{
public:
    explicit BlockLines(QIODevice &device) : m_device(device) {}
    bool next();
    int number() const { return m_number; }
    QByteArrayView line() const { return m_line; }
    // After next() answered false: whether that was the end of the input rather than a read
    // that failed, with the device's reason.
    [[nodiscard]] bool readToTheEnd(QString *error) const;

private:
    bool refill();

    QIODevice &m_device;
    QByteArray m_block;
    qsizetype m_at = 0;
    bool m_atEnd = false;
    bool m_failed = false;
    int m_number = 0;
    QByteArrayView m_line;
};

// An input in the exchange format as records to import. A file whose words are in key order is
// checked in one reading and written in a second, nothing of it kept in memory; a file in any
// other order, and the standard input, are read into memory and sorted.
class TsvRecords : public RecordStream
{
public:
    explicit TsvRecords(const QString &name) : m_name(name) {}
    // Reads and checks the whole input; false when it could not be read.
    [[nodiscard]] bool load(QString *error);
    const ImportCheck &check() const { return m_sorted ? m_sorted->check() : m_check; }
    qint64 size() const override { return check().records; }
    bool next(QByteArrayView &key, QByteArrayView &data) override;
    // The second reading of a file in key order can fail where the first did not.
    [[nodiscard]] bool readToTheEnd(QString *error) const override;

private:
    bool checkInOrder(QString *error);

    QString m_name;
    QFile m_file;
    QByteArray m_bytes;
    std::unique_ptr<SortedRecords> m_sorted;
    qsizetype m_nextSorted = 0;
    std::unique_ptr<BlockLines> m_lines;
    ImportCheck m_check;
    QByteArray m_key;
    QByteArray m_data;
};

// The input without a UTF-8 byte-order mark at its start (editors on some systems write one);
// the bytes are not copied.
QByteArray withoutByteOrderMark(const QByteArray &input);

} // namespace vantro
