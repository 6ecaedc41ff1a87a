// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pagescan.h"

#include <QByteArray>
#include <QList>

namespace vantro {

// What a damaged B-tree file still yields: every pair on every leaf page that is sound (see
// PageScan), whatever lies damaged before or after it, in key order. When the first page itself
// is damaged the page size is taken from likePath (a copy of the same dictionary).
struct Salvage
{
    QList<StoredPair> records;
    int damagedPages = 0;
    // Leaf items on sound pages that could not be read (a broken overflow chain).
    int unreadableItems = 0;
};

Salvage salvageRecords(const QByteArray &path, const QByteArray &likePath = {});

} // namespace vantro
