// SPDX-License-Identifier: GPL-3.0-or-later
#include "tablerows.h"

namespace vantro {

QList<QStringList> tableRows(const char *text)
{
    QList<QStringList> rows;
    for (const QString &line : QString::fromUtf8(text).split(u'\n'))
        if (!line.isEmpty() && !line.startsWith(u'#'))
            rows.append(line.split(u'\t'));
    return rows;
}

} // namespace vantro
