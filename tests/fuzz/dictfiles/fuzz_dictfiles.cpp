// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the files of a StarDict or dictd dictionary: the input's first byte picks the
// format and whether the data file is compressed, and a byte 0x1E separates the files (.ifo, .idx,
// data and .syn; or .index and data). The readers must refuse or read without a crash, an
// unbounded allocation or a read outside the data, and every record they give is one a
// dictionary can store: a key, in key order, no key twice.
#include "dictdreader.h"
#include "fuzzcheck.h"
#include "keyedrecords.h"
#include "stardictreader.h"

#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <unistd.h>
#include <zlib.h>

using namespace vantro;
using vantro::fuzz::require;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    require(file.write(bytes) == bytes.size());
}

// The data as a gzip file, so that the inflating reader sees it too.
QByteArray gzipped(const QByteArray &plain)
{
    z_stream stream{};
    require(deflateInit2(&stream, 1, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK);
    QByteArray out(qsizetype(deflateBound(&stream, uLong(plain.size())) + 32), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(plain.constData()));
    stream.avail_in = uInt(plain.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    require(deflate(&stream, Z_FINISH) == Z_STREAM_END);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const QString folder = [] {
        const QString path =
            QDir::temp().filePath(QStringLiteral("fuzz_dictfiles.%1").arg(::getpid()));
        QDir().mkpath(path);
        return path;
    }();
    const bool dictd = data[0] & 1;
    const bool compressed = data[0] & 2;
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)).split('\x1e');
    const QString base = folder + QStringLiteral("/d");
    for (const char *suffix : {".ifo", ".idx", ".syn", ".index", ".dict", ".dict.dz"})
        QFile::remove(base + QLatin1String(suffix));
    const QStringList names =
        dictd ? QStringList{".index", ".dict"} : QStringList{".ifo", ".idx", ".dict", ".syn"};
    for (qsizetype i = 0; i < names.size() && i < parts.size(); ++i) {
        const bool data = names[i] == QLatin1String(".dict");
        writeFile(base + names[i] + (data && compressed ? QStringLiteral(".dz") : QString()),
                  data && compressed ? gzipped(parts[i]) : parts[i]);
    }
    KeyedRecords records(RomanScheme::None);
    const bool read = dictd ? readDictd(base + QStringLiteral(".index"), records, nullptr)
                            : readStarDict(base + QStringLiteral(".ifo"), records, nullptr);
    if (!read)
        return 0;
    records.finish();
    QByteArrayView key;
    QByteArrayView value;
    QByteArray last;
    qint64 count = 0;
    while (records.next(key, value)) {
        require(!key.isEmpty() && (count == 0 || last < key));
        last = key.toByteArray();
        ++count;
    }
    require(count == records.size());
    return 0;
}
