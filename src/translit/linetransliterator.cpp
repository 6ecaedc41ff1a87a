// SPDX-License-Identifier: GPL-3.0-or-later
#include "linetransliterator.h"

#include "itranstoken.h"
#include "transliterate.h"

namespace vantro {

namespace {

const QStringView kFence = u"##";

} // namespace

LineTransliterator::LineTransliterator(Script target, TranslitOptions options)
    : m_target(target), m_options(options)
{
}

QString LineTransliterator::convert(QStringView line)
{
    if (m_target == Script::Itrans)
        return devanagariToItrans(line, m_options);
    QString out;
    if (m_inFence) {
        const qsizetype close = line.indexOf(kFence);
        if (close < 0)
            return line.toString();
        out = line.left(close).toString();
        line = line.mid(close + kFence.size());
        m_inFence = false;
    }
    m_inFence = leavesFenceOpen(line);
    return out + fromItrans(line);
}

QString LineTransliterator::fromItrans(QStringView itrans) const
{
    return m_target == Script::Iast ? itransToIast(itrans, m_options)
                                    : itransToDevanagari(itrans, m_options);
}

} // namespace vantro
