// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysecommand.h"

#include "analyser.h"
#include "dictdb.h"
#include "exitstatus.h"
#include "recordwalk.h"
#include "textwords.h"
#include "transliterate.h"

#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

using namespace vantro;

namespace {

void complain(const QString &message)
{
    std::fprintf(stderr, "vantro-grammar: %s\n", qUtf8Printable(message));
}

// The dictionary's records as the lexicon takes them; false when a dictionary named on the
// command line cannot be read (the default one is used only when it is there).
bool loadDictionary(const AnalyseRequest &request, Analyser *analyser, bool *loaded)
{
    if (request.dictionary.isEmpty() ||
        (!request.dictionaryNamed && !QFileInfo::exists(request.dictionary)))
        return true;
    if (!QFileInfo::exists(request.dictionary)) {
        complain(QStringLiteral("%1: no such dictionary").arg(request.dictionary));
        return false;
    }
    cDictDB db(request.dictionary);
    db.setAccess(cDictDB::Access::ReadOnly);
    if (db.openDB() != 0) {
        complain(QStringLiteral("cannot open %1: %2").arg(request.dictionary, db.problem()));
        return false;
    }
    QList<Record> records;
    QString error;
    const bool read = readAllRecords(db, &records, &error);
    db.closeDB();
    if (!read) {
        complain(error);
        return false;
    }
    QList<MeaningRecord> meanings;
    meanings.reserve(records.size());
    for (const Record &record : std::as_const(records))
        meanings.append({record.word, record.meaning});
    analyser->addRecords(meanings);
    *loaded = true;
    return true;
}

QString fieldsInScript(const WordReading &reading, Script script)
{
    QStringList fields = readingFields(reading);
    if (fields.size() > 1)
        fields[1] = itransInScript(fields[1], script);
    return fields.join(u'\t');
}

// The word as written, and in brackets the pausal form it stands for when sandhi changed it.
QString wordField(const QString &word, const WordReading &reading, Script script)
{
    const QString written = itransInScript(word, script);
    return reading.pausalForm.isEmpty() || reading.pausalForm == word
               ? written
               : QStringLiteral("%1 (%2)").arg(written, itransInScript(reading.pausalForm, script));
}

// One line for each reading, or WORD<TAB>unknown; with --suggest, the suggestions after it.
bool analyseWord(const Analyser &analyser, const QString &word, const AnalyseRequest &request,
                 bool withKeys, QTextStream &out)
{
    const QList<WordReading> readings = analyser.analyse(word);
    for (const WordReading &reading : readings) {
        out << wordField(word, reading, request.script) << u'\t'
            << fieldsInScript(reading, request.script);
        // A stem no record's meaning holds has no keys: the line ends without the field, as it
        // would without a dictionary, rather than with an empty one.
        if (withKeys && !reading.englishKeys.isEmpty())
            out << u'\t' << reading.englishKeys.join(QStringLiteral(", "));
        out << u'\n';
    }
    if (!readings.isEmpty())
        return true;
    out << itransInScript(word, request.script) << QStringLiteral("\tunknown");
    if (request.suggest) {
        QStringList shown;
        for (const QString &suggestion : analyser.suggestions(word))
            shown.append(itransInScript(suggestion, request.script));
        out << u'\t' << shown.join(QStringLiteral(", "));
    }
    out << u'\n';
    return false;
}

} // namespace

int runAnalyse(const AnalyseRequest &request)
{
    Analyser analyser;
    bool withKeys = false;
    if (!loadDictionary(request, &analyser, &withKeys))
        return Failure;
    QTextStream out(stdout);
    bool allKnown = true;
    if (!request.words.isEmpty()) {
        for (const QString &word : request.words)
            allKnown = analyseWord(analyser, word, request, withKeys, out) && allKnown;
    } else {
        QTextStream in(stdin);
        QString line;
        while (in.readLineInto(&line)) {
            for (const TextWord &word : wordsToCheck(line))
                allKnown = analyseWord(analyser, line.mid(word.start, word.length), request,
                                       withKeys, out) &&
                           allKnown;
            out.flush();
        }
    }
    out.flush();
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        complain(QStringLiteral("cannot write the output"));
        return Failure;
    }
    return allKnown ? Success : Failure;
}
