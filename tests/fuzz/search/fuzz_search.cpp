// SPDX-License-Identifier: GPL-3.0-or-later
// Any text searched in a small real dictionary: the at-or-after search with its shortening
// must not crash, and a record it accepts contains the text or one of its beginnings of at
// least three characters (ignoring case), and stands under the dictionary's cursor; the
// look-up by lemma finds only the word's key or a related one.
#include "dictdb.h"
#include "englishlemma.h"
#include "englishlookup.h"
#include "fuzzcheck.h"
#include "search.h"

#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>

using namespace vantro;
using vantro::fuzz::require;

namespace {

cDictDB &dictionary()
{
    static QTemporaryDir dir;
    // Closed before it is deleted, as the window does; a static one goes when the fuzzer exits.
    static std::unique_ptr<cDictDB, void (*)(cDictDB *)> db(nullptr, [](cDictDB *open) {
        open->closeDB();
        delete open;
    });
    if (!db) {
        db.reset(new cDictDB(dir.filePath(QStringLiteral("morvak.db"))));
        require(db->openDB() == 0);
        const char *words[] = {"a",         "ab",    "abc", "walk",  "walking",
                               "wall",      "water", "wat", "river", "zebra",
                               "\xe9t\xe9", "\xff",  "the", "then",  "x y"};
        // Saved under their own bytes, so that the capitals and Latin-1 letters stay as given.
        for (const char *word : words) {
            db->setITRANS("artha");
            db->setSynonym(word);
            require(db->saveRecordUnder(QByteArray(word)) == 0);
        }
    }
    return *db;
}

bool containsABeginning(const QString &key, const QString &text)
{
    const qsizetype shortest = std::min<qsizetype>(3, text.size());
    for (qsizetype length = text.size(); length >= shortest; --length) {
        if (key.contains(text.left(length), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    cDictDB &db = dictionary();
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).left(40);
    if (searchAtOrAfter(db, text)) {
        require(containsABeginning(db.getWord(), text));
        const QString shown = db.getWord();
        require(db.getCursorRec(cDictDB::Next) != 0 || db.getWord() > shown);
    }
    // The look-up finds the word's own key or one the lemma rules relate to it, and holds it.
    static const EnglishLemmas lemmas{QString()};
    const EnglishLookUp found = lookUpEnglish(db, text, lemmas);
    if (found.found) {
        const QString lowered = text.toLower();
        require(found.key == lowered || found.key == text || lemmas.relates(lowered, found.key));
        require(db.getWord() == found.key);
    }
    return 0;
}
