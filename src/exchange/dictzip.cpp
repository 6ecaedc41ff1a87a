// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictzip.h"

#include "failure.h"

#include <QIODevice>
#include <QtEndian>

namespace vantro {
namespace {

// The chunk length dictzip itself uses: a chunk that does not compress still fits the 16 bits
// its size has in the table.
constexpr qsizetype kChunkLength = 58315;
// The extra field holds 16-bit lengths: the table has room for this many chunk sizes.
constexpr qsizetype kMostChunks = (0xFFFF - 10) / 2;
constexpr qsizetype kCopyBlock = 1 << 20;

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

quint16 littleEndian16(const char *bytes)
{
    return qFromLittleEndian<quint16>(bytes);
}

// Skips a NUL-terminated field of the gzip header (a file name or a comment).
bool skipZeroTerminated(QIODevice &file)
{
    char c = 1;
    while (c != 0) {
        if (!file.getChar(&c))
            return false;
    }
    return true;
}

} // namespace

bool gunzipAll(const QByteArray &compressed, qint64 most, QByteArray &out, QString *error)
{
    out.clear();
    z_stream stream{};
    // 32 + 15: a gzip header is expected and read.
    if (inflateInit2(&stream, 32 + MAX_WBITS) != Z_OK)
        return failWith(error, QStringLiteral("the decompressor could not start"));
    out.resize(qsizetype(qMin<qint64>(qMax<qint64>(4 * compressed.size(), 1 << 16), most + 1)));
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.constData()));
    stream.avail_in = uInt(compressed.size());
    int ret = Z_OK;
    while (ret == Z_OK) {
        if (qsizetype(stream.total_out) == out.size()) {
            if (out.size() > most)
                break;
            out.resize(qMin<qint64>(out.size() * 2, most + 1));
        }
        stream.next_out = reinterpret_cast<Bytef *>(out.data() + stream.total_out);
        stream.avail_out = uInt(out.size() - qsizetype(stream.total_out));
        ret = inflate(&stream, Z_NO_FLUSH);
        if (ret == Z_BUF_ERROR && stream.avail_in > 0)
            ret = Z_OK;
    }
    const qint64 inflated = qint64(stream.total_out);
    inflateEnd(&stream);
    if (inflated > most) {
        out.clear();
        return failWith(error, QStringLiteral("the compressed data inflates beyond the %1 bytes "
                                              "the index declares")
                                   .arg(most));
    }
    out.resize(qsizetype(inflated));
    if (ret != Z_STREAM_END) {
        out.clear();
        return failWith(error, ret == Z_BUF_ERROR
                                   ? QStringLiteral("the compressed data ends too early")
                                   : QStringLiteral("the compressed data is damaged (%1)")
                                         .arg(QString::fromLatin1(stream.msg ? stream.msg : "?")));
    }
    return true;
}

bool readDictzipTable(QIODevice &file, DictzipTable &table)
{
    if (!file.seek(0))
        return false;
    const QByteArray fixed = file.read(10);
    if (fixed.size() != 10 || !fixed.startsWith("\x1f\x8b\x08") || !(fixed.at(3) & 0x04))
        return false;
    const QByteArray lengthBytes = file.read(2);
    if (lengthBytes.size() != 2)
        return false;
    const QByteArray extra = file.read(littleEndian16(lengthBytes.constData()));
    // Subfields: two letters, a 16-bit length, the data; RA's data is version, chunk length,
    // chunk count and the sizes.
    for (qsizetype at = 0; at + 4 <= extra.size();) {
        const qsizetype length = littleEndian16(extra.constData() + at + 2);
        if (length > extra.size() - at - 4)
            return false;
        if (extra.mid(at, 2) == "RA" && length >= 6) {
            const char *ra = extra.constData() + at + 4;
            const qsizetype count = littleEndian16(ra + 4);
            if (littleEndian16(ra) != 1 || 6 + 2 * count > length || littleEndian16(ra + 2) == 0)
                return false;
            table.chunkLength = littleEndian16(ra + 2);
            table.sizes.clear();
            for (qsizetype chunk = 0; chunk < count; ++chunk)
                table.sizes.append(littleEndian16(ra + 6 + 2 * chunk));
        }
        at += 4 + length;
    }
    if (table.chunkLength == 0)
        return false;
    if ((fixed.at(3) & 0x08) && !skipZeroTerminated(file))
        return false;
    if ((fixed.at(3) & 0x10) && !skipZeroTerminated(file))
        return false;
    if ((fixed.at(3) & 0x02) && file.read(2).size() != 2)
        return false;
    table.dataStart = file.pos();
    return true;
}

bool inflateChunk(QIODevice &file, const DictzipTable &table, qsizetype index, QByteArray &out,
                  QString *why)
{
    qint64 at = table.dataStart;
    for (qsizetype chunk = 0; chunk < index; ++chunk)
        at += table.sizes.at(chunk);
    const QByteArray compressed = file.seek(at) ? file.read(table.sizes.at(index)) : QByteArray();
    if (compressed.size() != table.sizes.at(index)) {
        *why = QStringLiteral("chunk %1 lies beyond the end of the file").arg(index + 1);
        return false;
    }
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        *why = QStringLiteral("the decompressor could not start");
        return false;
    }
    out.resize(table.chunkLength);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.constData()));
    stream.avail_in = uInt(compressed.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    // A chunk ends on a full flush: it inflates completely with the stream still open.
    const int ret = inflate(&stream, Z_SYNC_FLUSH);
    out.resize(qsizetype(stream.total_out));
    const bool whole = (ret == Z_OK || ret == Z_STREAM_END) && stream.avail_in == 0;
    inflateEnd(&stream);
    if (!whole) {
        *why = QStringLiteral("chunk %1 does not inflate on its own").arg(index + 1);
        return false;
    }
    return true;
}

