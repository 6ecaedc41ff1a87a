// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the dictionary's costs at several sizes, each judged against what it is compared with
// in the same round: vantro-dictbench [--sizes 10000,1000000] [--rounds N] [--keep DIR].
//
// Everything that is compared runs interleaved, round after round, and the order within a round
// rotates, so that a disk that changes its speed during the run moves both sides of a ratio
// alike. Ratios are taken within each round; the figures are their minimum and median.

#include "benchdata.h"
#include "floors.h"

#include "dictdb.h"
#include "dictreplacement.h"
#include "record.h"
#include "search.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <unistd.h>

using namespace vantro;
using namespace vantro::bench;

namespace {

constexpr int kChangesPerRound = 21;
constexpr int kSearches = 1001;

void fail(const char *what)
{
    std::fprintf(stderr, "vantro-dictbench: %s failed\n", what);
    std::exit(1);
}

// One dictionary size and everything measured on it.
struct Size
{
    qsizetype records = 0;
    QString file;
    QString orderedInput;
    QString shuffledInput;
    QString loaderInput; // the key-ordered records as db_load -T reads them
    QList<KeyData> ordered;
    QList<KeyData> shuffled;
    QList<Entry> toSave;
    QList<QByteArray> floorKeys;
    QList<QString> present;
    QList<QString> absent;
    double fileMiB = 0;
    double searchPresent = 0;
    double searchAbsent = 0;
    // One value per round.
    QMap<QString, QList<double>> perRound;
};

QByteArray exchangeLines(const QList<KeyData> &pairs)
{
    QByteArray text;
    for (const KeyData &pair : pairs)
        text += pair.first + '\t' + pair.second + '\n';
    return text;
}

void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        fail("writing an input file");
}

Size prepare(const QString &dir, qsizetype records)
{
    Size size;
    size.records = records;
    WordSource source{quint32(records)};
    const QList<Entry> all = makeEntries(source, records + 3 * kChangesPerRound * 64 + kSearches);
    for (const Entry &entry : all.mid(0, records))
        size.ordered.append({encodeKey(entry.word), encodeData(entry.meaning, QString())});
    size.shuffled = size.ordered;
    std::sort(size.ordered.begin(), size.ordered.end());
    size.toSave = all.mid(records, kChangesPerRound * 64);
    for (const Entry &entry : all.mid(records + kChangesPerRound * 64, 2 * kChangesPerRound * 64))
        size.floorKeys.append(entry.word.toLatin1());
    for (const Entry &entry : all.mid(records + 3 * kChangesPerRound * 64))
        size.absent.append(entry.word);
    for (qsizetype i = 0; i < kSearches; ++i)
        size.present.append(QString::fromLatin1(size.ordered.at(i * records / kSearches).first));

    const QString stem = dir + QStringLiteral("/dict-%1").arg(records);
    size.file = stem + QStringLiteral(".db");
    size.orderedInput = stem + QStringLiteral("-ordered.tsv");
    size.shuffledInput = stem + QStringLiteral("-shuffled.tsv");
    writeFile(size.orderedInput, exchangeLines(size.ordered));
    writeFile(size.shuffledInput, exchangeLines(size.shuffled));
    size.loaderInput = stem + QStringLiteral("-ordered.load");
    QByteArray loaderLines;
    for (const KeyData &pair : size.ordered)
        loaderLines += pair.first + '\n' + pair.second + '\n'; // no backslash or line end in them
    writeFile(size.loaderInput, loaderLines);
    barePutSeconds(size.file, size.ordered, cDictDB::Replacement::kCacheBytes);
    size.fileMiB = double(QFileInfo(size.file).size()) / (1 << 20);
    // The first open starts the snapshot and the journal, as for any dictionary.
    cDictDB db(size.file);
    if (db.openDB() != 0 || db.getStat() != records || db.closeDB() != 0)
        fail("opening the built dictionary");
    return size;
}

// A whole process, timed from outside, with its peak memory as GNU time reports it (0 without
// /usr/bin/time). The kernel's own count for a child of this process would start from this
// process's size, which holds every input in memory.
struct Run
{
    double seconds = 0;
    double peakMiB = 0;
};

