// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QStringView>

namespace vantro {

// A word of a line of ITRANS text: where it starts and how long it is.
struct TextWord
{
    int start = 0;
    int length = 0;
};

// The words of one line that the analyser reads: runs of ITRANS letters between blanks and
// punctuation (the danda "|", commas, a sentence's full stop), outside text fenced as English
// ("## ... ##"); words holding digits are left out. A fence may span lines: insideFence says
// whether one is open where the line starts, and is left saying whether one is open after it.
QList<TextWord> wordsToCheck(QStringView line, bool *insideFence = nullptr);

} // namespace vantro
