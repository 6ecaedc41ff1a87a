// SPDX-License-Identifier: GPL-3.0-or-later
#include "pagescan.h"

#include <db.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantro {
namespace {

// The on-disk layout the library keeps to itself, as every release since 4.1 writes it.
constexpr int kPageNumberAt = 8;
constexpr int kNextPageAt = 16;
constexpr int kEntriesAt = 20;
constexpr int kHighFreeAt = 22;
constexpr int kTypeAt = 25;
constexpr int kHeaderSize = 26;
// With checksums, two unused bytes and the four of the sum follow the header.
constexpr int kChecksumAt = 28;
constexpr int kChecksummedHeaderSize = 32;
constexpr int kMetaChecksumAt = 492;
constexpr int kMetaChecksummed = 512;
constexpr int kMetaFlagsAt = 26;
constexpr quint8 kMetaChecksumFlag = 0x01;

enum PageType : quint8 {
    kFree = 0,
    kInternal = 3,
    kLeaf = 5,
    kOverflow = 7,
    kBtreeMeta = 9,
};
enum ItemType : quint8 { kKeyData = 1, kOverflowItem = 3, kDeletedFlag = 0x80 };

constexpr uchar kZeros[4] = {0, 0, 0, 0};

// sum * 33 + byte for each byte, eight bytes a step so that the steps do not wait on each other.
quint32 addBytes(quint32 sum, const uchar *at, quint32 length)
{
    constexpr quint32 k1 = 33, k2 = k1 * 33, k3 = k2 * 33, k4 = k3 * 33, k5 = k4 * 33, k6 = k5 * 33,
                      k7 = k6 * 33, k8 = k7 * 33;
    quint32 i = 0;
    for (; i + 8 <= length; i += 8)
        sum = sum * k8 + (at[i] * k7 + at[i + 1] * k6 + at[i + 2] * k5 + at[i + 3] * k4) +
              (at[i + 4] * k3 + at[i + 5] * k2 + at[i + 6] * k1 + at[i + 7]);
    for (; i < length; ++i)
        sum = sum * 33 + at[i];
    return sum;
}

class Pages
{
public:
    // bytes holds the pages from first on.
    Pages(const uchar *bytes, quint32 pageSize, quint32 count, bool swapped, bool checksummed,
          quint32 first = 0)
        : m_bytes(bytes), m_pageSize(pageSize), m_count(count), m_first(first), m_swapped(swapped),
          m_checksummed(checksummed)
    {
    }

    const uchar *page(quint32 number) const
    {
        return m_bytes + qint64(number - m_first) * m_pageSize;
    }
    quint32 word(const uchar *at) const
    {
        quint32 value;
        std::memcpy(&value, at, sizeof value);
        return m_swapped ? __builtin_bswap32(value) : value;
    }
    quint16 half(const uchar *at) const
    {
        quint16 value;
        std::memcpy(&value, at, sizeof value);
        return m_swapped ? __builtin_bswap16(value) : value;
    }
    int overhead() const { return m_checksummed ? kChecksummedHeaderSize : kHeaderSize; }

    bool sound(quint32 number) const
    {
        const uchar *at = page(number);
        if (std::all_of(at, at + m_pageSize, [](uchar byte) { return byte == 0; }))
            return false;
        const quint8 type = at[kTypeAt];
        const bool typeFits =
            number == 0 ? type == kBtreeMeta
                        : type == kFree || type == kInternal || type == kLeaf || type == kOverflow;
        return typeFits && word(at + kPageNumberAt) == number && checksumHolds(number);
    }

    // The library's own sum: the page (the first 512 bytes of the metadata page) with the sum's
    // bytes as zeros, each byte added to 33 times the sum so far.
    bool checksumHolds(quint32 number) const
    {
        if (!m_checksummed)
            return true;
        const uchar *at = page(number);
        const int sumAt = number == 0 ? kMetaChecksumAt : kChecksumAt;
        const quint32 length = number == 0 ? kMetaChecksummed : m_pageSize;
        quint32 sum = addBytes(0, at, quint32(sumAt));
        sum = addBytes(sum, kZeros, 4);
        sum = addBytes(sum, at + sumAt + 4, length - quint32(sumAt) - 4);
        quint32 stored;
        std::memcpy(&stored, at + sumAt, sizeof stored);
        return stored == sum || stored == __builtin_bswap32(sum);
    }

