// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictzip.h"

#include <zlib.h>

#include <QList>

namespace vantro {
namespace {

// The chunk length dictzip itself uses: a chunk that does not compress still fits the 16 bits
// its size has in the table.
constexpr qsizetype kChunkLength = 58315;
// The extra field holds 16-bit lengths: the table has room for this many chunk sizes.
constexpr qsizetype kMostChunks = (0xFFFF - 10) / 2;

void appendLittleEndian16(QByteArray &out, quint16 value)
{
    out.append(char(value & 0xFF)).append(char(value >> 8));
}

void appendLittleEndian32(QByteArray &out, quint32 value)
{
    appendLittleEndian16(out, quint16(value & 0xFFFF));
    appendLittleEndian16(out, quint16(value >> 16));
}

QByteArray header(const QList<quint16> &chunkSizes)
{
    QByteArray out("\x1f\x8b\x08\x04", 4); // gzip, deflate, FEXTRA
    appendLittleEndian32(out, 0);          // no time stamp: the same input gives the same file
    out.append(char(2)).append(char(3));   // best compression, Unix
    const quint16 raLength = quint16(6 + 2 * chunkSizes.size());
    appendLittleEndian16(out, quint16(4 + raLength));
    out.append("RA", 2);
    appendLittleEndian16(out, raLength);
    appendLittleEndian16(out, 1);
    appendLittleEndian16(out, quint16(kChunkLength));
    appendLittleEndian16(out, quint16(chunkSizes.size()));
    for (const quint16 size : chunkSizes)
        appendLittleEndian16(out, size);
    return out;
}

} // namespace

QByteArray gunzipAll(const QByteArray &compressed, QString *why)
{
    z_stream stream{};
    // 32 + 15: a gzip header is expected and read.
    if (inflateInit2(&stream, 32 + MAX_WBITS) != Z_OK) {
        *why = QStringLiteral("the decompressor could not start");
        return {};
    }
    QByteArray out;
    out.resize(qMax<qsizetype>(4 * compressed.size(), 1 << 16));
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.constData()));
    stream.avail_in = uInt(compressed.size());
    int ret = Z_OK;
    while (ret == Z_OK) {
        if (qsizetype(stream.total_out) == out.size())
            out.resize(out.size() * 2);
        stream.next_out = reinterpret_cast<Bytef *>(out.data() + stream.total_out);
        stream.avail_out = uInt(out.size() - qsizetype(stream.total_out));
        ret = inflate(&stream, Z_NO_FLUSH);
        if (ret == Z_BUF_ERROR && stream.avail_in > 0)
            ret = Z_OK;
    }
    out.resize(qsizetype(stream.total_out));
    inflateEnd(&stream);
    if (ret != Z_STREAM_END) {
        *why = ret == Z_BUF_ERROR ? QStringLiteral("the compressed data ends too early")
                                  : QStringLiteral("the compressed data is damaged (%1)")
                                        .arg(QString::fromLatin1(stream.msg ? stream.msg : "?"));
        return {};
    }
    why->clear();
    return out;
}

QByteArray dictzip(const QByteArray &plain, QString *why)
{
    const qsizetype chunks = qMax<qsizetype>(1, (plain.size() + kChunkLength - 1) / kChunkLength);
    if (chunks > kMostChunks) {
        *why = QStringLiteral("the dictionary text is too large for one dictzip file");
        return {};
    }
    z_stream stream{};
    // Raw deflate: the gzip header and trailer are written here, with the chunk table.
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray body;
    QList<quint16> sizes;
    QByteArray buffer(int(deflateBound(&stream, uLong(kChunkLength)) + 64), Qt::Uninitialized);
    for (qsizetype chunk = 0; chunk < chunks; ++chunk) {
        const qsizetype at = chunk * kChunkLength;
        const qsizetype length = qMin(kChunkLength, plain.size() - at);
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(plain.constData() + at));
        stream.avail_in = uInt(length);
        stream.next_out = reinterpret_cast<Bytef *>(buffer.data());
        stream.avail_out = uInt(buffer.size());
        // A full flush ends each chunk on a byte boundary with a fresh history, so that
        // decompression can start at any chunk.
        deflate(&stream, chunk + 1 == chunks ? Z_FINISH : Z_FULL_FLUSH);
        const qsizetype written = buffer.size() - qsizetype(stream.avail_out);
        sizes.append(quint16(written));
        body.append(buffer.constData(), written);
    }
    deflateEnd(&stream);
    QByteArray out = header(sizes);
    out.append(body);
    appendLittleEndian32(out, quint32(crc32(0, reinterpret_cast<const Bytef *>(plain.constData()),
                                            uInt(plain.size()))));
    appendLittleEndian32(out, quint32(plain.size()));
    why->clear();
    return out;
}

} // namespace vantro
