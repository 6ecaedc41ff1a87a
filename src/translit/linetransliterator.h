// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "script.h"
#include "translitoptions.h"

#include <QString>
#include <QStringView>

namespace vantro {

// Converts a text a line at a time, giving what converting it whole would give, so that a long
// text never has to be held at once. The only thing one line hands to the next is an ITRANS
// "##" fence left open. Pieces must end at a line break or a space (nothing joins across
// either), apart from the last.
class LineTransliterator
{
public:
    // To Devanagari or IAST from ITRANS; to ITRANS from Devanagari.
    explicit LineTransliterator(Script target, TranslitOptions options = {});
    QString convert(QStringView line);

private:
    QString fromItrans(QStringView itrans) const;

    Script m_target;
    TranslitOptions m_options;
    bool m_inFence = false;
};

} // namespace vantro
