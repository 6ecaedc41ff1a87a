// SPDX-License-Identifier: GPL-3.0-or-later
#include "importsource.h"

#include "dictdreader.h"
#include "importbatch.h"
#include "keyedrecords.h"
#include "stardictreader.h"

#include <QFile>
#include <QFileInfo>

namespace vantro {
namespace {

ImportSource fromTsv(const QString &path)
{
    ImportSource source;
    auto records = std::make_unique<TsvRecords>(path);
    if (const QString why = records->load(); !why.isEmpty()) {
        source.problems.append(why);
        return source;
    }
    const ImportCheck &check = records->check();
    for (const ImportCheck::Problem &problem : check.problems)
        source.problems.append(
            QStringLiteral("line %1: %2").arg(problem.number).arg(problem.reason));
    if (!source.problems.isEmpty())
        source.problems.append(
            QStringLiteral("%1 bad line(s); nothing was imported").arg(check.problems.size()));
    else
        source.records = std::move(records);
    return source;
}

ImportSource fromEntries(const SourceEntries &read, RomanScheme scheme, ArticleLayout layout,
                         const QString &fileName, QString language)
{
    ImportSource source;
    source.shortName = fileName;
    if (language.isEmpty())
        language = languageOfDictionary(read.bookName, fileName);
    if (language == u"sa")
        language.clear();
    if (!language.isEmpty())
        source.notes.append(QStringLiteral("the meanings are in the language \"%1\", not "
                                           "Sanskrit: they are stored fenced as \"##[%1] ...##\"")
                                .arg(language));
    if (!read.why.isEmpty()) {
        source.problems.append(read.why + QStringLiteral("; nothing was imported"));
        return source;
    }
    if (layout == ArticleLayout::Detect)
        layout = articleLayoutOfBook(read.bookName);
    std::unique_ptr<KeyedRecords> records;
    if (layout == ArticleLayout::Plain) {
        records = std::make_unique<KeyedRecords>(read.entries, scheme, language);
    } else {
        source.shortName = articleLayoutName(layout);
        ArticleCounts counts;
        records = std::make_unique<KeyedRecords>(
            articleEntries(read.entries, layout, scheme, &counts), scheme, language);
        source.notes.append(
            QStringLiteral("read %1 article(s) as the %2 dictionary's; %3 derived word(s) and "
                           "sub-entries became records of their own")
                .arg(counts.articles)
                .arg(articleLayoutName(layout))
                .arg(counts.subEntries));
        if (counts.unplainCharacters > 0)
            source.notes.append(QStringLiteral("%1 character(s) had no plain Latin-1 form; they "
                                               "are written as \"?\"")
                                    .arg(counts.unplainCharacters));
    }
    if (records->skipped() > 0)
        source.notes.append(
            QStringLiteral("skipped %1 headword(s) that a dictionary cannot hold (empty, or "
                           "beyond Latin-1): %2%3")
                .arg(records->skipped())
                .arg(records->firstSkipped().join(QStringLiteral(", ")),
                     records->skipped() > records->firstSkipped().size() ? QStringLiteral(", ...")
                                                                         : QString()));
    // What no meaning could hold, in characters: the classic layouts counted theirs already.
    if (records->unplainCharacters() > 0)
        source.notes.append(QStringLiteral("%1 character(s) in %2 meaning(s) had no plain Latin-1 "
                                           "form; they are written as \"?\"")
                                .arg(records->unplainCharacters())
                                .arg(records->lossyMeanings()));
    source.records = std::move(records);
    return source;
}

} // namespace

bool importFormatFromName(const QString &name, ImportFormat &format)
{
    if (name == QLatin1String("tsv"))
        format = ImportFormat::Tsv;
    else if (name == QLatin1String("stardict"))
        format = ImportFormat::StarDict;
    else if (name == QLatin1String("dictd"))
        format = ImportFormat::Dictd;
    else
        return false;
    return true;
}

QString dictionaryBaseName(const QString &path)
{
    for (const char *suffix : {".ifo", ".idx", ".idx.gz", ".syn", ".dict", ".dict.dz", ".index"}) {
        if (path.endsWith(QLatin1String(suffix)))
            return path.chopped(qsizetype(qstrlen(suffix)));
    }
    return path;
}

// A data file (.dict.dz) is named by StarDict and dictd alike: the file beside it decides.
ImportFormat detectImportFormat(const QString &path)
{
    const QString base = dictionaryBaseName(path);
    if (base == path)
        return ImportFormat::Tsv;
    if (path.endsWith(QLatin1String(".index")) || (!QFile::exists(base + QLatin1String(".ifo")) &&
                                                   QFile::exists(base + QLatin1String(".index"))))
        return ImportFormat::Dictd;
    return ImportFormat::StarDict;
}

ImportSource openImportSource(const QString &path, ImportFormat format, RomanScheme scheme,
                              ArticleLayout layout, const QString &language)
{
    switch (format == ImportFormat::Detect ? detectImportFormat(path) : format) {
    case ImportFormat::StarDict:
        return fromEntries(readStarDict(dictionaryBaseName(path) + QLatin1String(".ifo")), scheme,
                           layout, QFileInfo(dictionaryBaseName(path)).fileName(), language);
    case ImportFormat::Dictd:
        return fromEntries(readDictd(dictionaryBaseName(path) + QLatin1String(".index")), scheme,
                           layout, QFileInfo(dictionaryBaseName(path)).fileName(), language);
    case ImportFormat::Detect:
    case ImportFormat::Tsv:
        break;
    }
    return fromTsv(path);
}

} // namespace vantro