bool checkDictzip(QIODevice &file, QString *error)
{
    DictzipTable table;
    if (!readDictzipTable(file, table))
        return failWith(error, QStringLiteral("the file has no dictzip chunk table"));
    quint32 crc = crc32(0, nullptr, 0);
    qint64 length = 0;
    QString why;
    QByteArray text;
    for (qsizetype chunk = 0; chunk < table.sizes.size(); ++chunk) {
        if (!inflateChunk(file, table, chunk, text, &why))
            return failWith(error, why);
        if (chunk + 1 < table.sizes.size() && text.size() != table.chunkLength)
            return failWith(error, QStringLiteral("chunk %1 holds %2 bytes, not %3")
                                       .arg(chunk + 1)
                                       .arg(text.size())
                                       .arg(table.chunkLength));
        crc = quint32(
            crc32(crc, reinterpret_cast<const Bytef *>(text.constData()), uInt(text.size())));
        length += text.size();
    }
    const QByteArray trailer = file.seek(file.size() - 8) ? file.read(8) : QByteArray();
    if (trailer.size() != 8 || qFromLittleEndian<quint32>(trailer.constData()) != crc ||
        qFromLittleEndian<quint32>(trailer.constData() + 4) != quint32(length))
        return failWith(error,
                        QStringLiteral("the chunks do not give the text the trailer describes"));
    return true;
}

DictzipWriter::DictzipWriter(QIODevice &scratch) : m_scratch(scratch)
{
    // Raw deflate: the gzip header and trailer are written by finish(), with the chunk table.
    deflateInit2(&m_stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    m_crc = quint32(crc32(0, nullptr, 0));
}

DictzipWriter::~DictzipWriter()
{
    deflateEnd(&m_stream);
}

bool DictzipWriter::compress(QByteArrayView chunk, int flush, QString *why)
{
    QByteArray buffer(qsizetype(deflateBound(&m_stream, uLong(kChunkLength)) + 64),
                      Qt::Uninitialized);
    m_stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(chunk.constData()));
    m_stream.avail_in = uInt(chunk.size());
    m_stream.next_out = reinterpret_cast<Bytef *>(buffer.data());
    m_stream.avail_out = uInt(buffer.size());
    const int ret = deflate(&m_stream, flush);
    const qsizetype written = buffer.size() - qsizetype(m_stream.avail_out);
    if (ret != (flush == Z_FINISH ? Z_STREAM_END : Z_OK) || m_stream.avail_in != 0) {
        *why = QStringLiteral("the compressor failed");
        return false;
    }
    if (flush == Z_FINISH) {
        m_finalBytes = buffer.left(written);
        return true;
    }
    m_crc = quint32(
        crc32(m_crc, reinterpret_cast<const Bytef *>(chunk.constData()), uInt(chunk.size())));
    m_sizes.append(quint16(written));
    if (m_scratch.write(buffer.constData(), written) != written) {
        *why =
            QStringLiteral("writing the compressed text failed: %1").arg(m_scratch.errorString());
        return false;
    }
    return true;
}

bool DictzipWriter::append(QByteArrayView text, QString *why)
{
    m_plainSize += text.size();
    while (!text.isEmpty()) {
        const qsizetype taken = qMin(text.size(), kChunkLength - m_pending.size());
        m_pending.append(text.first(taken));
        text = text.sliced(taken);
        if (m_pending.size() < kChunkLength)
            break;
        if (m_sizes.size() + 1 >= kMostChunks) {
            *why = QStringLiteral("the dictionary text is too large for one dictzip file");
            return false;
        }
        if (!compress(m_pending, Z_FULL_FLUSH, why))
            return false;
        m_pending.clear();
    }
    return true;
}

bool DictzipWriter::finish(QIODevice &out, QString *why)
{
    if ((!m_pending.isEmpty() || m_sizes.isEmpty()) && !compress(m_pending, Z_FULL_FLUSH, why))
        return false;
    m_pending.clear();
    if (!compress({}, Z_FINISH, why))
        return false;
    QByteArray trailer = m_finalBytes;
    appendLittleEndian32(trailer, m_crc);
    appendLittleEndian32(trailer, quint32(m_plainSize));
    const QByteArray head = header(m_sizes);
    bool written = out.write(head) == head.size() && m_scratch.seek(0);
    while (written && !m_scratch.atEnd()) {
        const QByteArray block = m_scratch.read(kCopyBlock);
        written = !block.isEmpty() && out.write(block) == block.size();
    }
    if (!written || out.write(trailer) != trailer.size()) {
        *why = QStringLiteral("writing the dictzip file failed: %1").arg(out.errorString());
        return false;
    }
    return true;
}

} // namespace vantro
