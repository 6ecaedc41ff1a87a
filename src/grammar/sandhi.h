// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace vantro {

// External sandhi on ITRANS words. The usual result comes first in every list.
QStringList joinPair(const QString &first, const QString &second);

// Joins the words of a line (blank-separated ITRANS) as the grammar joins them; text fenced
// as English ("## ... ##"), numbers and punctuation are left as they are.
QString joinLine(QStringView line);
// Every permitted joining of the line, the usual one first.
QStringList joinLineVariants(QStringView line);

} // namespace vantro
