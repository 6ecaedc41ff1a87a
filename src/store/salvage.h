// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

namespace vantro {

using StoredPair = QPair<QByteArray, QByteArray>;

// Every key/data pair a damaged B-tree file still yields, read by the library's salvage mode
// (which walks the pages one by one and survives the bad ones). The careful pass comes first;
// only when it finds nothing are the pages read aggressively, which may also bring back pairs
// that had been deleted. When neither finds anything, the first page may be the damage: the pages
// are read again under a fresh first page, of the page size the file or else likePath (a copy of
// the same dictionary) names. A key found twice keeps its first data.
QList<StoredPair> salvageRecords(const QByteArray &path, const QByteArray &likePath = {});

// The pairs of the library's dump format ("HEADER=END", then one line of hex digits for each key
// and each data, each line starting with a space, then "DATA=END"), as salvage writes it.
QList<StoredPair> parseDump(const QByteArray &dump);

} // namespace vantro
