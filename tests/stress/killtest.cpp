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

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace vantro;

namespace {

using Dictionary = QMap<QByteArray, QByteArray>;

struct Options
{
    QByteArray writer;
    QByteArray tool;
    int rounds = 200;
    double maxSeconds = 110;
    unsigned seed = 1;
};

struct Figures
{
    int rounds = 0;
    qint64 acknowledged = 0;
    qint64 refused = 0;
    qint64 lost = 0;
    int damagedAtKill = 0;
    int rebuilds = 0;
    int unrecoverable = 0;
    int damageRounds = 0;
    qint64 lostToDamage = 0;
};

// One change as the writer announced it.
struct Change
{
    char op = 0;
    QByteArray key;
    QByteArray data;

    void applyTo(Dictionary &dictionary) const
    {
        if (op == 'D')
            dictionary.remove(key);
        else if (op == 'S' || !dictionary.contains(key))
            dictionary.insert(key, data);
    }
};

// Runs the writer until the kill, answering everything it printed.
QByteArray runAndKill(const Options &options, const QString &db, unsigned seed, int killAfterMs)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    const QByteArray dbPath = db.toLocal8Bit();
    const QByteArray seedText = QByteArray::number(seed);
    const pid_t child = ::fork();
    if (child == 0) {
        ::setpgid(0, 0);
        ::dup2(pipeFds[1], STDOUT_FILENO);
        // The refusals the writer provokes on purpose would only bury the figures.
        if (const int null = ::open("/dev/null", O_WRONLY); null >= 0)
            ::dup2(null, STDERR_FILENO);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        const char *argv[] = {options.writer.constData(), dbPath.constData(), seedText.constData(),
                              options.tool.isEmpty() ? nullptr : options.tool.constData(), nullptr};
        ::execv(argv[0], const_cast<char **>(argv));
        std::_Exit(127);
    }
    ::setpgid(child, child);
    ::close(pipeFds[1]);
    ::usleep(useconds_t(killAfterMs) * 1000);
    // The whole group: with the tool, the run of it that is under way dies too.
    ::kill(-child, SIGKILL);
    ::kill(child, SIGKILL);
    QByteArray output;
    char block[1 << 16];
    for (ssize_t got; (got = ::read(pipeFds[0], block, sizeof block)) != 0;) {
        if (got > 0)
            output.append(block, got);
        else if (errno != EINTR)
            break;
    }
    ::close(pipeFds[0]);
    ::waitpid(child, nullptr, 0);
    // A run of the tool that was under way belongs to the killed group and dies too; wait
    // until it no longer holds the file.
    for (FileLock probe; probe.acquire(QFile::encodeName(db)) == FileLock::Result::Busy;)
        ::usleep(1000);
    return output;
}

// Applies the acknowledged changes to the model; answers the change whose outcome is unknown.
std::optional<Change> absorb(const QByteArray &output, Dictionary &model, Figures &figures)
{
    std::optional<Change> pending;
    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith("B ")) {
            const QList<QByteArray> parts = line.split(' ');
            if (parts.size() < 3)
                continue;
            pending = Change{parts[1].at(0), QByteArray::fromHex(parts[2]),
                             QByteArray::fromHex(parts.value(3))};
        } else if (line == "K" && pending) {
            pending->applyTo(model);
            ++figures.acknowledged;
            pending.reset();
        } else if (line == "F" && pending) {
            ++figures.refused;
            pending.reset();
        }
    }
    return pending;
}

std::optional<Dictionary> readBack(const QString &path)
{
    cDictDB db(path);
    if (db.openDB() != 0) {
        db.closeDB();
        return std::nullopt;
    }
    Dictionary stored;
    for (int ret = db.getCursorRec(cDictDB::First); ret == 0; ret = db.getCursorRec(cDictDB::Next))
        stored.insert(db.storedKey(), db.storedData());
    if (db.closeDB() != 0)
        return std::nullopt;
    return stored;
}

