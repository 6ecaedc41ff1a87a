// SPDX-License-Identifier: GPL-3.0-or-later
// A seeded fault simulation of the dictionary. Each step runs one operation as a user would
// (vantro-dict put, del, import of a TSV, StarDict or dictd file, repair, export, or an open
// through the store as the window does), now and then under a fault: a SIGKILL at the k-th call
// of a random system call, or a disk that fills up part way. Between operations it damages a
// file after a clean close (a flipped bit or a zeroed page in the dictionary, its snapshot or
// its journal, the file's times kept) or leaves behind what a killed program leaves (a zero-byte
// "__db." file, a FIFO as the import mark, a half-written temporary).
//
// After every step the dictionary is read back and compared with a model of what was
// acknowledged. The invariants, each named when it breaks:
//   no hang               every run ends within the step's time limit
//   whole reads only      a reader that exits 0 printed exactly the acknowledged records
//   durable               after a repair that exits 0, every acknowledged record is there and
//                         no refused change is
//   repair recovers       a repair of a file damaged once recovers it (the snapshot and the
//                         journal, or the file itself, still hold every record)
//   failures are said     a run that exits non-zero says why on its standard error stream
//   writers get through   writes are not refused step after step when nothing is wrong
// A killed change may have happened or not: the model keeps both until a read shows which.
// When the dictionary is damaged while a damaged snapshot or journal is still in place, no copy
// holds everything: records may be lost then, but only if the program says so and keeps the
// damaged copy; the model takes what was recovered.
//
// Usage: vantro-faultsim --tool VANTRO_DICT [--steps N] [--seconds S] [--seed N]
//                        [--step-timeout S] [--faults kill,full,flip,zero,leftover]
//                        [--show-from STEP]
// (--faults narrows the mix to the kinds named, to look at one fault at a time; --seconds
// without --steps runs for that long, whatever the number of steps.)
// VANTRO_FAULTSIM_SECONDS in the environment overrides --seconds (and lifts the step count).
// Internal: vantro-faultsim --window DB  opens DB as the window does and prints its records.

#include "dictdb.h"
#include "importsource.h"
#include "record.h"
#include "recordline.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace vantro;

namespace {

using Records = QMap<QByteArray, QByteArray>;

struct Run
{
    int status = -1; // -1: killed or crashed
    bool started = false;
    bool timedOut = false;
    bool errorStreamFull = false; // the injected ENOSPC hits the error stream too
    QByteArray out;
    QByteArray err;
};

QByteArray linesOf(const Records &records)
{
    QByteArray text;
    for (auto it = records.cbegin(); it != records.cend(); ++it)
        text += formatRecordLine(it.key(), it.value());
    return text;
}

// The lines one text has and the other has not, a few of them, for the report.
QByteArray difference(const QByteArray &expected, const QByteArray &actual)
{
    const QList<QByteArray> want = expected.split('\n');
    const QList<QByteArray> got = actual.split('\n');
    const QSet<QByteArray> wantSet(want.cbegin(), want.cend()), gotSet(got.cbegin(), got.cend());
    QByteArray report;
    int missing = 0, extra = 0;
    for (const QByteArray &line : want)
        if (!gotSet.contains(line) && ++missing <= 3)
            report += "    missing: " + line.left(100) + '\n';
    for (const QByteArray &line : got)
        if (!wantSet.contains(line) && ++extra <= 3)
            report += "    unexpected: " + line.left(100) + '\n';
    return QByteArray::number(missing) + " acknowledged line(s) missing, " +
           QByteArray::number(extra) + " line(s) not acknowledged\n" + report;
}

// mount(8) and umount(8), whose refusal (not root) only means the disk fills by injection.
int runQuietly(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit
               ? process.exitCode()
               : -1;
}

int windowOpen(const QString &path)
{
    cDictDB db(path);
    if (db.openDB() != 0)
        return 1;
    QByteArray text;
    QByteArrayView key, data;
    QString why;
    while (db.nextStored(key, data, &why))
        appendRecordLine(text, key, data);
    const bool whole = why.isEmpty() && !db.damageFound();
    const bool closed = db.closeDB() == 0;
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    if (!whole)
        std::fprintf(stderr, "the window's walk stopped early\n");
    return whole && closed ? 0 : 1;
}

class Simulation
{
public:
    QString tool;
    QString self;
    unsigned seed = 1;
    int steps = 300;
    double seconds = 1e9;
    int stepTimeoutMs = 20000;
    // From this step on, each run's error stream and the folder's files are printed as they
    // come: what a failing seed's last steps did, without running it again under a debugger.
    int showFrom = 1 << 30;
    // The kinds of fault in play: kill, full, flip, zero, leftover.
    QStringList faults{"kill", "full", "flip", "zero", "leftover"};

