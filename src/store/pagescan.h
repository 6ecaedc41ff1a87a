// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

namespace vantro {

using StoredPair = QPair<QByteArray, QByteArray>;

// One pass over a B-tree file's pages as they lie on disk, without the database library: the
// library takes a page of zeros for one never written and follows whatever a page says, so a
// zeroed or foreign page can send it round for ever. Each page is sound when it is not all
// zeros, names its own number, is of a type a B-tree holds and, in a file with page checksums,
// passes its checksum.
struct PageScan
{
    bool readable = false; // false: no metadata page to read the page size from, or a read failed
    bool checksummed = false;
    quint32 pageSize = 0;
    quint32 pageCount = 0;
    QList<quint32> badPages; // zeroed, foreign or failing their checksum
    // With records asked for: every pair on the sound leaf pages, in key order, a key found
    // twice keeping its first data; and the number of leaf items that could not be read.
    QList<StoredPair> records;
    int unreadableItems = 0;

    bool sound() const { return readable && badPages.isEmpty(); }
};

// Reads every page of the file at path; with records, also the pairs of every sound leaf page
// (overflow chains followed only through sound overflow pages). pageSizeHint is used when the
// first page itself is damaged.
PageScan scanPages(const QByteArray &path, bool records = false, quint32 pageSizeHint = 0);

// Whether a file whose first page is no B-tree metadata page is still a damaged B-tree file: at
// least half of the pages after the first are sound and name their own numbers. A file of
// another kind (text, a hash database) is not, and must be left as it is.
bool isBtreeWithDamagedFirstPage(const QByteArray &path);

} // namespace vantro
