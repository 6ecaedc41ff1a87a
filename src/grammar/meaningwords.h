// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace vantro {

// The Sanskrit words of a dictionary meaning, in the order written: words between blanks,
// commas, semicolons and the sentence's punctuation; text fenced as English ("## ... ##"),
// numbers, and grammar tags ("m.", "f.", "n.", "1 P", "ind.") are left out. Every reader of
// a meaning for its Sanskrit goes through here, so that a new kind of note is taught once.
QStringList sanskritWordsOfMeaning(const QString &meaning);

} // namespace vantro
