// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "translitoptions.h"

#include <QString>
#include <QStringView>

namespace vantro {

enum class TranslitTarget {
    Devanagari, // from ITRANS
    Iast,       // from ITRANS
    Itrans,     // from Devanagari
};

// Converts a text a line at a time, giving what converting it whole would give, so that a long
// text never has to be held at once. The only thing one line hands to the next is an ITRANS
// "##" fence left open. Pieces must end at a line break or a space (nothing joins across
// either), apart from the last.
class LineTransliterator
{
public:
    explicit LineTransliterator(TranslitTarget target, TranslitOptions options = {});
    QString convert(QStringView line);

private:
    QString fromItrans(QStringView itrans) const;

    TranslitTarget m_target;
    TranslitOptions m_options;
    bool m_inFence = false;
};

} // namespace vantro