// Counts the differences; the change in flight may have happened or not, and the model takes
// whichever the file shows.
qint64 compare(Dictionary &model, const Dictionary &stored, const std::optional<Change> &pending)
{
    const QByteArray missing("\x01missing");
    if (pending) {
        Dictionary after = model;
        pending->applyTo(after);
        if (after.value(pending->key, missing) == stored.value(pending->key, missing))
            model = after;
    }
    qint64 differences = 0;
    for (auto it = model.cbegin(); it != model.cend(); ++it)
        differences += stored.value(it.key(), missing) != it.value() ? 1 : 0;
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        differences += model.contains(it.key()) ? 0 : 1;
    return differences;
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

int damagedCopies(const QDir &dir)
{
    return int(dir.entryList({QStringLiteral("morvak.db.damaged*")}, QDir::Files).size());
}

Options parse(int argc, char **argv)
{
    Options options;
    options.writer = argv[1];
    for (int i = 2; i + 1 < argc; i += 2) {
        const QByteArray name = argv[i];
        const char *value = argv[i + 1];
        if (name == "--tool")
            options.tool = value;
        else if (name == "--rounds")
            options.rounds = std::atoi(value);
        else if (name == "--max-seconds")
            options.maxSeconds = std::atof(value);
        else if (name == "--seed")
            options.seed = unsigned(std::strtoul(value, nullptr, 10));
    }
    return options;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: %s WRITER [--tool TOOL] [--rounds N] [--max-seconds S] "
                     "[--seed N]\n",
                     argv[0]);
        return 2;
    }
    const Options options = parse(argc, argv);
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("morvak.db"));
    std::mt19937 random(options.seed);
    Dictionary model;
    Figures figures;
    QElapsedTimer clock;
    clock.start();
    // The first rounds let the file grow; the tool, a process per change, needs longer rounds.
    const int longest = options.tool.isEmpty() ? 300 : 400;
    for (; figures.rounds < options.rounds; ++figures.rounds) {
        if (clock.elapsed() > options.maxSeconds * 1000)
            break;
        const int killAfter = 5 + int(random() % unsigned(longest));
        const QByteArray output = runAndKill(options, db, unsigned(random()), killAfter);
        const std::optional<Change> pending = absorb(output, model, figures);
        const bool soundAtKill = !QFileInfo::exists(db) || fileVerifies(QFile::encodeName(db));
        figures.damagedAtKill += soundAtKill ? 0 : 1;
        const bool damageRound = figures.rounds % 10 == 9 && damageRecoveryFiles(db);
        figures.damageRounds += damageRound ? 1 : 0;
        const int copiesBefore = damagedCopies(QDir(dir.path()));
        std::optional<Dictionary> stored;
        vantro::test::captureOutput([&] { stored = readBack(db); });
        if (damagedCopies(QDir(dir.path())) > copiesBefore)
            ++figures.rebuilds;
        if (!stored || !fileVerifies(QFile::encodeName(db))) {
            ++figures.unrecoverable;
            std::fprintf(stderr, "round %d: the dictionary did not reopen or verify\n",
                         figures.rounds);
            continue;
        }
        if (const qint64 lost = compare(model, *stored, pending); lost > 0) {
            // With the journal and the snapshot damaged on purpose, a file that was damaged too
            // can only be salvaged: what differs is counted apart, as the open reported it lost.
            (damageRound && !soundAtKill ? figures.lostToDamage : figures.lost) += lost;
            std::fprintf(stderr, "round %d: %lld record(s) differ from the acknowledged changes\n",
                         figures.rounds, static_cast<long long>(lost));
            model = *stored;
        }
    }
    std::printf("writer: %s\nrounds: %d\nacknowledged changes: %lld\nrefused changes: %lld\n"
                "records in the dictionary: %lld\nlost: %lld\nfiles damaged at the kill: %d\n"
                "rounds that needed a rebuild: %d\nunrecoverable: %d\n"
                "rounds with the journal and snapshot damaged: %d (changes lost to it: %lld)\n"
                "seconds: %.1f\n",
                options.tool.isEmpty() ? "cDictDB" : "vantro-dict", figures.rounds,
                static_cast<long long>(figures.acknowledged),
                static_cast<long long>(figures.refused), static_cast<long long>(model.size()),
                static_cast<long long>(figures.lost), figures.damagedAtKill, figures.rebuilds,
                figures.unrecoverable, figures.damageRounds,
                static_cast<long long>(figures.lostToDamage), double(clock.elapsed()) / 1000);
    const bool enough = figures.rounds >= qMin(options.rounds, 200);
    if (!enough)
        std::printf("too few rounds in the time allowed\n");
    return figures.lost == 0 && figures.unrecoverable == 0 && enough ? 0 : 1;
}
