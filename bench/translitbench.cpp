// SPDX-License-Identifier: GPL-3.0-or-later
// What vantro-translit costs on long inputs: throughput in MB/s of input (by the clock and by
// the tool's CPU time) and the peak memory (ru_maxrss) of the tool's process, for ITRANS ->
// Devanagari, for ITRANS without a single line break, and for Devanagari -> ITRANS, with the
// output read through a pipe as a user's next command would read it. The time to the first
// output byte shows whether the output flows while the input is still being read.
// Usage: vantro-translitbench [--sizes 1,100] [--tool PATH]

#include "transliterate.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

using namespace vantro;

namespace {

struct Options
{
    QList<int> megabytes{1, 100};
    QString tool = QStringLiteral(VANTRO_TRANSLIT_EXECUTABLE);
};

Options parse(const QStringList &args)
{
    Options options;
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--sizes")) {
            options.megabytes.clear();
            for (const QString &size : args[i + 1].split(QLatin1Char(',')))
                options.megabytes.append(size.toInt());
        } else if (args[i] == QLatin1String("--tool")) {
            options.tool = args[i + 1];
        }
    }
    return options;
}

const char kVerses[] = "dharmakShetre kurukShetre samavetA yuyutsavaH |\n"
                       "mAmakAH pANDavAshchaiva kimakurvata sa~njaya ||1||\n"
                       "dR^iShTvA tu pANDavAnIkaM vyUDhaM duryodhanastadA |\n"
                       "AchAryamupasa~Ngamya rAjA vachanamabravIt ||2||\n"
                       "The king ##Duryodhana## spoke to his teacher, 12 lines later.\n";

// A file of about megabytes MB made of the sample repeated; returns its size in MB.
double writeInput(const QString &path, const QByteArray &sample, int megabytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    QByteArray block;
    while (block.size() < (1 << 20))
        block += sample;
    qint64 written = 0;
    for (; written < qint64(megabytes) << 20; written += block.size())
        if (file.write(block) != block.size())
            std::abort();
    return double(written) / (1 << 20);
}

struct Figures
{
    double seconds = 0;
    double cpuSeconds =
        0; // user + system time of the tool, which a loaded machine does not inflate
    double firstOutputSeconds = 0;
    qint64 outputBytes = 0;
    long peakKilobytes = 0;
    int status = -1;
};

Figures runTool(const QString &tool, const QStringList &arguments, const QString &input)
{
    int out[2];
    const int in = ::open(QFile::encodeName(input).constData(), O_RDONLY);
    if (in < 0 || ::pipe(out) != 0)
        std::abort();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    QList<QByteArray> argv8{QFile::encodeName(tool)};
    for (const QString &argument : arguments)
        argv8.append(argument.toUtf8());
    QList<char *> argv;
    for (QByteArray &argument : argv8)
        argv.append(argument.data());
    argv.append(nullptr);
    Figures figures;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        std::abort();
    ::close(in);
    ::close(out[1]);
    char buffer[1 << 16];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) {
        if (figures.outputBytes == 0)
            figures.firstOutputSeconds = timer.nsecsElapsed() / 1e9;
        figures.outputBytes += n;
    }
    ::close(out[0]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    figures.seconds = timer.nsecsElapsed() / 1e9;
    figures.peakKilobytes = usage.ru_maxrss;
    figures.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    figures.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    posix_spawn_file_actions_destroy(&actions);
    return figures;
}

void report(const char *direction, double megabytes, const Figures &figures)
{
    std::printf("%-22s %6.1f MB: %7.2f MB/s (%.2f MB/s of CPU time), peak memory %6.1f MB, "
                "first output after %.3f s, %lld bytes out, exit %d\n",
                direction, megabytes, megabytes / figures.seconds, megabytes / figures.cpuSeconds,
                figures.peakKilobytes / 1024.0, figures.firstOutputSeconds,
                static_cast<long long>(figures.outputBytes), figures.status);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const Options options = parse(app.arguments());
    QTemporaryDir dir;
    const QString itransPath = dir.filePath(QStringLiteral("input.itrans"));
    const QString devanagariPath = dir.filePath(QStringLiteral("input.devanagari"));
    const QByteArray itrans(kVerses);
    const QByteArray devanagari = itransToDevanagari(QString::fromLatin1(itrans)).toUtf8();
    std::printf("vantro-translit: %s\n", qPrintable(options.tool));
    for (const int megabytes : options.megabytes) {
        const double itransSize = writeInput(itransPath, itrans, megabytes);
        report("ITRANS -> Devanagari", itransSize, runTool(options.tool, {}, itransPath));
        QByteArray oneLine = itrans;
        oneLine.replace('\n', ' ');
        writeInput(itransPath, oneLine, megabytes);
        report("ITRANS, no line break", itransSize, runTool(options.tool, {}, itransPath));
        QFile::remove(itransPath);
        const double devanagariSize = writeInput(devanagariPath, devanagari, megabytes);
        report("Devanagari -> ITRANS", devanagariSize,
               runTool(options.tool, {QStringLiteral("--to"), QStringLiteral("itrans")},
                       devanagariPath));
        QFile::remove(devanagariPath);
    }
    return 0;
}
