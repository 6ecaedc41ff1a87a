// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dictzip.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

namespace vantro {

// The data file of a StarDict or dictd dictionary (.dict, or compressed .dict.dz), read one
// entry at a time: a plain file by seeking, a dictzip file by inflating only the chunks that
// hold the entry, so that the memory an import takes follows its largest entry, not the file.
// A .dz without a chunk table is inflated whole, but never beyond the end the index declares.
class DictionaryData
{
public:
    // Opens BASE.dict or BASE.dict.dz; declaredEnd is the largest offset + size of the index.
    [[nodiscard]] bool open(const QString &base, quint64 declaredEnd, QString *error);
    // The bytes of one entry; false with the reason when they lie outside the data.
    bool read(quint64 offset, quint64 size, QByteArray &out, QString *why);

    // The largest entry an index may declare: no definition comes near it, and a crafted index
    // must not make the import take gigabytes.
    static constexpr quint64 kLargestEntry = 64 << 20;

private:
    bool readChunks(quint64 offset, quint64 size, QByteArray &out, QString *why);

    QFile m_file;
    enum class Kind { Plain, Chunked, Whole } m_kind = Kind::Plain;
    quint64 m_length = 0;
    DictzipTable m_table;
    QByteArray m_whole;
    qsizetype m_chunkHeld = -1;
    QByteArray m_chunk;
};

} // namespace vantro
