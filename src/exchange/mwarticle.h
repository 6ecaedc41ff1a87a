// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dictionaryarticle.h"

namespace vantro {

// An article of Monier-Williams' English-Sanskrit dictionary as the Cologne digitisation gives
// it: "To ABANDON, v. a." echoing the headword, then senses parted by "—", each with its gloss
// in brackets first, the Devanagari equivalents with their grammar ("c. 1. tyajati", "m.",
// "-tA -taM") after. The first article is the headword's; a sense glossed by one English word
// ("— (Brittle)") comes again as an article of that word, printedUnder the headword.
QList<Article> readMwArticle(const QString &headword, const QString &html);

} // namespace vantro
