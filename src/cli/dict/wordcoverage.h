// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace vantro {
class cDictDB;
}

namespace vantro::dict {

// The look-up of the English pane run against the dictionary: found is true when the last
// search it ran found a record, which the dictionary object then holds; key is the key shown.
struct LookUpOutcome
{
    bool found = false;
    QString key;
};
LookUpOutcome lookUpLoosely(cDictDB &db, const QString &word);

// Every distinct word of a text by the look-up's letter rule, lower-cased, in key order.
QStringList distinctWords(const QString &text);

// Where a word of a text stands for the translator: stored under its own key, reachable only
// through a shorter key lying inside it (the look-up's shortening), or not in the dictionary.
struct WordCoverage
{
    enum class Group { Key, ShorterKey, Missing };
    QString word;
    Group group = Group::Missing;
    QString key;
};
WordCoverage coverageOf(cDictDB &db, const QString &word);

} // namespace vantro::dict
