// SPDX-License-Identifier: GPL-3.0-or-later
// Kills a dictionary writer with SIGKILL at random moments and checks, after every round, that
// the dictionary reopens through cDictDB, verifies, and holds every change the writer was told
// had succeeded and none it was told had failed. Every tenth round also damages a middle entry of
// the journal and the snapshot, as a failing medium would.
// Usage: vantro-killtest WRITER [--tool TOOL] [--rounds N] [--max-seconds S] [--seed N]
// Prints the figures and exits 1 when a change was lost or a file was left unrecoverable.

#include "capture.h"
#include "dictdb.h"
#include "filelock.h"
#include "journal.h"
#include "recovery.h"
#include "snapshot.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <optional>
#include <random>
#include <unistd.h>

using namespace vantro;

namespace {

using Dictionary = QMap<QByteArray, QByteArray>;

struct Figures
{
    long long rounds = 0, damagedAtKill = 0, unrecoverable = 0, damageRounds = 0;
    long long acknowledged = 0, refused = 0, lost = 0, lostToDamage = 0;
};

// One change as the writer announced it.
struct Change
{
    char op = 0;
    QByteArray key;
    QByteArray data;

    void applyTo(Dictionary &dictionary) const
    {
        // An import: every line of the exchange file (in key) replaces or adds its record.
        if (op == 'I') {
            for (const QByteArray &line : key.split('\n')) {
                if (const qsizetype tab = line.indexOf('\t'); tab > 0)
                    dictionary.insert(line.left(tab), line.mid(tab + 1));
            }
            return;
        }
        if (op == 'D')
            dictionary.remove(key);
        else if (op == 'S' || !dictionary.contains(key))
            dictionary.insert(key, data);
    }
};

// Runs the writer (with the tool's path, if any, after the seed) until the kill; answers
// everything it printed.
QByteArray runAndKill(const QStringList &writer, const QString &db, unsigned seed, int killAfterMs)
{
    QProcess process;
    // The refusals the writer provokes on purpose would only bury the figures.
    process.setStandardErrorFile(QProcess::nullDevice());
    // A group of its own, so that the run of the tool under way dies with it.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.start(writer[0], QStringList{db, QString::number(seed)} + writer.mid(1));
    if (!process.waitForStarted())
        return {};
    // Read while it runs, so that the kill finds it at work rather than waiting on a full pipe.
    QElapsedTimer running;
    running.start();
    while (running.elapsed() < killAfterMs)
        process.waitForReadyRead(int(killAfterMs - running.elapsed()));
    ::kill(-pid_t(process.processId()), SIGKILL);
    process.waitForFinished(-1);
    // Wait until the killed group no longer holds the file.
    for (FileLock probe; probe.acquire(QFile::encodeName(db), FileLock::Mode::Exclusive, nullptr) ==
                         FileLock::Result::Busy;)
        ::usleep(1000);
    return process.readAllStandardOutput();
}

// Applies the acknowledged changes to the model; answers the change whose outcome is unknown.
std::optional<Change> absorb(const QByteArray &output, Dictionary &model, Figures &figures)
{
    std::optional<Change> pending;
    for (const QByteArray &line : output.split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() >= 3 && parts[0] == "B")
            pending = Change{parts[1].at(0), QByteArray::fromHex(parts[2]),
                             QByteArray::fromHex(parts.value(3))};
        else if ((line == "K" || line == "F") && pending) {
            if (line == "K")
                pending->applyTo(model);
            ++(line == "K" ? figures.acknowledged : figures.refused);
            pending.reset();
        }
    }
    return pending;
}

std::optional<Dictionary> readBack(const QString &path)
{
    cDictDB db(path);
    Dictionary stored;
    const bool opened = db.openDB() == 0;
    for (int ret = opened ? db.getCursorRec(cDictDB::First) : 1; ret == 0;
         ret = db.getCursorRec(cDictDB::Next))
        stored.insert(db.storedKey(), db.storedData());
    return db.closeDB() == 0 && opened ? std::optional(stored) : std::nullopt;
}

qint64 differences(const Dictionary &model, const Dictionary &stored)
{
    const QByteArray missing("\x01missing");
    Dictionary keys = stored;
    keys.insert(model);
    qint64 count = 0;
    for (auto it = keys.cbegin(); it != keys.cend(); ++it)
        count += stored.value(it.key(), missing) != model.value(it.key(), missing) ? 1 : 0;
    return count;
}