Run measuredProcess(const QString &program, const QStringList &arguments)
{
    const QString time = QStringLiteral("/usr/bin/time");
    const bool timed = QFile::exists(time);
    QProcess tool;
    tool.setStandardOutputFile(QProcess::nullDevice());
    Run run;
    run.seconds = secondsOf([&] {
        if (timed)
            tool.start(time, QStringList{QStringLiteral("-f"), QStringLiteral("%M"), program} +
                                 arguments);
        else
            tool.start(program, arguments);
        if (!tool.waitForFinished(-1) || tool.exitCode() != 0)
            fail(qPrintable(program));
    });
    if (timed)
        run.peakMiB = tool.readAllStandardError().trimmed().split('\n').last().toDouble() / 1024;
    return run;
}

double process(const QStringList &arguments)
{
    return secondsOf([&] {
        QProcess tool;
        tool.setStandardOutputFile(QProcess::nullDevice());
        tool.start(QStringLiteral(VANTRO_DICT_EXECUTABLE), arguments);
        if (!tool.waitForFinished(-1) || tool.exitCode() != 0)
            fail(qPrintable(arguments.join(QLatin1Char(' '))));
    });
}

void removeDictionary(const QString &file)
{
    for (const char *suffix : {"", ".bak", "-journal"})
        QFile::remove(file + QLatin1String(suffix));
}

double medianSearch(cDictDB &db, const QList<QString> &words, bool expectFound)
{
    QList<double> times;
    for (const QString &word : words) {
        bool found = false;
        times.append(secondsOf([&] { found = searchAtOrAfter(db, word); }));
        if (expectFound && !found)
            fail("searching a stored word");
    }
    return median(times);
}

// Saves and Deletes as the window runs them (the change, then the key count), each followed by
// one sample of each floor, so that both see the disk in the same state.
void measureChanges(Size &size, const QString &dir, int round)
{
    const QString floorFile = dir + QStringLiteral("/floor.db");
    QFile::remove(floorFile);
    if (!QFile::copy(size.file, floorFile))
        fail("copying the dictionary for the floor");
    ::sync();
    cDictDB db(size.file);
    if (db.openDB() != 0)
        fail("opening");
    const int keys = db.getStat();
    if (round == 0) {
        size.searchPresent = medianSearch(db, size.present, true);
        size.searchAbsent = medianSearch(db, size.absent, false);
    }
    QList<double> saves, deletes, putSyncs, flushes;
    {
        PutSyncFloor putSync(floorFile);
        FdatasyncFloor flush(dir + QStringLiteral("/small"));
        const QList<Entry> batch = size.toSave.mid(round * kChangesPerRound, kChangesPerRound);
        qsizetype floorKey = 2 * round * kChangesPerRound;
        for (const Entry &entry : batch) {
            saves.append(secondsOf([&] {
                db.setWord(entry.word);
                db.setITRANS(entry.meaning);
                db.setSynonym(QString());
                if (db.addRecord() != 0 || db.getStat() <= 0)
                    fail("saving");
            }));
            putSyncs.append(putSync.secondsFor(size.floorKeys.at(floorKey++)));
            flushes.append(flush.seconds());
        }
        for (const Entry &entry : batch) {
            deletes.append(secondsOf([&] {
                db.setWord(entry.word);
                if (db.deleteRecord() != 0 || db.getStat() <= 0)
                    fail("deleting");
            }));
            putSyncs.append(putSync.secondsFor(size.floorKeys.at(floorKey++)));
            flushes.append(flush.seconds());
        }
    }
    if (db.getStat() != keys || db.closeDB() != 0)
        fail("keeping the key count");
    QFile::remove(floorFile);
    size.perRound[QStringLiteral("save")].append(median(saves));
    size.perRound[QStringLiteral("delete")].append(median(deletes));
    size.perRound[QStringLiteral("putsync")].append(median(putSyncs));
    size.perRound[QStringLiteral("flush")].append(median(flushes));
}

// Reads a file through, untimed, so that whatever is timed next finds it in the page cache
// whichever side of a comparison runs first.
void warm(const QString &name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return;
    while (!file.read(1 << 20).isEmpty()) {
    }
}

using Step = std::function<void()>;

