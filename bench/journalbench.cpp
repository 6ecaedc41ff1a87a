// What the recovery journal costs: one change with and without it against the bare put+sync
// floor, and a snapshot and a check-and-replay open at each dictionary size.
// Usage: vantro-journalbench [--sizes 10000,1000000] [--changes N] [--runs N]

#include "benchdata.h"
#include "dictdb.h"
#include "floors.h"
#include "journal.h"
#include "snapshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using namespace vantro;
using namespace vantro::bench;

namespace {

struct Options
{
    QList<qsizetype> sizes{10000, 1000000};
    int changes = 101;
    int runs = 5;
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
        }
    }
    return options;
}

void build(const QString &path, qsizetype size)
{
    WordSource source(7);
    cDictDB db(path);
    if (db.openDB() != 0)
        std::abort();
    db.setDeferredSync(true);
    for (const Entry &entry : makeEntries(source, size))
        db.putStoredRecord(entry.word.toLatin1(), entry.meaning.toLatin1(), true);
    if (db.flush() != 0 || !db.takeSnapshot().isEmpty() || db.closeDB() != 0)
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
    if (!journal.open())
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
            journal.append({JournalEntry::Op::Save, 0, word.toLatin1(), "pramANam"});
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
        if (!db.takeSnapshot().isEmpty())
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
    return 0;
}
