// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vantro {

// Where a word lies in a line of ITRANS: characters start..end-1.
struct WordSpan
{
    int start = 0;
    int end = 0;

    bool isEmpty() const { return end <= start; }
    int length() const { return end - start; }
};

// The ITRANS word the cursor at position is in, just after or just before, else the nearest
// one before it in the line; empty when there is none. Words are separated by blanks and
// punctuation; ITRANS's own signs (R^i, ~n, .h, .a, _) belong to the word, a full stop at its end
// does not.
WordSpan itransWordAt(const QString &line, int position);

// Each line of a text joined with sandhi; text and result keep their line breaks ("\n" or
// the paragraph separators a text cursor's selection holds), as "\n".
QString joinLinesWithSandhi(const QString &text);

} // namespace vantro
