// SPDX-License-Identifier: GPL-3.0-or-later
// What the recovery journal costs: one change with and without it against the bare put+sync
// floor, and a snapshot and a check-and-replay open at each dictionary size; then what a clean
// open costs: the window's start-up (open and key count) against an empty dictionary, and
// vantro-dict count, put and get as processes at the largest size, compared within each round
// (the order alternates from round to round) with the smallest size or an empty journal.
// Usage: vantro-journalbench [--sizes 10000,1000000] [--changes N] [--runs N] [--rounds N]
//                            [--keep DIR]

#include "benchdata.h"
#include "dictdb.h"
#include "dictreplacement.h"
#include "floors.h"
#include "journal.h"
#include "snapshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

using namespace vantro;
using namespace vantro::bench;

namespace {

struct Options
{
    QList<qsizetype> sizes{10000, 1000000};
    int changes = 101;
    int runs = 5;
    int rounds = 15;
    // Where the clean-open dictionaries are built and left, for timing the tool from outside.
    QString keep;
};

Options parse(const QStringList &args)
{
    Options options;
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--sizes")) {
            options.sizes.clear();
            for (const QString &size : args[i + 1].split(QLatin1Char(',')))
                options.sizes.append(size.toLongLong());
        } else if (args[i] == QLatin1String("--changes")) {
            options.changes = args[i + 1].toInt();
        } else if (args[i] == QLatin1String("--runs")) {
            options.runs = args[i + 1].toInt();
        } else if (args[i] == QLatin1String("--rounds")) {
            options.rounds = args[i + 1].toInt();
        } else if (args[i] == QLatin1String("--keep")) {
            options.keep = args[i + 1];
        }
    }
    return options;
}

// The dictionary is written as an import writes it: the records in key order into a new file
// that takes the empty one's place, then the snapshot of it.
void build(const QString &path, qsizetype size)
{
    WordSource source(7);
    QList<std::pair<QByteArray, QByteArray>> records;
    for (const Entry &entry : makeEntries(source, size))
        records.append({entry.word.toLatin1(), entry.meaning.toLatin1()});
    std::sort(records.begin(), records.end());
    cDictDB db(path);
    QString why;
    auto replacement = db.openDB() == 0 ? db.beginReplacement(&why) : nullptr;
    if (!replacement)
        std::abort();
    for (const auto &[key, data] : records) {
        if (!replacement->put(key, data, nullptr))
            std::abort();
    }
    if (!db.commitReplacement(std::move(replacement), nullptr) || !db.takeSnapshot(nullptr) ||
        db.closeDB() != 0)
        std::abort();
}

int save(cDictDB &db, const QString &word)
{
    db.setWord(word);
    db.setITRANS(QStringLiteral("pramANam"));
    db.setSynonym({});
    return db.saveRecord();
}

struct ChangeFigures
{
    double save = 0;
    double floor = 0;
    double journalAppend = 0;
    double ratio = 0;
};

// Saves, each followed by one sample of each floor, so that all see the same disk.
ChangeFigures measureChanges(const QString &dir, const QString &path, int changes)
{
    const QString floorCopy = QDir(dir).filePath(QStringLiteral("floor.db"));
    QFile::copy(path, floorCopy);
    PutSyncFloor floor(floorCopy);
    Journal journal(QFile::encodeName(QDir(dir).filePath(QStringLiteral("alone-journal"))));
    if (!journal.open({}, nullptr))
        std::abort();
    cDictDB db(path);
    if (db.openDB() != 0)
        std::abort();
    QList<double> saves, floors, appends, ratios;
    for (int i = 0; i < changes; ++i) {
        const QString word = QStringLiteral("benchword%1").arg(i);
        saves.append(secondsOf([&] {
            if (save(db, word) != 0)
                std::abort();
        }));
        floors.append(floor.secondsFor(word.toLatin1()));
        appends.append(secondsOf([&] {
            qint64 mark = 0;
            if (!journal.append({JournalEntry::Op::Save, 0, word.toLatin1(), "pramANam"}, &mark,
                                nullptr))
                std::abort();
        }));
        ratios.append(saves.last() / floors.last());
    }
    for (int i = 0; i < changes; ++i) {
        db.setWord(QStringLiteral("benchword%1").arg(i));
        db.deleteRecord();
    }
    db.closeDB();
    return {median(saves), median(floors), median(appends), median(ratios)};
}