    // The bytes of the leaf item at index, or false when they cannot be read whole.
    bool item(const uchar *leaf, int index, const QList<bool> &soundPages, QByteArray &out,
              bool &deleted) const
    {
        const quint16 offset = half(leaf + overhead() + 2 * index);
        if (offset < overhead() || offset + 3 > qint64(m_pageSize))
            return false;
        const uchar *at = leaf + offset;
        deleted = (at[2] & kDeletedFlag) != 0;
        const quint8 type = at[2] & ~kDeletedFlag;
        if (type == kKeyData) {
            const quint16 length = half(at);
            if (offset + 3 + length > qint64(m_pageSize))
                return false;
            out = QByteArray(reinterpret_cast<const char *>(at + 3), length);
            return true;
        }
        if (type == kOverflowItem && offset + 12 <= qint64(m_pageSize))
            return overflow(word(at + 4), word(at + 8), soundPages, out);
        return false;
    }

    // An overflow chain, read only through sound overflow pages and never round a loop.
    bool overflow(quint32 number, quint32 total, const QList<bool> &soundPages,
                  QByteArray &out) const
    {
        out.clear();
        for (quint32 visited = 0; out.size() < qint64(total); ++visited) {
            if (number == 0 || number >= m_count || visited >= m_count || !soundPages[number])
                return false;
            const uchar *at = page(number);
            const quint16 length = half(at + kHighFreeAt);
            if (at[kTypeAt] != kOverflow || overhead() + length > int(m_pageSize))
                return false;
            out.append(reinterpret_cast<const char *>(at + overhead()), length);
            number = word(at + kNextPageAt);
        }
        return out.size() == qint64(total);
    }

