// SPDX-License-Identifier: GPL-3.0-or-later
#include "search.h"

#include "dictdb.h"
#include "englishlemma.h"
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

QString wordAt(const QString &text, int position)
{
    if (position < 0 || position >= text.size() || !text.at(position).isLetter())
        return {};
    qsizetype start = position;
    while (start > 0 && text.at(start - 1).isLetter())
        --start;
    qsizetype end = position;
    while (end + 1 < text.size() && text.at(end + 1).isLetter())
        ++end;
    return text.mid(start, end - start + 1);
}

QString wordAtOrBefore(const QString &text, int position)
{
    const QString word = wordAt(text, position);
    return word.isEmpty() && position > 0 ? wordAt(text, position - 1) : word;
}

namespace {

bool hasStored(cDictDB &db, const QString &word)
{
    return fitsLatin1(word) && db.getStoredRec(encodeKey(word)) == 0;
}

} // namespace

EnglishLookUp lookUpEnglish(cDictDB &db, const QString &word, const EnglishLemmas &lemmas)
{
    const QString lowered = word.toLower();
    if (lowered.isEmpty())
        return {};
    if (hasStored(db, lowered) ||
        (word != lowered && fitsLatin1(word) && db.getStoredRec(word.toLatin1()) == 0)) {
        EnglishLookUp own{true, db.getWord(), {}, {}};
        for (const QString &lemma : lemmas.lemmasOf(lowered)) {
            if (hasStored(db, lemma)) {
                QString synonyms;
                const QByteArray data = db.storedData();
                decodeData(data.constData(), data.size(), own.lemmaMeaning, synonyms);
                own.lemma = lemma;
                break;
            }
        }
        // The cursor stands on the word's own record again.
        if (!own.lemma.isEmpty() && db.getStoredRec(encodeKey(own.key)) != 0)
            return {};
        return own;
    }
    for (const QString &lemma : lemmas.lemmasOf(lowered)) {
        if (hasStored(db, lemma))
            return {true, lemma, {}, {}};
    }
    QString candidate = lowered;
    while (candidate.size() > 1) {
        candidate.chop(1);
        if (!searchAtOrAfter(db, candidate))
            break;
        const QString shown = db.getWord();
        if (lowered.contains(shown) && lemmas.relates(lowered, shown) && hasStored(db, shown))
            return {true, shown, {}, {}};
    }
    return {};
}

} // namespace vantro
