// SPDX-License-Identifier: GPL-3.0-or-later
#include "salvage.h"

#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vantro {
namespace {

// The page size a B-tree's first page names, or 0 when it names none that can be.
quint32 pageSizeOf(const QByteArray &path)
{
    unsigned char meta[24];
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    const bool read = fd >= 0 && ::pread(fd, meta, sizeof meta, 0) == sizeof meta;
    if (fd >= 0)
        ::close(fd);
    quint32 size = 0;
    if (read)
        std::memcpy(&size, meta + 20, sizeof size);
    return size >= 512 && size <= 65536 && (size & (size - 1)) == 0 ? size : 0;
}

} // namespace

Salvage salvageRecords(const QByteArray &path, const QByteArray &likePath)
{
    const PageScan scan = scanPages(path, true, likePath.isEmpty() ? 0 : pageSizeOf(likePath));
    return {scan.records, int(scan.badPages.size()), scan.unreadableItems};
}

} // namespace vantro