// The whole-file operations of one size in groups of what is compared with each other.
QList<QList<Step>> wholeFileGroups(Size &size, const QString &dir)
{
    const QString imported = dir + QStringLiteral("/imported.db");
    const QString bare = dir + QStringLiteral("/bare.db");
    const QString exported = dir + QStringLiteral("/exported.tsv");
    const QString walked = dir + QStringLiteral("/walked.tsv");
    Size *s = &size;
    const auto record = [s](const char *name, double seconds) {
        s->perRound[QLatin1String(name)].append(seconds);
    };
    const auto import = [=](const char *name, const QString &input) {
        removeDictionary(imported);
        warm(input);
        const Run run =
            measuredProcess(QStringLiteral(VANTRO_DICT_EXECUTABLE),
                            {QStringLiteral("--db"), imported, QStringLiteral("import"), input});
        record(name, run.seconds);
        s->perRound[QLatin1String(name) + QStringLiteral(" peak")].append(run.peakMiB);
    };
    const auto load = [=] {
        removeDictionary(bare);
        warm(s->loaderInput);
        record("db_load ordered",
               measuredProcess(QStringLiteral(VANTRO_DB_LOAD),
                               {QStringLiteral("-T"), QStringLiteral("-t"), QStringLiteral("btree"),
                                QStringLiteral("-f"), s->loaderInput, bare})
                   .seconds);
    };
    const auto walk = [=](const char *name, const QString &output) {
        qint64 seen = 0;
        warm(s->file);
        record(name, bareWalkSeconds(s->file, seen, output));
        if (seen != s->records)
            fail("walking");
    };
    const unsigned cache = cDictDB::Replacement::kCacheBytes;
    return {
        {[=] { import("import ordered", s->orderedInput); },
         [=] { record("bare ordered", barePutSeconds(bare, s->ordered, cache)); }, load},
        {[=] { import("import shuffled", s->shuffledInput); },
         [=] { record("bare shuffled", barePutSeconds(bare, s->shuffled, cache)); }},
        {[=] {
             warm(s->file);
             record("export",
                    process({QStringLiteral("--db"), s->file, QStringLiteral("export"), exported}));
         },
         [=] { walk("bare walk", QString()); }, [=] { walk("bare walk+write", walked); }},
        {[=] {
            record("count", process({QStringLiteral("--db"), s->file, QStringLiteral("count")}));
        }},
    };
}

struct Spread
{
    double min = 0;
    double median = 0;
};

// Ratios of two series of one round each, taken round by round.
Spread ratios(const QList<double> &top, const QList<double> &bottom)
{
    QList<double> values;
    for (qsizetype i = 0; i < top.size() && i < bottom.size(); ++i)
        values.append(top.at(i) / bottom.at(i));
    if (values.isEmpty())
        return {};
    return {*std::min_element(values.begin(), values.end()), vantro::bench::median(values)};
}

QString ms(double seconds)
{
    return seconds < 0.001 ? QStringLiteral("%1 us").arg(seconds * 1e6, 0, 'f', 1)
                           : QStringLiteral("%1 ms").arg(seconds * 1e3, 0, 'f', 2);
}

void printSize(const Size &size)
{
    const auto line = [&size](const char *label, const char *name) {
        const QList<double> &values = size.perRound.value(QLatin1String(name));
        std::printf("  %-46s %12s\n", label, qPrintable(ms(median(values))));
    };
    std::printf("\n%lld records (file %.1f MiB), medians over the rounds\n",
                qlonglong(size.records), size.fileMiB);
    std::printf("  %-46s %12s\n", "search, present word", qPrintable(ms(size.searchPresent)));
    std::printf("  %-46s %12s\n", "search, absent word", qPrintable(ms(size.searchAbsent)));
    line("Save (add) + key count", "save");
    line("Delete + key count", "delete");
    line("floor: DB->put + DB->sync", "putsync");
    line("flush cost: pwrite 4 KiB + fdatasync", "flush");
    line("vantro-dict count (process)", "count");
    line("vantro-dict export (process)", "export");
    line("floor: bare cursor walk", "bare walk");
    line("floor: bare cursor walk writing the lines", "bare walk+write");
    line("vantro-dict import, key-ordered input", "import ordered");
    line("floor: bare loader, same cache, key order", "bare ordered");
    line("db5.3_load process, key order", "db_load ordered");
    std::printf(
        "  %-46s %9.1f MiB\n", "import peak memory, key order (largest)",
        *std::max_element(size.perRound.value(QStringLiteral("import ordered peak")).cbegin(),
                          size.perRound.value(QStringLiteral("import ordered peak")).cend()));
    line("vantro-dict import, shuffled input", "import shuffled");
    line("floor: bare loader, same cache, shuffled", "bare shuffled");
}

void printRatio(const char *label, Spread spread, const char *goal)
{
    std::printf("  %-52s min %5.2f  median %5.2f   %s\n", label, spread.min, spread.median, goal);
}