    void leafRecords(quint32 number, const QList<bool> &soundPages, PageScan &scan) const
    {
        const uchar *leaf = page(number);
        const int entries = half(leaf + kEntriesAt);
        if (overhead() + 2 * entries > int(m_pageSize) || entries % 2 != 0) {
            ++scan.unreadableItems;
            return;
        }
        for (int i = 0; i + 1 < entries; i += 2) {
            QByteArray key;
            QByteArray data;
            bool keyDeleted = false;
            bool dataDeleted = false;
            if (!item(leaf, i, soundPages, key, keyDeleted) ||
                !item(leaf, i + 1, soundPages, data, dataDeleted)) {
                ++scan.unreadableItems;
                continue;
            }
            if (!keyDeleted && !dataDeleted)
                scan.records.append({key, data});
        }
    }

private:
    const uchar *m_bytes;
    quint32 m_pageSize;
    quint32 m_count;
    quint32 m_first;
    bool m_swapped;
    bool m_checksummed;
};

bool keepsChecksums(const uchar *bytes, quint32 pageSize, quint32 count, bool swapped)
{
    const Pages pages(bytes, pageSize, count, swapped, true);
    for (quint32 number = 1; number < count; ++number) {
        // A page of zeros holds a sum of zero in either kind of file.
        if (pages.word(pages.page(number) + kPageNumberAt) == number && pages.checksumHolds(number))
            return true;
    }
    return false;
}

bool isPageSize(quint32 size)
{
    return size >= 512 && size <= 65536 && (size & (size - 1)) == 0;
}

void keepFirstOfEachKey(QList<StoredPair> &records)
{
    std::stable_sort(records.begin(), records.end(),
                     [](const StoredPair &a, const StoredPair &b) { return a.first < b.first; });
    records.erase(
        std::unique(records.begin(), records.end(),
                    [](const StoredPair &a, const StoredPair &b) { return a.first == b.first; }),
        records.end());
}

// Reads length bytes at offset whole; false on a read error or an early end.
bool readAt(int fd, char *into, qint64 length, qint64 offset)
{
    while (length > 0) {
        const ssize_t got = ::pread(fd, into, size_t(length), off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        into += got;
        length -= got;
        offset += got;
    }
    return true;
}

// With the first page damaged: the page size at which the second page names itself and is of a
// type a B-tree holds, or 0 when no size fits.
quint32 pageSizeFromSecondPage(int fd, qint64 fileSize)
{
    for (quint32 size = 512; size <= 65536; size *= 2) {
        uchar header[kHeaderSize];
        if (fileSize < 2 * qint64(size) ||
            !readAt(fd, reinterpret_cast<char *>(header), sizeof header, size))
            continue;
        quint32 number;
        std::memcpy(&number, header + kPageNumberAt, sizeof number);
        const quint8 type = header[kTypeAt];
        if (number == 1 && (type == kInternal || type == kLeaf || type == kOverflow))
            return size;
    }
    return 0;
}

// The whole file in memory, for the salvage and for a file whose first page cannot be read.
void scanWhole(int fd, qint64 size, bool records, bool metaReadable, bool swapped, PageScan &scan)
{
    QByteArray whole(qsizetype(size), '\0');
    if (!readAt(fd, whole.data(), size, 0)) {
        scan.readable = false;
        return;
    }
    const auto *bytes = reinterpret_cast<const uchar *>(whole.constData());
    // A damaged first page cannot say whether the file keeps checksums: the other pages tell,
    // since without them no page's bytes there would happen to be its sum.
    if (!metaReadable)
        scan.checksummed = keepsChecksums(bytes, scan.pageSize, scan.pageCount, swapped);
    const Pages pages(bytes, scan.pageSize, scan.pageCount, swapped, scan.checksummed);
    QList<bool> soundPages(scan.pageCount, false);
    for (quint32 number = 0; number < scan.pageCount; ++number) {
        soundPages[number] = pages.sound(number);
        if (!soundPages[number])
            scan.badPages.append(number);
    }
    if (!records)
        return;
    for (quint32 number = 1; number < scan.pageCount; ++number) {
        if (soundPages[number] && pages.page(number)[kTypeAt] == kLeaf)
            pages.leafRecords(number, soundPages, scan);
    }
    keepFirstOfEachKey(scan.records);
}

// A block of pages at a time, so that a check of a large file holds little of it in memory.
void scanInBlocks(int fd, bool swapped, PageScan &scan)
{
    constexpr quint32 kBlockPages = 256;
    QByteArray block(qsizetype(kBlockPages) * scan.pageSize, '\0');
    for (quint32 first = 0; first < scan.pageCount; first += kBlockPages) {
        const quint32 count = std::min(kBlockPages, scan.pageCount - first);
        if (!readAt(fd, block.data(), qint64(count) * scan.pageSize,
                    qint64(first) * scan.pageSize)) {
            scan.readable = false;
            return;
        }
        const Pages pages(reinterpret_cast<const uchar *>(block.constData()), scan.pageSize,
                          scan.pageCount, swapped, scan.checksummed, first);
        for (quint32 number = first; number < first + count; ++number) {
            if (!pages.sound(number))
                scan.badPages.append(number);
        }
    }
}

} // namespace

PageScan scanPages(const QByteArray &path, bool records, quint32 pageSizeHint)
{
    PageScan scan;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info;
    uchar meta[kMetaChecksummed];
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size < kMetaChecksummed ||
        !readAt(fd, reinterpret_cast<char *>(meta), sizeof meta, 0)) {
        if (fd >= 0)
            ::close(fd);
        return scan;
    }
    quint32 magic;
    std::memcpy(&magic, meta + 12, sizeof magic);
    const bool swapped = magic == __builtin_bswap32(quint32(DB_BTREEMAGIC));
    quint32 pageSize;
    std::memcpy(&pageSize, meta + 20, sizeof pageSize);
    if (swapped)
        pageSize = __builtin_bswap32(pageSize);
    const bool metaReadable = (magic == DB_BTREEMAGIC || swapped) && isPageSize(pageSize);
    if (!metaReadable && !isPageSize(pageSizeHint))
        pageSizeHint = pageSizeFromSecondPage(fd, info.st_size);
    if (!metaReadable)
        pageSize = isPageSize(pageSizeHint) ? pageSizeHint : 4096;
    scan.pageSize = pageSize;
    scan.pageCount = quint32(info.st_size / pageSize);
    scan.checksummed = metaReadable && (meta[kMetaFlagsAt] & kMetaChecksumFlag) != 0;
    scan.readable = metaReadable;
    if (records || !metaReadable)
        scanWhole(fd, info.st_size, records, metaReadable, swapped, scan);
    else
        scanInBlocks(fd, swapped, scan);
    ::close(fd);
    if (info.st_size % pageSize != 0)
        scan.badPages.append(scan.pageCount);
    return scan;
}

bool isBtreeWithDamagedFirstPage(const QByteArray &path)
{
    const PageScan scan = scanPages(path);
    if (scan.readable || scan.pageCount < 2)
        return false;
    const qsizetype laterBad =
        std::count_if(scan.badPages.cbegin(), scan.badPages.cend(),
                      [&scan](quint32 page) { return page > 0 && page < scan.pageCount; });
    const qsizetype laterSound = qsizetype(scan.pageCount - 1) - laterBad;
    return laterSound > 0 && laterSound >= laterBad;
}

} // namespace vantro
