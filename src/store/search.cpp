// SPDX-License-Identifier: GPL-3.0-or-later
#include "search.h"

#include "dictdb.h"
#include "record.h"

#include <algorithm>

namespace vantro {

bool searchAtOrAfter(cDictDB &db, const QString &text)
{
    // A key another tool stored with capitals sorts before the lower-cased text the search
    // positions at, so it is taken as typed when the lower-cased text is no key.
    if (text != text.toLower() && fitsLatin1(text) && !db.hasKey(text.toLower()) &&
        db.getStoredRec(text.toLatin1()) == 0)
        return true;
    const qsizetype shortest = std::min<qsizetype>(3, text.size());
    QString candidate = text;
    while (candidate.size() >= shortest) {
        db.setWord(candidate);
        // Nothing at or after the text (it sorts after the last key) is a miss like any other:
        // a shorter beginning may still find a key, as waterfall finds water.
        if (db.getCursorRec(cDictDB::AtOrAfter) == 0 &&
            db.getWord().contains(candidate, Qt::CaseInsensitive))
            return true;
        if (candidate.isEmpty())
            return false;
        candidate.chop(1);
    }
    return false;
}

bool stepFromWord(cDictDB &db, const QString &word, bool forward)
{
    db.setWord(word);
    const bool after = db.getCursorRec(cDictDB::AtOrAfter) == 0;
    if (forward)
        return after;
    return db.getCursorRec(after ? cDictDB::Prev : cDictDB::Last) == 0;
}

} // namespace vantro
