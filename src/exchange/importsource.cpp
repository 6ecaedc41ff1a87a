// SPDX-License-Identifier: GPL-3.0-or-later
#include "importsource.h"

#include "articlesink.h"
#include "dictdreader.h"
#include "importbatch.h"
#include "keyedrecords.h"
#include "meaningtext.h"
#include "stardictreader.h"
#include "tabglossaryreader.h"

#include <QFile>
#include <QFileInfo>

#include <functional>

namespace vantro {
namespace {

ImportSource fromTsv(const QString &path)
{
    ImportSource source;
    auto records = std::make_unique<TsvRecords>(path);
    if (QString why; !records->load(&why)) {
        source.problems.append(why);
        return source;
    }
    const ImportCheck &check = records->check();
    for (const ImportCheck::Problem &problem : check.problems)
        source.problems.append(
            QStringLiteral("line %1: %2").arg(problem.number).arg(problem.reason));
    // Not one record: no use listing every line of what is another kind of file.
    if (check.records == 0 && check.problems.size() > 1)
        source.problems = QStringList{
            QStringLiteral("%1 holds no line in the exchange format (word, tab, meaning in "
                           "ITRANS); nothing was imported")
                .arg(path)};
    else if (!source.problems.isEmpty())
        source.problems.append(
            QStringLiteral("%1 bad line(s); nothing was imported").arg(check.problems.size()));
    else
        source.records = std::move(records);
    return source;
}

QString namedList(const QStringList &first, qint64 count)
{
    return first.join(QStringLiteral(", ")) +
           (count > first.size() ? QStringLiteral(", ...") : QString());
}

QString skippedNames(const KeyedRecords &records)
{
    QStringList parts;
    if (records.emptyHeadwords() > 0)
        parts.append(QStringLiteral("%1 empty").arg(records.emptyHeadwords()));
    if (records.skipped() > records.emptyHeadwords())
        parts.append(
            namedList(records.firstSkipped(), records.skipped() - records.emptyHeadwords()));
    return parts.join(QStringLiteral(", "));
}

// What the layout and language settled on told, before what the records passed over.
void noteReading(const ArticleSink &articles, ImportSource &source)
{
    if (!articles.language().isEmpty())
        source.notes.append(QStringLiteral("the meanings are in the language \"%1\", not "
                                           "Sanskrit: they are stored fenced as \"##[%1] ...##\"")
                                .arg(articles.language()));
    if (articles.layout() == ArticleLayout::Plain)
        return;
    source.shortName = articleLayoutName(articles.layout());
    source.notes.append(
        QStringLiteral("read %1 article(s) as the %2 dictionary's; %3 derived word(s) and "
                       "sub-entries became records of their own")
            .arg(articles.counts().articles)
            .arg(articleLayoutName(articles.layout()))
            .arg(articles.counts().subEntries));
    if (articles.counts().unplainCharacters > 0)
        source.notes.append(QStringLiteral("%1 character(s) had no plain Latin-1 form; they are "
                                           "written as \"?\"")
                                .arg(articles.counts().unplainCharacters));
}

void noteRecords(const KeyedRecords &records, ImportSource &source)
{
    if (records.skipped() > 0)
        source.notes.append(
            QStringLiteral("skipped %1 headword(s) that a dictionary cannot hold (empty, or "
                           "beyond Latin-1): %2")
                .arg(records.skipped())
                .arg(skippedNames(records)));
    if (records.emptyMeanings() > 0)
        source.notes.append(QStringLiteral("%1 record(s) came with no meaning (their definitions "
                                           "held no text): %2")
                                .arg(records.emptyMeanings())
                                .arg(namedList(records.firstEmpty(), records.emptyMeanings())));
    // Counted in characters: a meaning of a thousand with one "?" is not a lost meaning. The
    // classic layouts counted theirs already.
    if (records.unplainCharacters() > 0)
        source.notes.append(QStringLiteral("%1 character(s) in %2 meaning(s) had no plain Latin-1 "
                                           "form; they are written as \"?\"")
                                .arg(records.unplainCharacters())
                                .arg(records.lossyMeanings()));
    else if (records.lossyMeanings() > 0)
        source.notes.append(QStringLiteral("%1 meaning(s) held characters beyond Latin-1 with no "
                                           "plain form; they are written as \"?\"")
                                .arg(records.lossyMeanings()));
}

// A foreign dictionary read by its reader into records, through the reading of the classic
// layouts; refused whole when the reader refused. Entries go on one at a time, so that no
// list of the dictionary's definitions is ever held.
ImportSource fromEntries(const std::function<bool(EntrySink &, QString *)> &read,
                         RomanScheme scheme, ArticleLayout layout, const QString &fileName,
                         const QString &language)
{
    ImportSource source;
    source.shortName = fileName;
    auto records = std::make_unique<KeyedRecords>(scheme);
    ArticleSink articles(*records, layout, scheme, language, fileName);
    if (QString why; !read(articles, &why)) {
        source.problems.append(why + QStringLiteral("; nothing was imported"));
        return source;
    }
    articles.finish();
    records->finish();
    noteReading(articles, source);
    noteRecords(*records, source);
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

// Only the .ifo's lines are read, up to its bookname.
DictionaryNaming namingOfDictionary(const QString &path)
{
    const ImportFormat format = detectImportFormat(path);
    QString bookName;
    if (format == ImportFormat::StarDict) {
        QFile info(dictionaryBaseName(path) + QLatin1String(".ifo"));
        if (info.open(QIODevice::ReadOnly)) {
            for (QByteArray line = info.readLine(4096); !line.isEmpty();
                 line = info.readLine(4096)) {
                if (line.startsWith("bookname=")) {
                    bookName = QString::fromUtf8(line.mid(9)).trimmed();
                    break;
                }
            }
        }
    }
    const QString fileName = format == ImportFormat::Tsv
                                 ? QFileInfo(path).completeBaseName()
                                 : QFileInfo(dictionaryBaseName(path)).fileName();
    DictionaryNaming naming{articleLayoutOfBook(bookName),
                            languageOfDictionary(bookName, fileName)};
    if (naming.language.isEmpty())
        naming.language = QStringLiteral("sa");
    return naming;
}

ImportSource openImportSource(const QString &path, ImportFormat format, RomanScheme scheme,
                              ArticleLayout layout, const QString &language)
{
    switch (format == ImportFormat::Detect ? detectImportFormat(path) : format) {
    case ImportFormat::StarDict:
        return fromEntries(
            [&path](EntrySink &sink, QString *why) {
                return readStarDict(dictionaryBaseName(path) + QLatin1String(".ifo"), sink, why);
            },
            scheme, layout, QFileInfo(dictionaryBaseName(path)).fileName(), language);
    case ImportFormat::Dictd:
        return fromEntries(
            [&path](EntrySink &sink, QString *why) {
                return readDictd(dictionaryBaseName(path) + QLatin1String(".index"), sink, why);
            },
            scheme, layout, QFileInfo(dictionaryBaseName(path)).fileName(), language);
    case ImportFormat::Detect:
    case ImportFormat::Tsv:
        break;
    }
    if (looksLikeTabGlossary(path))
        return fromEntries(
            [&path](EntrySink &sink, QString *why) { return readTabGlossary(path, sink, why); },
            scheme, layout, QFileInfo(path).completeBaseName(), language);
    return fromTsv(path);
}

} // namespace vantro
