// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <zlib.h>

class QIODevice;

namespace vantro {

// The whole content of a gzip file in out, refused when damaged, truncated or larger than most
// bytes: a small file may inflate to gigabytes.
[[nodiscard]] bool gunzipAll(const QByteArray &compressed, qint64 most, QByteArray &out,
                             QString *error);

// The chunk table of a dictzip file: the gzip header's "RA" extra field says how long each
// chunk is before and after compression, so that a reader inflates only the chunks it needs.
struct DictzipTable
{
    qint64 chunkLength = 0;
    QList<quint16> sizes;
    qint64 dataStart = 0; // the first chunk's offset in the file
};
// The table of the file's header; false when the file is plain gzip (no table) or damaged.
bool readDictzipTable(QIODevice &file, DictzipTable &table);

// Writes a dictzip file as dictzip itself does: each chunk compressed with a full flush, so that
// it can be inflated on its own, and the end of the stream in its own bytes after the last chunk
// (readers that inflate a chunk expect it to end on a flush, not on the stream's end). The
// compressed chunks go to a scratch device while the text comes; finish() writes the header with
// the table, the chunks and the trailer. Any gzip reader reads the file whole.
class DictzipWriter
{
public:
    explicit DictzipWriter(QIODevice &scratch);
    ~DictzipWriter();
    DictzipWriter(const DictzipWriter &) = delete;
    DictzipWriter &operator=(const DictzipWriter &) = delete;

    // False when the text grows beyond one table (about 1.9 GB) or the scratch device fails.
    [[nodiscard]] bool append(QByteArrayView text, QString *why);
    [[nodiscard]] bool finish(QIODevice &out, QString *why);
    qint64 plainSize() const { return m_plainSize; }

private:
    bool compress(QByteArrayView chunk, int flush, QString *why);

    QIODevice &m_scratch;
    z_stream m_stream{};
    QByteArray m_pending;
    QList<quint16> m_sizes;
    QByteArray m_finalBytes;
    quint32 m_crc = 0;
    qint64 m_plainSize = 0;
};

// Inflates every chunk of a dictzip file on its own, as a reader that seeks does, and checks the
// lengths and the CRC of the whole: false with what is wrong.
[[nodiscard]] bool checkDictzip(QIODevice &file, QString *error);

// The text of chunk number index of a dictzip file (a fresh inflate from the chunk's start).
bool inflateChunk(QIODevice &file, const DictzipTable &table, qsizetype index, QByteArray &out,
                  QString *why);

} // namespace vantro
