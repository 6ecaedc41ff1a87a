// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionarydata.h"

#include "failure.h"
#include "regularfile.h"

namespace vantro {

bool DictionaryData::open(const QString &base, quint64 declaredEnd, QString *error)
{
    for (const char *suffix : {".dict", ".dict.dz"}) {
        const QString path = base + QLatin1String(suffix);
        if (!QFile::exists(path))
            continue;
        if (!openRegularFile(m_file, path, error))
            return false;
        if (QByteArrayView(suffix) == ".dict") {
            m_kind = Kind::Plain;
            m_length = quint64(m_file.size());
        } else if (readDictzipTable(m_file, m_table)) {
            m_kind = Kind::Chunked;
            m_length = quint64(m_table.chunkLength) * quint64(m_table.sizes.size());
        } else {
            m_kind = Kind::Whole;
            QString why;
            m_file.seek(0);
            if (!gunzipAll(m_file.readAll(), qint64(qMin<quint64>(declaredEnd, 1ull << 40)),
                           m_whole, &why))
                return failWith(error, QStringLiteral("%1: %2").arg(path, why));
            m_length = quint64(m_whole.size());
        }
        return true;
    }
    return failWith(error, QStringLiteral("there is no %1.dict or %1.dict.dz").arg(base));
}

bool DictionaryData::read(quint64 offset, quint64 size, QByteArray &out, QString *why)
{
    // Checked so that no sum can wrap: an offset near 2^64 must not pass.
    if (offset > m_length || size > m_length - offset || size > kLargestEntry) {
        *why = QStringLiteral("it lies outside the data (%1 bytes at %2 of %3)")
                   .arg(size)
                   .arg(offset)
                   .arg(m_length);
        return false;
    }
    switch (m_kind) {
    case Kind::Plain:
        out = m_file.seek(qint64(offset)) ? m_file.read(qint64(size)) : QByteArray();
        if (quint64(out.size()) != size) {
            *why = QStringLiteral("reading it failed: %1").arg(m_file.errorString());
            return false;
        }
        return true;
    case Kind::Whole:
        out = m_whole.sliced(qsizetype(offset), qsizetype(size));
        return true;
    case Kind::Chunked:
        break;
    }
    return readChunks(offset, size, out, why);
}

// The last chunk read is kept: entries in index order mostly lie in the chunk of the one before.
bool DictionaryData::readChunks(quint64 offset, quint64 size, QByteArray &out, QString *why)
{
    out.clear();
    const quint64 chunkLength = quint64(m_table.chunkLength);
    while (quint64(out.size()) < size) {
        const quint64 at = offset + quint64(out.size());
        const qsizetype chunk = qsizetype(at / chunkLength);
        if (chunk != m_chunkHeld) {
            m_chunkHeld = -1;
            if (!inflateChunk(m_file, m_table, chunk, m_chunk, why))
                return false;
            m_chunkHeld = chunk;
        }
        const quint64 within = at % chunkLength;
        if (within >= quint64(m_chunk.size())) {
            *why = QStringLiteral("it lies beyond the end of the compressed data");
            return false;
        }
        out.append(QByteArrayView(m_chunk).sliced(
            qsizetype(within),
            qsizetype(qMin(quint64(m_chunk.size()) - within, size - out.size()))));
    }
    return true;
}

} // namespace vantro