// Counts the differences; the change in flight (a put or a whole import) may have happened or
// not, and the model takes whichever the file shows.
qint64 compare(Dictionary &model, const Dictionary &stored, const std::optional<Change> &pending)
{
    Dictionary after = model;
    if (pending)
        pending->applyTo(after);
    const qint64 before = differences(model, stored);
    if (const qint64 done = differences(after, stored); pending && done < before) {
        model = after;
        return done;
    }
    return before;
}

// Every tenth round plays a failing medium: a middle journal entry and the snapshot's first tree
// page are damaged after the kill. Answers whether anything was damaged.
bool damageRecoveryFiles(const QString &db)
{
    const JournalContents journal = Journal::read(QFile::encodeName(journalPath(db)));
    QFile journalFile(journalPath(db)), snapshot(snapshotPath(db));
    const bool entry =
        journal.entries.size() >= 3 && journalFile.open(QIODevice::ReadWrite) &&
        journalFile.seek(kJournalHeaderSize + encodeJournalEntry(journal.entries[0]).size() + 8) &&
        journalFile.write("\xA5\xA5") == 2;
    const bool page = snapshot.size() >= 8192 && snapshot.open(QIODevice::ReadWrite) &&
                      snapshot.seek(4096) && snapshot.write(QByteArray(64, '\xA5')) == 64;
    return entry || page;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || argc % 2 != 0) {
        std::fprintf(stderr,
                     "usage: %s WRITER [--tool TOOL] [--rounds N] [--max-seconds S] [--seed N]\n",
                     argv[0]);
        return 2;
    }
    Dictionary options{{"--rounds", "200"}, {"--max-seconds", "110"}, {"--seed", "1"}};
    for (int i = 2; i + 1 < argc; i += 2)
        options.insert(argv[i], argv[i + 1]);
    QStringList writer{QString::fromLocal8Bit(argv[1])};
    if (options.contains("--tool"))
        writer.append(QString::fromLocal8Bit(options["--tool"]));
    const int rounds = options["--rounds"].toInt();
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("morvak.db"));
    std::mt19937 random(options["--seed"].toUInt());
    Dictionary model;
    Figures figures;
    QElapsedTimer clock;
    clock.start();
    // The first rounds let the file grow; the tool, a process per change, needs longer rounds.
    const double milliseconds = options["--max-seconds"].toDouble() * 1000;
    for (; figures.rounds < rounds && clock.elapsed() <= milliseconds; ++figures.rounds) {
        const int killAfter = 5 + int(random() % (writer.size() == 1 ? 300 : 400));
        const QByteArray output = runAndKill(writer, db, unsigned(random()), killAfter);
        const std::optional<Change> pending = absorb(output, model, figures);
        const bool soundAtKill = !QFileInfo::exists(db) || fileVerifies(QFile::encodeName(db));
        const bool damageRound = figures.rounds % 10 == 9 && damageRecoveryFiles(db);
        figures.damagedAtKill += soundAtKill ? 0 : 1;
        figures.damageRounds += damageRound ? 1 : 0;
        std::optional<Dictionary> stored;
        vantro::test::captureOutput([&] { stored = readBack(db); });
        if (!stored || !fileVerifies(QFile::encodeName(db))) {
            ++figures.unrecoverable;
            std::fprintf(stderr, "round %lld: the dictionary did not reopen or verify\n",
                         figures.rounds);
            continue;
        }
        if (const long long lost = compare(model, *stored, pending); lost > 0) {
            // With the journal and the snapshot damaged on purpose, a file that was damaged too
            // can only be salvaged: what differs is counted apart, as the open reported it lost.
            (damageRound && !soundAtKill ? figures.lostToDamage : figures.lost) += lost;
            std::fprintf(stderr,
                         "round %lld: %lld record(s) differ from the acknowledged changes\n",
                         figures.rounds, lost);
            model = *stored;
        }
    }
    std::printf("writer: %s\nrounds: %lld\nacknowledged changes: %lld\nrefused changes: %lld\n"
                "records in the dictionary: %lld\nlost: %lld\nfiles damaged at the kill: %lld\n"
                "unrecoverable: %lld\nrounds with the journal and snapshot damaged: %lld (changes "
                "lost to it: %lld)\nseconds: %.1f\n",
                writer.size() == 1 ? "cDictDB" : "vantro-dict", figures.rounds,
                figures.acknowledged, figures.refused, static_cast<long long>(model.size()),
                figures.lost, figures.damagedAtKill, figures.unrecoverable, figures.damageRounds,
                figures.lostToDamage, double(clock.elapsed()) / 1000);
    const bool enough = figures.rounds >= qMin(rounds, 200);
    if (!enough)
        std::printf("too few rounds in the time allowed\n");
    return figures.lost == 0 && figures.unrecoverable == 0 && enough ? 0 : 1;
}
