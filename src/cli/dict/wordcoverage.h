// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace vantro {
class cDictDB;
}

namespace vantro::dict {

// Every distinct word of a text by the look-up's letter rule, lower-cased, in key order.
QStringList distinctWords(const QString &text);

// Where a word of a text stands for the translator: stored under its own key, reachable only
// through a related key (its lemma, by the look-up's rule), or not in the dictionary.
struct WordCoverage
{
    enum class Group { Key, RelatedKey, Missing };
    QString word;
    Group group = Group::Missing;
    QString key;
};
WordCoverage coverageOf(cDictDB &db, const QString &word);

} // namespace vantro::dict
