// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace vantro {

// A Sanskrit word of a meaning with the grammar tags written after it, without their full
// stops: "m", "f", "n", "mfn", "ind", "1 P".
struct MeaningWord
{
    QString word;
    QStringList tags;
};

// The Sanskrit words of a dictionary meaning, in the order written: words between blanks,
// commas, semicolons and the sentence's punctuation; text fenced as English ("## ... ##") and
// numbers are left out, and the grammar tags ("m.", "f.", "n.", "1 P", "ind.") go with the word
// before them. Every reader of a meaning for its Sanskrit goes through here, so that a new kind
// of note is taught once.
QList<MeaningWord> sanskritWordsOfMeaning(const QString &meaning);

} // namespace vantro
