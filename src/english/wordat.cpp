// SPDX-License-Identifier: GPL-3.0-or-later
#include "wordat.h"

namespace vantro {

QString wordAt(const QString &text, int position)
{
    if (position < 0 || position >= text.size() || !text.at(position).isLetter())
        return {};
    qsizetype start = position;
    while (start > 0 && text.at(start - 1).isLetter())
        --start;
    qsizetype end = position;
    while (end + 1 < text.size() && text.at(end + 1).isLetter())
        ++end;
    return text.mid(start, end - start + 1);
}

QString wordAtOrBefore(const QString &text, int position)
{
    const QString word = wordAt(text, position);
    return word.isEmpty() && position > 0 ? wordAt(text, position - 1) : word;
}

} // namespace vantro
