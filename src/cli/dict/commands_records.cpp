// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"

#include "console.h"
#include "englishlemma.h"
#include "englishlookup.h"
#include "record.h"
#include "recordline.h"
#include "session.h"
#include "wordcoverage.h"

#include <cerrno>
#include <cstring>

namespace vantro::dict {
namespace {

void printCurrentRecord(cDictDB &db)
{
    StandardOutput out;
    out.write(formatRecordLine(db.storedKey(), db.storedData()));
}

// A word given on the command line must become a key: not empty, and Latin-1 throughout.
QString whyNotAWord(const QString &word)
{
    if (word.isEmpty())
        return QStringLiteral("the word is empty");
    if (!fitsLatin1(word))
        return QStringLiteral("\"%1\" holds characters that a dictionary cannot store (only "
                              "Latin-1 is possible)")
            .arg(word);
    return {};
}

// The line that tells a change was made. When it cannot be written (a full disk, a closed pipe)
// the change stands all the same, and the error stream says so: a caller that retries on the
// exit status must not believe it was not made.
int reportChange(const QByteArray &line)
{
    StandardOutput out;
    out.write(line + '\n');
    if (out.flush())
        return Success;
    return failure(QStringLiteral("%1 (the change is stored; writing this line to the standard "
                                  "output failed: %2)")
                       .arg(QString::fromUtf8(line), QString::fromLocal8Bit(std::strerror(errno))));
}

} // namespace

int runCount(const CommandContext &context)
{
    Session session(context.dbPath);
    if (!session.open(Session::Missing::Refuse, cDictDB::Access::ReadOnly))
        return Failure;
    const int keys = session.db().getStat();
    if (session.db().damageFound())
        return Failure;
    StandardOutput().writeLine(QString::number(keys));
    return Success;
}

int runGet(const CommandContext &context)
{
    const QString &word = context.args.at(0);
    if (const QString why = whyNotAWord(word); !why.isEmpty())
        return usageError(why);
    Session session(context.dbPath);
    if (!session.open(Session::Missing::Refuse, cDictDB::Access::ReadOnly))
        return Failure;
    // A damaged page was already said: that the word has no record is not known.
    if (!findExactly(session.db(), word))
        return session.db().damageFound()
                   ? Failure
                   : failure(QStringLiteral("no record for \"%1\"").arg(word.toLower()));
    printCurrentRecord(session.db());
    return Success;
}

int runLookup(const CommandContext &context)
{
    // A word pasted from a text brings its blanks along; the look-up is for the word.
    const QString word = context.args.at(0).trimmed();
    if (!fitsLatin1(word))
        return usageError(whyNotAWord(word));
    Session session(context.dbPath);
    if (!session.open(Session::Missing::Refuse, cDictDB::Access::ReadOnly))
        return Failure;
    const EnglishLookUp found = lookUpEnglish(session.db(), word, EnglishLemmas::instance());
    if (!found.found)
        return session.db().damageFound() ? Failure
                                          : failure(QStringLiteral("%1 not found").arg(word));
    printCurrentRecord(session.db());
    // The record of the word's lemma follows its own (saw, then see).
    if (!found.lemma.isEmpty() && findExactly(session.db(), found.lemma))
        printCurrentRecord(session.db());
    return Success;
}

int runList(const CommandContext &context)
{
    qlonglong limit = -1;
    if (context.parser.isSet(QStringLiteral("limit"))) {
        bool number = false;
        limit = context.parser.value(QStringLiteral("limit")).toLongLong(&number);
        if (!number || limit < 0)
            return usageError(QStringLiteral("--limit takes a whole number of records, 0 or more"));
    }
    const QString from = context.parser.value(QStringLiteral("from"));
    if (!fitsLatin1(from))
        return usageError(whyNotAWord(from));
    Session session(context.dbPath);
    if (!session.open(Session::Missing::Refuse, cDictDB::Access::ReadOnly))
        return Failure;
    cDictDB &db = session.db();
    db.setWord(from);
    StandardOutput out;
    int ret = db.getCursorRec(from.isEmpty() ? cDictDB::First : cDictDB::AtOrAfter);
    qlonglong shown = 0;
    for (; ret == 0 && shown != limit; ++shown) {
        out.write(formatRecordLine(db.storedKey(), db.storedData()));
        ret = db.getCursorRec(cDictDB::Next);
    }
    if (!out.flush())
        return failure(QStringLiteral("writing the list failed"));
    // A walk that stopped at damage printed only part of the dictionary: not a success.
    return db.damageFound()
               ? failure(QStringLiteral("the list stopped at damage after %1 records").arg(shown))
               : Success;
}

int runPut(const CommandContext &context)
{
    const QString &word = context.args.at(0);
    const QString &meaning = context.args.at(1);
    const QString synonyms = context.args.value(2);
    for (const QString &text : {word, meaning, synonyms}) {
        if (!fitsLatin1(text))
            return usageError(whyNotAWord(text));
    }
    if (word.isEmpty())
        return usageError(whyNotAWord(word));
    // Stored as typed or not at all: a "|" in the meaning would come back split.
    if (const QString why = whyNotReadBack(meaning, synonyms); !why.isEmpty())
        return usageError(why);
    Session session(context.dbPath);
    if (!session.open(Session::Missing::Create))
        return Failure;
    cDictDB &db = session.db();
    db.setWord(word);
    db.setITRANS(meaning);
    db.setSynonym(synonyms);
    // As the Save button does: add, and replace only when the word is already there. A write
    // that fails is not tried a second way: one line says why.
    const bool stored = db.hasKey(QString::fromLatin1(encodeKey(word)));
    if ((stored ? db.saveRecord() : db.addRecord()) != 0)
        return failure(
            QStringLiteral("could not write \"%1\": %2").arg(word.toLower(), db.failureReason()));
    const char *outcome = stored ? "overwritten" : "added";
    if (!session.close())
        return Failure;
    return reportChange(outcome + (": " + formatWord(encodeKey(word))));
}

int runDel(const CommandContext &context)
{
    const QString &word = context.args.at(0);
    if (const QString why = whyNotAWord(word); !why.isEmpty())
        return usageError(why);
    Session session(context.dbPath);
    if (!session.open(Session::Missing::Refuse))
        return Failure;
    cDictDB &db = session.db();
    if (!findExactly(db, word))
        return failure(QStringLiteral("no record for \"%1\"; nothing deleted").arg(word.toLower()));
    const QByteArray key = db.storedKey();
    // The library deletes a record under a cursor in two steps, each written and flushed on its
    // own (the second when the cursor closes): the cursor moves off it first.
    if (db.getCursorRec(cDictDB::Next) != 0)
        db.getCursorRec(cDictDB::Prev);
    db.setWord(QString::fromLatin1(key));
    if (db.deleteRecord() != 0)
        return failure(QStringLiteral("could not delete \"%1\": %2")
                           .arg(QString::fromLatin1(key), db.failureReason()));
    if (!session.close())
        return Failure;
    return reportChange("deleted: " + formatWord(key));
}

int runReverse(const CommandContext &context)
{
    const QString &text = context.args.at(0);
    const Qt::CaseSensitivity sensitivity = context.parser.isSet(QStringLiteral("ignore-case"))
                                                ? Qt::CaseInsensitive
                                                : Qt::CaseSensitive;
    Session session(context.dbPath);
    if (!session.open(Session::Missing::Refuse, cDictDB::Access::ReadOnly))
        return Failure;
    cDictDB &db = session.db();
    StandardOutput out;
    bool matched = false;
    for (int ret = db.getCursorRec(cDictDB::First); ret == 0;
         ret = db.getCursorRec(cDictDB::Next)) {
        if (db.getITRANS().contains(text, sensitivity) ||
            db.getSynonym().contains(text, sensitivity)) {
            out.write(formatRecordLine(db.storedKey(), db.storedData()));
            matched = true;
        }
    }
    if (!out.flush())
        return failure(QStringLiteral("writing the records failed"));
    // As get does: no record is a failure the caller can test for.
    return matched ? Success : failure(QStringLiteral("no record holds \"%1\"").arg(text));
}

} // namespace vantro::dict
