// Prints medians of the dictionary's costs at several sizes, with the floors they are judged
// against measured in the same run: vantro-dictbench [--sizes 10000,100000,1000000]
// [--runs N] [--keep DIR].

#include "benchdata.h"
#include "floors.h"

#include "dictdb.h"
#include "record.h"
#include "search.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <unistd.h>

using namespace vantro;
using namespace vantro::bench;

namespace {

constexpr int kChanges = 201;
constexpr int kSearches = 1001;

struct Figures
{
    qsizetype size = 0;
    double fileMiB = 0;
    double build = 0;
    double openCount = 0;
    double searchPresent = 0;
    double searchAbsent = 0;
    double save = 0;
    double remove = 0;
    double exportAll = 0;
    double importAll = 0;
    double putSync = 0;
    double fdatasync = 0;
    double barePut = 0;
    double importShare = 0;
};

// What one size needs: the dictionary's entries and words that are not in it.
struct Workload
{
    QList<Entry> stored;
    QList<Entry> toSave;
    QList<QByteArray> floorKeys;
    QList<QString> absent;
};

Workload makeWorkload(qsizetype size)
{
    WordSource source{quint32(size)};
    QList<Entry> all = makeEntries(source, size + 3 * kChanges + kSearches);
    Workload load;
    load.stored = all.mid(0, size);
    load.toSave = all.mid(size, kChanges);
    for (const Entry &entry : all.mid(size + kChanges, 2 * kChanges))
        load.floorKeys.append(entry.word.toLatin1());
    for (const Entry &entry : all.mid(size + 3 * kChanges))
        load.absent.append(entry.word);
    return load;
}

void fail(const char *what)
{
    std::fprintf(stderr, "vantro-dictbench: %s failed\n", what);
    std::exit(1);
}

void build(const QString &file, const QList<Entry> &entries)
{
    cDictDB db(file);
    if (db.openDB() != 0)
        fail("creating the dictionary");
    db.setDeferredSync(true);
    for (const Entry &entry : entries) {
        db.setWord(entry.word);
        db.setITRANS(entry.meaning);
        db.setSynonym(QString());
        if (db.addRecord() != 0)
            fail("adding a record");
    }
    if (db.flush() != 0 || db.closeDB() != 0)
        fail("flushing the dictionary");
}

double openAndCount(const QString &file, int runs)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        cDictDB db(file);
        int keys = 0;
        times.append(secondsOf([&] {
            db.openDB();
            keys = db.getStat();
        }));
        db.closeDB();
        if (keys == 0)
            fail("opening and counting");
    }
    return median(times);
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

// Save and Delete as the window runs them: the change, then the refreshed key count. Each is
// followed by one sample of each floor, so that both see the disk in the same state.
void measureChanges(const QString &file, const QString &dir, const Workload &load, Figures &figures)
{
    const QString floorFile = dir + QStringLiteral("/floor.db");
    QFile::remove(floorFile);
    if (!QFile::copy(file, floorFile))
        fail("copying the dictionary for the floor");
    // Nothing of the build may still be on its way to the disk while single writes are timed.
    ::sync();

    cDictDB db(file);
    if (db.openDB() != 0)
        fail("opening");
    const int keys = db.getStat();
    QList<QString> present;
    for (qsizetype i = 0; i < kSearches; ++i)
        present.append(load.stored.at(i * load.stored.size() / kSearches).word);
    figures.searchPresent = medianSearch(db, present, true);
    figures.searchAbsent = medianSearch(db, load.absent, false);

    auto putSync = std::make_unique<PutSyncFloor>(floorFile);
    FdatasyncFloor fdatasync(dir + QStringLiteral("/small"));
    QList<double> saves;
    QList<double> deletes;
    QList<double> putSyncs;
    QList<double> fdatasyncs;
    qsizetype floorKey = 0;
    for (const Entry &entry : load.toSave) {
        saves.append(secondsOf([&] {
            db.setWord(entry.word);
            db.setITRANS(entry.meaning);
            db.setSynonym(QString());
            if (db.addRecord() != 0 || db.getStat() <= 0)
                fail("saving");
        }));
        putSyncs.append(putSync->secondsFor(load.floorKeys.at(floorKey++)));
        fdatasyncs.append(fdatasync.seconds());
    }
    for (const Entry &entry : load.toSave) {
        deletes.append(secondsOf([&] {
            db.setWord(entry.word);
            if (db.deleteRecord() != 0 || db.getStat() <= 0)
                fail("deleting");
        }));
        putSyncs.append(putSync->secondsFor(load.floorKeys.at(floorKey++)));
        fdatasyncs.append(fdatasync.seconds());
    }
    if (db.getStat() != keys)
        fail("keeping the key count");
    db.closeDB();
    putSync.reset();
    QFile::remove(floorFile);
    figures.save = median(saves);
    figures.remove = median(deletes);
    figures.putSync = median(putSyncs);
    figures.fdatasync = median(fdatasyncs);
}

double runTool(const QStringList &arguments, int runs, const std::function<void()> &setUp = {})
{
    return medianSeconds(
        runs,
        [&] {
            QProcess tool;
            tool.setStandardOutputFile(QProcess::nullDevice());
            tool.start(QStringLiteral(VANTRO_DICT_EXECUTABLE), arguments);
            if (!tool.waitForFinished(-1) || tool.exitCode() != 0)
                fail(qPrintable(arguments.join(QLatin1Char(' '))));
        },
        setUp);
}

