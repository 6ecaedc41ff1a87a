// SPDX-License-Identifier: GPL-3.0-or-later
// What joining with sandhi costs: word-by-word ITRANS (verse lines typed unjoined, with
// English fenced off and numbers) joined line by line as the command and the ITRANS pane
// join it, and as one call over the whole text; throughput in MB/s of input by the clock and
// by the process's CPU time, the best of the rounds. Every permitted joining of each line is
// timed too, over a smaller text, since it joins a line once per joining.
// Usage: vantro-sandhibench [--megabytes 1] [--rounds 5]

#include "sandhi.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace vantro;

namespace {

const char16_t kLines[] = u"rAmaH cha sItA cha lakShmaNaH cha vanam gachChanti |\n"
                          u"tat shrutvA saH rAjA punaH api iti uvAcha ||1||\n"
                          u"deva indraH mahA R^iShiH cha sadA eva tatra Asan\n"
                          u"tAn lokAn jagat nAthaH vAk hariH tasmin eva tiShThati\n"
                          u"hariH gachChati devAH atra bAlaH hasati guruH rakShati\n"
                          u"The king ##Duryodhana## spoke to his teacher, 12 lines later.\n";

struct Figures
{
    double seconds = 1e9;
    double cpuSeconds = 1e9;
    qint64 outputCharacters = 0;
};

double cpuNow()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

template <typename Join> Figures best(int rounds, Join join)
{
    Figures figures;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        const double cpuStart = cpuNow();
        clock.start();
        figures.outputCharacters = join();
        figures.seconds = std::min(figures.seconds, clock.nsecsElapsed() / 1e9);
        figures.cpuSeconds = std::min(figures.cpuSeconds, cpuNow() - cpuStart);
    }
    return figures;
}

void print(const char *what, double megabytes, const Figures &figures)
{
    std::printf("%-34s %5.2f MB: %8.2f MB/s (%8.2f MB/s of CPU time), %.3f s, output %.2f MB\n",
                what, megabytes, megabytes / figures.seconds, megabytes / figures.cpuSeconds,
                figures.seconds, double(figures.outputCharacters) / (1 << 20));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int at = int(args.indexOf(QStringLiteral("--megabytes")));
    const int megabytes = at > 0 && at + 1 < args.size() ? args[at + 1].toInt() : 1;
    const int rounds = args.contains(QStringLiteral("--rounds"))
                           ? args[args.indexOf(QStringLiteral("--rounds")) + 1].toInt()
                           : 5;
    QString text;
    while (text.size() < qsizetype(megabytes) << 20) // ITRANS is ASCII: a character a byte
        text += QStringView(kLines);
    const QStringList lines = text.split(u'\n');
    const double size = double(text.size()) / (1 << 20);
    std::printf("sandhi: %.2f MB of word-by-word ITRANS, %lld lines, best of %d rounds\n", size,
                qlonglong(lines.size()), rounds);
    print("joinLine, line by line", size, best(rounds, [&] {
              qint64 characters = 0;
              for (const QString &line : lines)
                  characters += joinLine(line).size() + 1;
              return characters;
          }));
    print("joinLine, the whole text at once", size,
          best(rounds, [&] { return qint64(joinLine(text).size()); }));
    const QStringList someLines = lines.mid(0, std::max<qsizetype>(1, lines.size() / 20));
    const double someSize = size * double(someLines.size()) / double(lines.size());
    print("joinLineVariants, line by line", someSize, best(rounds, [&] {
              qint64 characters = 0;
              for (const QString &line : someLines)
                  for (const QString &variant : joinLineVariants(line))
                      characters += variant.size() + 1;
              return characters;
          }));
    return 0;
}