double measureSnapshot(const QString &path, int runs)
{
    cDictDB db(path);
    if (db.openDB() != 0)
        std::abort();
    const double seconds = medianSeconds(runs, [&] {
        if (!db.takeSnapshot(nullptr))
            std::abort();
    });
    db.closeDB();
    return seconds;
}

// The open after a program died with the dictionary open: the check of the whole file and the
// replay of one entry, on a copy of the files as the crash left them.
double measureOpenAfterCrash(const QString &dir, const QString &path, int runs)
{
    const QString crashDir = QDir(dir).filePath(QStringLiteral("crash"));
    QDir().mkpath(crashDir);
    const QString crashed = QDir(crashDir).filePath(QStringLiteral("morvak.db"));
    {
        cDictDB db(path);
        if (db.openDB() != 0 || save(db, QStringLiteral("crashword")) != 0)
            std::abort();
        for (const QString &name : {path, journalPath(path)}) {
            const QString target = QDir(crashDir).filePath(QFileInfo(name).fileName());
            QFile::remove(target);
            QFile::copy(name, target);
        }
        QFile::remove(snapshotPath(crashed));
        QFile::copy(snapshotPath(path), snapshotPath(crashed));
        db.closeDB();
    }
    QFile journalFile(journalPath(crashed));
    if (!journalFile.open(QIODevice::ReadOnly))
        std::abort();
    const QByteArray journalImage = journalFile.readAll();
    journalFile.close();
    return medianSeconds(
        runs,
        [&] {
            cDictDB db(crashed);
            if (db.openDB() != 0)
                std::abort();
            db.closeDB();
        },
        // Every run starts from the journal as the crash left it, marked open.
        [&] {
            journalFile.open(QIODevice::WriteOnly | QIODevice::Truncate);
            journalFile.write(journalImage);
            journalFile.close();
        });
}

// Opens and closes once, so that the journal records the key count as the window leaves it.
void openAndCount(const QString &path)
{
    cDictDB db(path);
    if (db.openDB() != 0)
        std::abort();
    db.getStat();
    db.closeDB();
}

// Fills the journal of a cleanly closed dictionary with saves of its own records up to share of
// the size at which a close takes a snapshot, as a clean close after those changes leaves it.
qint64 growJournal(const QString &path, double share)
{
    QFile file(journalPath(path));
    if (!file.open(QIODevice::ReadWrite))
        std::abort();
    JournalContents header = parseJournalHeader(file.read(kJournalHeaderSize));
    if (!header.headerValid || header.keyCount < 0)
        std::abort();
    const qint64 target = qint64(double(QFileInfo(path).size()) / 4 * share);
    QByteArray entries;
    WordSource source(7);
    const Entry entry = makeEntries(source, 1).first();
    const QByteArray one = encodeJournalEntry(
        {JournalEntry::Op::Save, 0, entry.word.toLatin1(), entry.meaning.toLatin1()});
    while (entries.size() + one.size() < target)
        entries += one;
    header.entriesEndAtClose = kJournalHeaderSize + entries.size();
    file.seek(0);
    if (file.write(encodeJournalHeader(header) + entries) != header.entriesEndAtClose ||
        !file.resize(header.entriesEndAtClose))
        std::abort();
    return entries.size();
}

double toolSeconds(const QString &path, const QStringList &command)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    const double seconds = secondsOf([&] {
        process.start(QStringLiteral(VANTRO_DICT_EXECUTABLE),
                      QStringList{QStringLiteral("--db"), path} + command);
        process.waitForFinished(-1);
    });
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() > 1)
        std::abort();
    return seconds;
}

// A ratio taken within one round: the two are timed one after the other, in the order the
// round's parity gives, so that a drift of the machine's speed touches both alike.
struct Pair
{
    QList<double> first, second, ratios;

    void add(int round, const std::function<double()> &a, const std::function<double()> &b)
    {
        double x = 0, y = 0;
        if (round % 2 == 0) {
            x = a();
            y = b();
        } else {
            y = b();
            x = a();
        }
        first.append(x);
        second.append(y);
        ratios.append(x / y);
    }
    void print(const char *what) const
    {
        QList<double> sorted = ratios;
        std::sort(sorted.begin(), sorted.end());
        std::printf("  %-52s %8.2f ms %8.2f ms  ratio min %.2f median %.2f\n", what,
                    median(first) * 1e3, median(second) * 1e3, sorted.value(0), median(ratios));
    }
};