QList<KeyData> pairsInKeyOrder(const QList<Entry> &entries)
{
    QList<KeyData> pairs;
    pairs.reserve(entries.size());
    for (const Entry &entry : entries)
        pairs.append({encodeKey(entry.word), encodeData(entry.meaning, QString())});
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

Figures measureSize(const QString &dir, qsizetype size, int runs)
{
    Figures figures;
    figures.size = size;
    const Workload load = makeWorkload(size);
    const QString file = dir + QStringLiteral("/dict-%1.db").arg(size);
    const QString exported = dir + QStringLiteral("/dict-%1.tsv").arg(size);
    const QString imported = dir + QStringLiteral("/imported-%1.db").arg(size);
    QFile::remove(file);
    figures.build = secondsOf([&] { build(file, load.stored); });
    figures.fileMiB = double(QFileInfo(file).size()) / (1 << 20);
    figures.openCount = openAndCount(file, runs);
    measureChanges(file, dir, load, figures);

    figures.exportAll =
        runTool({QStringLiteral("--db"), file, QStringLiteral("export"), exported}, runs);
    // The import and its floor run in turn, and their ratio is taken pair by pair, so that a
    // change in the disk's speed during the run moves both alike.
    const QList<KeyData> pairs = pairsInKeyOrder(load.stored);
    const QString bare = dir + QStringLiteral("/bare-%1.db").arg(size);
    const auto removeImported = [&] {
        for (const char *suffix : {"", ".bak", "-journal"})
            QFile::remove(imported + QLatin1String(suffix));
    };
    QList<double> imports;
    QList<double> barePuts;
    QList<double> ratios;
    for (int run = 0; run < runs; ++run) {
        removeImported();
        imports.append(
            runTool({QStringLiteral("--db"), imported, QStringLiteral("import"), exported}, 1));
        barePuts.append(barePutSeconds(bare, pairs));
        ratios.append(barePuts.last() / imports.last());
    }
    figures.importAll = median(imports);
    figures.barePut = median(barePuts);
    figures.importShare = median(ratios);
    QFile::remove(bare);
    removeImported();
    return figures;
}

QString milliseconds(double seconds)
{
    return seconds < 0.001 ? QStringLiteral("%1 us").arg(seconds * 1e6, 0, 'f', 1)
                           : QStringLiteral("%1 ms").arg(seconds * 1e3, 0, 'f', 3);
}

void printFigures(const Figures &f)
{
    const auto line = [](const char *name, const QString &value) {
        std::printf("  %-44s %14s\n", name, qPrintable(value));
    };
    std::printf("\n%lld records (file %.1f MiB, built in %.2f s)\n", qlonglong(f.size), f.fileMiB,
                f.build);
    line("open + first key count", milliseconds(f.openCount));
    line("search, present word", milliseconds(f.searchPresent));
    line("search, absent word", milliseconds(f.searchAbsent));
    line("Save (add) + key count", milliseconds(f.save));
    line("Delete + key count", milliseconds(f.remove));
    line("export, whole (vantro-dict process)", milliseconds(f.exportAll));
    line("import into an empty file (vantro-dict process)", milliseconds(f.importAll));
    line("floor: DB->put + DB->sync", milliseconds(f.putSync));
    line("floor: pwrite 4 KiB + fdatasync", milliseconds(f.fdatasync));
    line("floor: bare DB->put of all, one sync", milliseconds(f.barePut));
    line("import rate", QStringLiteral("%1 rec/s").arg(f.size / f.importAll, 0, 'f', 0));
    line("bare put rate", QStringLiteral("%1 rec/s").arg(f.size / f.barePut, 0, 'f', 0));
}

void printGoals(const QList<Figures> &all)
{
    const Figures &small = all.first();
    const Figures &large = all.last();
    std::printf("\nGoals (%lld vs %lld records)\n", qlonglong(large.size), qlonglong(small.size));
    std::printf("  Save ratio large/small            %.2f   (goal <= 1.5)\n",
                large.save / small.save);
    std::printf("  Delete ratio large/small          %.2f   (goal <= 1.5)\n",
                large.remove / small.remove);
    for (const Figures &f : all) {
        std::printf(
            "  %8lld: Save/floor %.2f, Delete/floor %.2f (goal <= 2.5 with the journal); search %s "
            "(goal < 1 ms); import/bare put rate %.0f%% (goal >= 70%%)\n",
            qlonglong(f.size), f.save / f.putSync, f.remove / f.putSync,
            qPrintable(milliseconds(std::max(f.searchPresent, f.searchAbsent))),
            100.0 * f.importShare);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption sizesOption(
        QStringLiteral("sizes"), QStringLiteral("Comma-separated dictionary sizes."),
        QStringLiteral("LIST"), QStringLiteral("10000,100000,1000000"));
    const QCommandLineOption runsOption(QStringLiteral("runs"),
                                        QStringLiteral("Runs of each whole-file measurement."),
                                        QStringLiteral("N"), QStringLiteral("5"));
    const QCommandLineOption keepOption(
        QStringLiteral("keep"), QStringLiteral("Build in DIR and keep the dictionaries there."),
        QStringLiteral("DIR"));
    parser.addOptions({sizesOption, runsOption, keepOption});
    parser.process(app);

    QTemporaryDir temporary;
    const QString dir = parser.isSet(keepOption) ? parser.value(keepOption) : temporary.path();
    QDir().mkpath(dir);
    const int runs = std::max(1, parser.value(runsOption).toInt());
    QList<Figures> all;
    for (const QString &size : parser.value(sizesOption).split(QLatin1Char(','))) {
        all.append(measureSize(dir, size.toLongLong(), runs));
        printFigures(all.last());
        std::fflush(stdout);
    }
    if (!all.isEmpty())
        printGoals(all);
    return 0;
}