void printRatios(const QList<Size> &sizes)
{
    const Size &small = sizes.first();
    const Size &large = sizes.last();
    const auto of = [](const Size &size, const char *name) {
        return size.perRound.value(QLatin1String(name));
    };
    std::printf("\nRatios within each round (%d rounds)\n", int(of(large, "save").size()));
    if (sizes.size() > 1) {
        std::printf(" %lld against %lld records:\n", qlonglong(large.records),
                    qlonglong(small.records));
        printRatio("Save", ratios(of(large, "save"), of(small, "save")), "(goal <= 1.5)");
        printRatio("Delete", ratios(of(large, "delete"), of(small, "delete")), "(goal <= 1.5)");
        printRatio("vantro-dict count", ratios(of(large, "count"), of(small, "count")),
                   "(goal <= 1.2)");
        printRatio("flush cost (the disk itself)", ratios(of(large, "flush"), of(small, "flush")),
                   "");
    }
    for (const Size &size : sizes) {
        std::printf(" %lld records:\n", qlonglong(size.records));
        printRatio("Save / put+sync floor", ratios(of(size, "save"), of(size, "putsync")),
                   "(goal <= 2.5 with the journal)");
        printRatio("export / bare walk", ratios(of(size, "export"), of(size, "bare walk")),
                   "(goal <= 1.3 at 1M)");
        printRatio("export / bare walk writing the lines",
                   ratios(of(size, "export"), of(size, "bare walk+write")), "");
        printRatio("import share of bare loader, key-ordered",
                   ratios(of(size, "bare ordered"), of(size, "import ordered")),
                   "(goal >= 0.90 at 1M)");
        printRatio("import / db5.3_load process, key-ordered",
                   ratios(of(size, "import ordered"), of(size, "db_load ordered")),
                   "(goal <= 1.2 at 1M)");
        printRatio("import share of bare loader, shuffled",
                   ratios(of(size, "bare shuffled"), of(size, "import shuffled")),
                   "(goal >= 0.90 at 1M)");
    }
    QList<double> flushes;
    for (const Size &size : sizes)
        flushes += of(size, "flush");
    std::printf("\nFlush cost in these rounds: median %s, min %s, max %s\n",
                qPrintable(ms(median(flushes))),
                qPrintable(ms(*std::min_element(flushes.begin(), flushes.end()))),
                qPrintable(ms(*std::max_element(flushes.begin(), flushes.end()))));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption sizesOption(QStringLiteral("sizes"),
                                         QStringLiteral("Comma-separated dictionary sizes."),
                                         QStringLiteral("LIST"), QStringLiteral("10000,1000000"));
    const QCommandLineOption roundsOption(QStringLiteral("rounds"),
                                          QStringLiteral("Rounds over everything compared."),
                                          QStringLiteral("N"), QStringLiteral("5"));
    const QCommandLineOption keepOption(
        QStringLiteral("keep"), QStringLiteral("Build in DIR and keep the dictionaries there."),
        QStringLiteral("DIR"));
    parser.addOptions({sizesOption, roundsOption, keepOption});
    parser.process(app);

    QTemporaryDir temporary;
    const QString dir = parser.isSet(keepOption) ? parser.value(keepOption) : temporary.path();
    QDir().mkpath(dir);
    const int rounds = std::clamp(parser.value(roundsOption).toInt(), 1, 64);
    QList<Size> sizes;
    for (const QString &records : parser.value(sizesOption).split(QLatin1Char(',')))
        sizes.append(prepare(dir, records.toLongLong()));

    // Every group of every size; each round starts the list of groups, and each group its own
    // members, one place further on, so that no side of a comparison always goes first.
    QList<QList<Step>> groups;
    for (Size &size : sizes)
        groups += wholeFileGroups(size, dir);
    for (int round = 0; round < rounds; ++round) {
        for (qsizetype i = 0; i < sizes.size(); ++i)
            measureChanges(sizes[(i + round) % sizes.size()], dir, round);
        for (qsizetype g = 0; g < groups.size(); ++g) {
            const QList<Step> &group = groups.at((g + round) % groups.size());
            for (qsizetype m = 0; m < group.size(); ++m)
                group.at((m + round) % group.size())();
        }
        std::fprintf(stderr, "round %d of %d done\n", round + 1, rounds);
    }
    for (const Size &size : sizes)
        printSize(size);
    printRatios(sizes);
    return 0;
}