void measureCleanOpens(const Options &options)
{
    QTemporaryDir temporary;
    const QDir dir(options.keep.isEmpty() ? temporary.path() : options.keep);
    const auto place = [&](const char *name) {
        dir.mkpath(QString::fromLatin1(name));
        return QDir(dir.filePath(QString::fromLatin1(name))).filePath(QStringLiteral("morvak.db"));
    };
    const QString empty = place("empty"), small = place("small"), large = place("large"),
                  grown = place("grown");
    openAndCount(empty);
    build(small, options.sizes.first());
    build(large, options.sizes.last());
    QFile::copy(large, grown);
    for (const QString &path : {small, large, grown})
        openAndCount(path);
    const qint64 journal = growJournal(grown, 0.9);
    FdatasyncFloor flush(dir.filePath(QStringLiteral("flush")));
    Pair startUp, count, put, get;
    QList<double> flushes;
    for (int round = 0; round < options.rounds; ++round) {
        // Twenty in a row, to lift a sample well above the timer's noise.
        const auto window = [](const QString &path) {
            return [path] {
                return secondsOf([&] {
                           for (int i = 0; i < 20; ++i) {
                               cDictDB db(path);
                               if (db.openDB() != 0)
                                   std::abort();
                               db.getStat();
                               db.closeDB();
                           }
                       }) /
                       20;
            };
        };
        const auto tool = [](const QString &path, const QStringList &command) {
            return [path, command] { return toolSeconds(path, command); };
        };
        const QStringList putWord{QStringLiteral("put"), QStringLiteral("benchword%1").arg(round),
                                  QStringLiteral("pramANam")};
        const QStringList getWord{QStringLiteral("get"), QStringLiteral("benchword0")};
        startUp.add(round, window(large), window(empty));
        count.add(round, tool(large, {QStringLiteral("count")}),
                  tool(small, {QStringLiteral("count")}));
        put.add(round, tool(grown, putWord), tool(large, putWord));
        get.add(round, tool(grown, getWord), tool(large, getWord));
        flushes.append(flush.seconds());
    }
    const QByteArray large_ = QByteArray::number(options.sizes.last());
    const QByteArray small_ = QByteArray::number(options.sizes.first());
    std::printf("clean opens, %d rounds (medians; ratios within a round):\n", options.rounds);
    startUp.print(("window start-up (open + key count), " + large_ + " / empty").constData());
    count.print(("vantro-dict count, " + large_ + " / " + small_).constData());
    const QByteArray mib = QByteArray::number(double(journal) / (1 << 20), 'f', 1);
    put.print(("vantro-dict put, " + mib + " MiB journal / empty").constData());
    get.print(("vantro-dict get, " + mib + " MiB journal / empty").constData());
    std::printf("  flush (4 KiB pwrite + fdatasync), median %.2f ms\n", median(flushes) * 1e3);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const Options options = parse(app.arguments());
    for (const qsizetype size : options.sizes) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("morvak.db"));
        build(path, size);
        const ChangeFigures change = measureChanges(dir.path(), path, options.changes);
        const double snapshot = measureSnapshot(path, options.runs);
        const double reopen = measureOpenAfterCrash(dir.path(), path, options.runs);
        std::printf("%lld records, %.1f MiB:\n", static_cast<long long>(size),
                    double(QFileInfo(path).size()) / (1 << 20));
        std::printf("  Save with the journal        %8.2f ms\n", change.save * 1e3);
        std::printf("  floor: DB->put + DB->sync    %8.2f ms\n", change.floor * 1e3);
        std::printf("  journal append + fdatasync   %8.2f ms\n", change.journalAppend * 1e3);
        std::printf("  Save / floor (paired median) %8.2f\n", change.ratio);
        std::printf("  snapshot (copy, flushes)     %8.1f ms\n", snapshot * 1e3);
        std::printf("  open after a crash (check + replay) %8.1f ms\n", reopen * 1e3);
        std::fflush(stdout);
    }
    if (options.sizes.size() > 1)
        measureCleanOpens(options);
    return 0;
}
