// SPDX-License-Identifier: GPL-3.0-or-later
#include "wordcoverage.h"

#include "dictdb.h"
#include "englishlemma.h"
#include "englishlookup.h"
#include "record.h"

#include <QSet>
#include <algorithm>

namespace vantro::dict {

QStringList distinctWords(const QString &text)
{
    QSet<QString> seen;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool letter = i < text.size() && text.at(i).isLetter();
        if (letter && start < 0)
            start = i;
        if (!letter && start >= 0) {
            seen.insert(text.mid(start, i - start).toLower());
            start = -1;
        }
    }
    QStringList words(seen.cbegin(), seen.cend());
    std::sort(words.begin(), words.end());
    return words;
}

WordCoverage coverageOf(cDictDB &db, const QString &word)
{
    WordCoverage coverage{word, WordCoverage::Group::Missing, {}};
    // A word without a Latin-1 form cannot be a key, and searching for it would search for
    // its '?'-mangled bytes instead.
    if (!fitsLatin1(word))
        return coverage;
    const EnglishLookUp outcome = lookUpEnglish(db, word, EnglishLemmas::instance());
    if (!outcome.found)
        return coverage;
    coverage.key = outcome.key;
    coverage.group =
        outcome.key == word ? WordCoverage::Group::Key : WordCoverage::Group::RelatedKey;
    return coverage;
}

} // namespace vantro::dict