    int run();

private:
    enum class Fault { None, Kill, FullDisk };

    // The dictionary's possible states: one, or more while a killed change is undecided.
    QList<Records> m_models{Records()};
    std::mt19937 m_dice;
    QTemporaryDir m_work, m_sources;
    QString m_db;
    int m_step = 0;
    bool m_damaged = false;
    // The snapshot or journal damaged, by inode: still in place while the inode is the same.
    QMap<QString, quint64> m_damagedCopies;
    bool m_doubleDamage = false;
    bool m_mounted = false;
    int m_refusedInARow = 0;
    QStringList m_trace;
    QByteArray m_lastErr;
    QMap<QString, int> m_counts;

    int roll(int n) { return int(m_dice() % unsigned(n)); }
    QByteArray someKey() { return "w" + QByteArray::number(roll(2500)); }
    QString someMeaning();
    Run execute(const QString &program, const QStringList &arguments, Fault fault);
    Run runDict(const QStringList &arguments, Fault fault = Fault::None);
    bool writerStep(Fault fault);
    bool applyOutcome(const Run &run, const std::function<Records(const Records &)> &change,
                      Fault fault, bool writer);
    bool check(const char *who, const Run &run, bool mustSucceed);
    bool checkRead(bool afterRepair);
    bool repairAndCheck(const char *why);
    bool damageStep();
    bool damagedCopyInPlace() const;
    bool lossWasTold(const Run &read);
    void leftoverStep();
    QString importSource(Records &records, QStringList &options, QString &why);
    bool fail(const char *invariant, const QByteArray &details);
    void showStep(const QStringList &command, const Run &run) const;
    bool setFreeSpace(qint64 bytes);
};

QString Simulation::someMeaning()
{
    QByteArray text(roll(100) < 4 ? 800 + roll(2500) : 1 + roll(60), 'a');
    for (char &c : text)
        c = char('a' + roll(26));
    return QString::fromLatin1(text);
}

Run Simulation::execute(const QString &program, const QStringList &arguments, Fault fault)
{
    static const char *const kKillPoints[] = {"openat", "write",  "pwrite64", "fdatasync",
                                              "fsync",  "rename", "unlink",   "ftruncate",
                                              "close",  "fcntl",  "read",     "pread64"};
    QStringList command{program};
    command += arguments;
    qint64 freeSpace = -1;
    bool quietAllowed = false;
    if (fault == Fault::Kill) {
        const QString point = QString::fromLatin1(kKillPoints[roll(std::size(kKillPoints))]);
        command =
            QStringList{
                "strace",
                "-f",
                "-qq",
                "-o",
                "/dev/null",
                "-e",
                QStringLiteral("inject=%1:signal=KILL:when=%2").arg(point).arg(1 + roll(80))} +
            command;
        m_trace.last() += QStringLiteral(" [killed at %1]").arg(command[6].section(u'=', 1));
    } else if (fault == Fault::FullDisk) {
        freeSpace = qint64(roll(40)) * 4096 + roll(4) * 65536;
        if (m_mounted && setFreeSpace(freeSpace)) {
            m_trace.last() += QStringLiteral(" [disk full after %1 bytes]").arg(freeSpace);
        } else {
            freeSpace = -1;
            const QString from = QString::number(1 + roll(60));
            command =
                QStringList{"strace",
                            "-f",
                            "-qq",
                            "-o",
                            "/dev/null",
                            "-e",
                            "inject=pwrite64,write,pwritev,fallocate:error=ENOSPC:when=" + from +
                                "+"} +
                command;
            m_trace.last() += QStringLiteral(" [ENOSPC from write %1]").arg(from);
            quietAllowed = true;
        }
    }
    QProcess process;
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.start(command[0], command.mid(1));
    Run run;
    if (!process.waitForStarted())
        return run;
    run.started = true;
    run.errorStreamFull = quietAllowed;
    if (!process.waitForFinished(stepTimeoutMs)) {
        ::kill(-pid_t(process.processId()), SIGKILL);
        process.waitForFinished(-1);
        run.timedOut = true;
    }
    if (freeSpace >= 0)
        setFreeSpace(-1);
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    // strace passes the tracee's status on, and dies of the tracee's signal.
    if (process.exitStatus() == QProcess::NormalExit && !run.timedOut)
        run.status = process.exitCode();
    if (m_step >= showFrom)
        showStep(command, run);
    return run;
}

Run Simulation::runDict(const QStringList &arguments, Fault fault)
{
    return execute(tool, QStringList{"--db", m_db} + arguments, fault);
}

// With bytes >= 0, leaves that much room on the scratch disk; with -1, room enough.
bool Simulation::setFreeSpace(qint64 bytes)
{
    struct statvfs disk;
    if (::statvfs(QFile::encodeName(m_work.path()).constData(), &disk) != 0)
        return false;
    const qint64 used = qint64(disk.f_blocks - disk.f_bfree) * qint64(disk.f_frsize);
    const qint64 size = bytes < 0 ? 256LL << 20 : used + bytes;
    return runQuietly(QStringLiteral("mount"),
                      {"-o", QStringLiteral("remount,size=%1k").arg((size + 1023) / 1024),
                       m_work.path()}) == 0;
}

bool Simulation::fail(const char *invariant, const QByteArray &details)
{
    std::fprintf(stderr, "\nINVARIANT BROKEN: %s, at step %d of seed %u\n%s\nthe last steps:\n",
                 invariant, m_step, seed, details.constData());
    for (const QString &line : m_trace.mid(qMax(0, int(m_trace.size()) - 15)))
        std::fprintf(stderr, "  %s\n", qPrintable(line));
    if (!m_lastErr.isEmpty())
        std::fprintf(stderr, "the last step said:\n%s", m_lastErr.constData());
    std::fprintf(stderr, "repeat with: vantro-faultsim --tool %s --seed %u --steps %d\n",
                 qPrintable(tool), seed, m_step);
    return false;
}

void Simulation::showStep(const QStringList &command, const Run &run) const
{
    std::printf("step %d: %s\n  exit %d\n", m_step, qPrintable(command.join(u' ').left(160)),
                run.status);
    for (const QByteArray &line : run.err.split('\n'))
        if (!line.isEmpty())
            std::printf("  said: %s\n", line.left(300).constData());
    for (const QFileInfo &file : QDir(m_work.path()).entryInfoList(QDir::Files | QDir::System))
        std::printf("  %10lld %s\n", qlonglong(file.size()), qPrintable(file.fileName()));
    std::fflush(stdout);
}

// What a run that did not succeed must at least do: end, and say why.
bool Simulation::check(const char *who, const Run &run, bool mustSucceed)
{
    if (!run.started)
        return fail("the simulation's own set-up", QByteArray(who) + " did not start");
    if (run.timedOut)
        return fail("no hang", QByteArray(who) + " ran past the step's time limit of " +
                                   QByteArray::number(stepTimeoutMs / 1000) + " s\n" + run.err);
    if (run.status > 0 && run.err.trimmed().isEmpty() && !run.errorStreamFull)
        return fail("failures are said",
                    QByteArray(who) + " exited " + QByteArray::number(run.status) + " silently");
    if (mustSucceed && run.status != 0)
        return fail("repair recovers", QByteArray(who) + " exited " +
                                           QByteArray::number(run.status) + ":\n" + run.err);
    return true;
}

// Reads the dictionary back with list (and now and then the window's open); a whole read must
// match one of the model's states, which then becomes the only one.
bool Simulation::checkRead(bool afterRepair)
{
    const bool window = roll(100) < 15;
    const Run read = window ? execute(self, {"--window", m_db}, Fault::None) : runDict({"list"});
    const char *reader = window ? "the window's open" : "list";
    if (!check(reader, read, false))
        return false;
    if (read.status != 0) {
        ++m_counts["reads refused"];
        if (afterRepair)
            return fail("durable", QByteArray(reader) +
                                       " failed after a repair that said it succeeded:\n" +
                                       read.err);
        return true;
    }
    for (const Records &model : std::as_const(m_models)) {
        if (linesOf(model) == read.out) {
            m_models = {model};
            // Only a repair that read back whole vouches for the damage being mended.
            m_damaged = m_damaged && !afterRepair;
            m_doubleDamage = m_doubleDamage && !afterRepair;
            return true;
        }
    }
    if (lossWasTold(read))
        return true;
    return fail(afterRepair ? "durable" : "whole reads only",
                QByteArray(reader) +
                    " exited 0 but the records differ from every acknowledged "
                    "state: " +
                    difference(linesOf(m_models.last()), read.out) + "and said:\n" + read.err);
}

bool Simulation::damagedCopyInPlace() const
{
    for (auto it = m_damagedCopies.cbegin(); it != m_damagedCopies.cend(); ++it) {
        struct stat info;
        if (::stat(QFile::encodeName(it.key()).constData(), &info) == 0 &&
            quint64(info.st_ino) == it.value())
            return true;
    }
    return false;
}

// After two copies were damaged, a loss the program told (and a damaged copy kept) is what it
// should do: the model then takes the records read.
bool Simulation::lossWasTold(const Run &read)
{
    const bool kept = !QDir(m_work.path()).entryList({"*.damaged*"}, QDir::Files).isEmpty();
    if (!m_doubleDamage || !kept || !(read.err + m_lastErr).contains("could not be"))
        return false;
    Records stored;
    for (const QByteArray &line : read.out.split('\n')) {
        QByteArray key, data;
        if (!line.isEmpty() && parseRecordLine(line, key, data, nullptr))
            stored.insert(key, data);
    }
    m_models = {stored};
    m_doubleDamage = false;
    ++m_counts["losses told after two copies were damaged"];
    return true;
}

bool Simulation::repairAndCheck(const char *why)
{
    m_trace.append(QStringLiteral("%1: repair (%2)").arg(m_step).arg(QLatin1String(why)));
    const Run repair = runDict({"repair"});
    m_lastErr = repair.err;
    if (!check("repair", repair, true))
        return false;
    return checkRead(true);
}

// Applies a run's outcome to the model: success takes the change, a refusal keeps every state
// as it was, a kill leaves both possible.
bool Simulation::applyOutcome(const Run &run, const std::function<Records(const Records &)> &change,
                              Fault fault, bool writer)
{
    QList<Records> next;
    for (const Records &model : std::as_const(m_models)) {
        const Records after = change(model);
        if (run.status != 0 && !next.contains(model))
            next.append(model);
        if ((run.status == 0 || run.status < 0) && !next.contains(after))
            next.append(after);
    }
    m_models = next;
    if (writer && fault == Fault::None && run.status > 0 && !m_damaged) {
        if (++m_refusedInARow >= 8)
            return fail("writers get through",
                        "8 writes in a row refused with nothing wrong:\n" + run.err);
    } else if (run.status == 0) {
        m_refusedInARow = 0;
    }
    return true;
}

QString Simulation::importSource(Records &records, QStringList &options, QString &why)
{
    const int format = roll(3);
    const QDir dir(m_sources.path());
    const QString tsv = dir.filePath(QStringLiteral("source.tsv"));
    Records wanted;
    const int count = roll(10) == 0 ? 1500 : 1 + roll(300);
    for (int i = 0; i < count; ++i)
        wanted.insert(someKey(), encodeData(someMeaning(), roll(4) ? QString() : someMeaning()));
    QFile file(tsv);
    if (!file.open(QIODevice::WriteOnly) || file.write(linesOf(wanted)) < 0)
        return {};
    file.close();
    QString path = tsv;
    if (format == 1) {
        const QString scratch = dir.filePath(QStringLiteral("scratch.db"));
        QFile::remove(scratch);
        path = dir.filePath(QStringLiteral("stardict.ifo"));
        execute(tool, {"--db", scratch, "import", tsv}, Fault::None);
        execute(tool, {"--db", scratch, "export", "--format", "stardict", path}, Fault::None);
    } else if (format == 2) {
        QByteArray index, data;
        for (auto it = wanted.cbegin(); it != wanted.cend(); ++it) {
            const QByteArray text =
                it.key() + "\n  " + QByteArray(it.value()).replace('|', ' ') + '\n';
            static const char digits[] =
                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
            auto base64 = [](qint64 n) {
                QByteArray s;
                do {
                    s.prepend(digits[n % 64]);
                    n /= 64;
                } while (n > 0);
                return s;
            };
            index += it.key() + '\t' + base64(data.size()) + '\t' + base64(text.size()) + '\n';
            data += text;
        }
        path = dir.filePath(QStringLiteral("dictd.index"));
        QFile indexFile(path), dataFile(dir.filePath(QStringLiteral("dictd.dict")));
        if (!indexFile.open(QIODevice::WriteOnly) || !dataFile.open(QIODevice::WriteOnly) ||
            indexFile.write(index) < 0 || dataFile.write(data) < 0)
            return {};
    }
    // What the import will take is what the exchange library reads from the file.
    ImportSource source = openImportSource(path, ImportFormat::Detect, RomanScheme::None);
    if (!source.records) {
        why = path + QStringLiteral(": ") + source.problems.join(u' ');
        return {};
    }
    QByteArrayView key, value;
    while (source.records->next(key, value))
        records.insert(key.toByteArray(), value.toByteArray());
    options = roll(2) ? QStringList{"--on-conflict", "replace"} : QStringList{};
    return path;
}

bool Simulation::writerStep(Fault fault)
{
    const int kind = roll(100);
    std::function<Records(const Records &)> change = [](const Records &m) { return m; };
    QStringList arguments;
    const Records &model = m_models.last();
    if (kind < 45) {
        const QByteArray key =
            !model.isEmpty() && roll(2) ? model.keys().at(roll(model.size())) : someKey();
        const QString meaning = someMeaning();
        const QString synonyms = roll(4) ? QString() : someMeaning();
        arguments = {"put", QString::fromLatin1(key), meaning};
        if (!synonyms.isEmpty())
            arguments.append(synonyms);
        change = [=](const Records &m) {
            Records after = m;
            after.insert(key, encodeData(meaning, synonyms));
            return after;
        };
    } else if (kind < 60) {
        const QByteArray key =
            !model.isEmpty() && roll(5) ? model.keys().at(roll(model.size())) : someKey();
        arguments = {"del", QString::fromLatin1(key)};
        change = [=](const Records &m) {
            Records after = m;
            after.remove(key);
            return after;
        };
    } else if (kind < 78) {
        Records records;
        QStringList options;
        QString why;
        const QString path = importSource(records, options, why);
        if (path.isEmpty())
            return fail("the simulation's own set-up",
                        "an import source could not be made: " + why.toUtf8());
        const bool replace = !options.isEmpty();
        arguments = QStringList{"import"} + options + QStringList{path};
        change = [=](const Records &m) {
            Records after = m;
            for (auto it = records.cbegin(); it != records.cend(); ++it)
                if (replace || !after.contains(it.key()))
                    after.insert(it.key(), it.value());
            return after;
        };
    } else if (kind < 88) {
        arguments = {"repair"};
    } else {
        m_trace.append(QStringLiteral("%1: the window opens and closes").arg(m_step));
        const Run run = execute(self, {"--window", m_db}, fault);
        m_lastErr = run.err;
        ++m_counts["window opens"];
        return check("the window's open", run, false) && applyOutcome(run, change, fault, true);
    }
    m_trace.append(QStringLiteral("%1: %2").arg(m_step).arg(arguments.join(u' ').left(90)));
    ++m_counts[arguments[0]];
    const Run run = runDict(arguments, fault);
    m_lastErr = run.err;
    if (!check(qPrintable(arguments[0]), run, false) || !applyOutcome(run, change, fault, true))
        return false;
    // A repair that says it succeeded must leave every acknowledged record readable.
    if (arguments[0] == QLatin1String("repair") && run.status == 0 && fault == Fault::None)
        return checkRead(true);
    if (arguments[0] == QLatin1String("repair") && fault == Fault::None && m_damaged)
        return fail("repair recovers", "repair exited " + QByteArray::number(run.status) +
                                           " on a file damaged once:\n" + run.err);
    return true;
}

// Damages one of the three files after a clean close, keeping its times, as a failing medium
// does behind the program's back.
bool Simulation::damageStep()
{
    const QStringList names{m_db, m_db + ".bak", m_db + "-journal"};
    const QString path = names[roll(3)];
    struct stat before;
    QFile file(path);
    if (::stat(QFile::encodeName(path).constData(), &before) != 0 || before.st_size == 0 ||
        !file.open(QIODevice::ReadWrite))
        return true;
    const bool zeroPage = faults.contains(QLatin1String("zero")) &&
                          (!faults.contains(QLatin1String("flip")) || roll(3) == 0);
    qint64 page = 4096;
    if (!path.endsWith(QLatin1String("-journal"))) {
        QByteArray meta = file.read(24);
        const quint32 size =
            meta.size() == 24 ? *reinterpret_cast<const quint32 *>(meta.constData() + 20) : 0;
        page = size >= 512 && size <= 65536 ? size : 4096;
    }
    QString what;
    if (zeroPage) {
        const qint64 pages = qMax<qint64>(1, before.st_size / page);
        const qint64 at = roll(int(pages)) * page;
        file.seek(at);
        file.write(QByteArray(int(qMin<qint64>(page, before.st_size - at)), '\0'));
        what = QStringLiteral("zeroed page %1").arg(at / page);
    } else {
        const qint64 at = roll(int(before.st_size));
        char byte = 0;
        file.seek(at);
        file.getChar(&byte);
        file.seek(at);
        const int bit = roll(8);
        file.putChar(char(byte ^ (1 << bit)));
        what = QStringLiteral("flipped bit %1 of byte %2").arg(bit).arg(at);
    }
    file.close();
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
    if (path == m_db)
        m_doubleDamage = damagedCopyInPlace();
    else
        m_damagedCopies.insert(path, quint64(before.st_ino));
    m_trace.append(
        QStringLiteral("%1: damage: %2 of %3").arg(m_step).arg(what, QFileInfo(path).fileName()));
    ++m_counts["damages"];
    m_damaged = true;
    return true;
}

void Simulation::leftoverStep()
{
    const QDir dir = QFileInfo(m_db).dir();
    const QString name = QFileInfo(m_db).fileName();
    const int kind = roll(3);
    QString what;
    if (kind == 0) {
        what = QStringLiteral("__db.") + name;
        // Left by an earlier program: an hour old.
        QFile leftover(dir.filePath(what));
        leftover.open(QIODevice::WriteOnly);
        leftover.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                             QFileDevice::FileModificationTime);
        // As a create on a full disk leaves it: the next writer creates the dictionary anew.
        if (roll(2) == 0) {
            for (const char *ending : {"", ".bak", "-journal", "-import"})
                QFile::remove(m_db + QLatin1String(ending));
            m_models = {Records()};
            m_damaged = false;
            what += QStringLiteral(", the dictionary removed");
        }
    } else if (kind == 1) {
        what = name + QStringLiteral("-import");
        QFile::remove(dir.filePath(what));
        ::mkfifo(QFile::encodeName(dir.filePath(what)).constData(), 0600);
        what += QStringLiteral(" (a FIFO)");
    } else {
        what =
            name + QStringLiteral(".new-") + QString::number(roll(999999)).rightJustified(6, u'0');
        QFile out(dir.filePath(what));
        QFile in(m_db);
        if (out.open(QIODevice::WriteOnly) && in.open(QIODevice::ReadOnly))
            out.write(in.read(in.size() / 2));
    }
    m_trace.append(QStringLiteral("%1: leftover: %2").arg(m_step).arg(what));
    ++m_counts["leftovers"];
}

