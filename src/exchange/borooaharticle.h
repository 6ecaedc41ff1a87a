// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dictionaryarticle.h"

namespace vantro {

// An article of Borooah's English-Sanskrit dictionary as the Cologne digitisation gives it:
// "ABANDON:" echoing the headword, senses numbered I, II, III with their English first,
// alternatives numbered (1), (2) in Devanagari with the root and class after them
// ("tyajati, pari-, (tyaj, c. 1.)"), cross-references ("v. Belly"), and phrases after "Ph.".
QList<Article> readBorooahArticle(const QString &headword, const QString &html);

} // namespace vantro
