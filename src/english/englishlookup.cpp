// SPDX-License-Identifier: GPL-3.0-or-later
#include "englishlookup.h"

#include "dictdb.h"
#include "englishlemma.h"
#include "record.h"
#include "search.h"

namespace vantro {

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