int Simulation::run()
{
    m_dice.seed(seed);
    m_mounted = runQuietly(QStringLiteral("mount"),
                           {"-t", "tmpfs", "-o", "size=256m", "tmpfs", m_work.path()}) == 0;
    m_db = QDir(m_work.path()).filePath(QStringLiteral("morvak.db"));
    QElapsedTimer clock;
    clock.start();
    bool good = true;
    for (m_step = 1; good && m_step <= steps && clock.elapsed() < seconds * 1000; ++m_step) {
        const int what = roll(100);
        m_lastErr.clear();
        const bool damages =
            faults.contains(QLatin1String("flip")) || faults.contains(QLatin1String("zero"));
        if (what < 8 && damages && !m_damaged && QFile::exists(m_db))
            good = damageStep();
        else if (what >= 8 && what < 11 && faults.contains(QLatin1String("leftover")))
            leftoverStep();
        else if (what < 16) {
            m_trace.append(QStringLiteral("%1: export").arg(m_step));
            const QString out = QDir(m_sources.path()).filePath(QStringLiteral("export.tsv"));
            const Run run = runDict({"export", out});
            m_lastErr = run.err;
            ++m_counts["export"];
            QFile file(out);
            const QByteArray text = file.open(QIODevice::ReadOnly) ? file.readAll() : "";
            bool matched = false;
            for (const Records &model : std::as_const(m_models))
                matched = matched || linesOf(model) == text;
            good = check("export", run, false) &&
                   (run.status != 0 || matched ||
                    fail("whole reads only", "export exited 0 but wrote records that differ "
                                             "from every acknowledged state: " +
                                                 difference(linesOf(m_models.last()), text)));
        } else {
            const int faultRoll = roll(100);
            const bool kill = faultRoll < 18 && faults.contains(QLatin1String("kill"));
            const bool full =
                faultRoll >= 18 && faultRoll < 28 && faults.contains(QLatin1String("full"));
            good = writerStep(kill ? Fault::Kill : full ? Fault::FullDisk : Fault::None);
        }
        good = good && checkRead(false);
        // A killed change stays undecided while reads are refused; a repair settles it.
        if (good && m_models.size() > 4)
            good = repairAndCheck("too many undecided kills");
    }
    --m_step;
    // The last step may have removed the dictionary to start anew: then nothing is to be kept.
    if (good && !QFile::exists(m_db))
        good = m_models.contains(Records()) ||
               fail("durable", "the dictionary is gone, and it held acknowledged records");
    else
        good = good && repairAndCheck("the end of the run");
    if (m_mounted)
        runQuietly(QStringLiteral("umount"), {m_work.path()});
    std::printf("seed %u: %d steps in %.1f s, %lld records at the end, disk %s\n", seed, m_step,
                double(clock.elapsed()) / 1000, qlonglong(m_models.last().size()),
                m_mounted ? "a tmpfs filled up for real" : "full by injected ENOSPC");
    for (auto it = m_counts.cbegin(); it != m_counts.cend(); ++it)
        std::printf("  %s: %d\n", qPrintable(it.key()), it.value());
    std::printf("%s\n", good ? "every invariant held" : "an invariant broke (see above)");
    return good ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    const QStringList arguments = [&] {
        QStringList list;
        for (int i = 1; i < argc; ++i)
            list.append(QString::fromLocal8Bit(argv[i]));
        return list;
    }();
    if (arguments.size() == 2 && arguments[0] == QLatin1String("--window"))
        return windowOpen(arguments[1]);
    Simulation simulation;
    simulation.self = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    for (int i = 0; i + 1 < arguments.size(); i += 2) {
        const QString &name = arguments[i], &value = arguments[i + 1];
        if (name == QLatin1String("--tool"))
            simulation.tool = value;
        else if (name == QLatin1String("--steps"))
            simulation.steps = value.toInt();
        else if (name == QLatin1String("--seconds"))
            simulation.seconds = value.toDouble();
        // Time alone bounds the run when no step count is given with it.
        if (name == QLatin1String("--seconds") && !arguments.contains(QLatin1String("--steps")))
            simulation.steps = 1 << 30;
        else if (name == QLatin1String("--seed"))
            simulation.seed = value.toUInt();
        else if (name == QLatin1String("--faults"))
            simulation.faults = value.split(u',');
        else if (name == QLatin1String("--step-timeout"))
            simulation.stepTimeoutMs = value.toInt() * 1000;
        else if (name == QLatin1String("--show-from"))
            simulation.showFrom = value.toInt();
    }
    if (const QByteArray env = qgetenv("VANTRO_FAULTSIM_SECONDS"); !env.isEmpty()) {
        simulation.seconds = env.toDouble();
        simulation.steps = 1 << 30;
    }
    if (simulation.tool.isEmpty()) {
        std::fprintf(stderr,
                     "usage: %s --tool VANTRO_DICT [--steps N] [--seconds S] [--seed N] "
                     "[--step-timeout S] [--faults LIST] [--show-from STEP]\n",
                     argv[0]);
        return 2;
    }
    return simulation.run();
}
