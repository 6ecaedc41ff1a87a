// SPDX-License-Identifier: GPL-3.0-or-later
// What a whole noun paradigm costs: the mean time of declineNoun for a few stem types (the
// goal is at most 50 microseconds), and of a guess from a citation form. The first call of a
// kind reads its tables; it is made before the clock starts.
// Usage: vantro-grammarbench [--rounds N]

#include "declension.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

using namespace vantro;

namespace {

struct Stem
{
    const char *stem;
    Gender gender;
};

const Stem kStems[] = {
    {"deva", Gender::Masculine},   {"mati", Gender::Feminine},    {"pitR^i", Gender::Masculine},
    {"rAjan", Gender::Masculine},  {"manas", Gender::Neuter},     {"bhagavat", Gender::Masculine},
    {"vAch", Gender::Feminine},    {"vidvas", Gender::Masculine}, {"sarva", Gender::Feminine},
    {"idam", Gender::Masculine},   {"chatur", Gender::Feminine},  {"tudat", Gender::Feminine},
    {"sundara", Gender::Feminine},
};

template <typename Work> double microsecondsPerCall(int rounds, Work work)
{
    work();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i)
        work();
    return double(timer.nsecsElapsed()) / 1000.0 / rounds;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--rounds"));
    const int rounds = at > 0 && at + 1 < args.size() ? args[at + 1].toInt() : 20000;
    std::printf("%-12s %-6s %12s\n", "stem", "gender", "us/paradigm");
    double worst = 0;
    for (const Stem &stem : kStems) {
        const QString text = QString::fromLatin1(stem.stem);
        int forms = 0;
        const double us = microsecondsPerCall(rounds, [&] {
            for (const QStringList &cell : declineNoun(text, stem.gender).paradigm.cells)
                forms += int(cell.size());
        });
        worst = std::max(worst, us);
        std::printf("%-12s %-6c %12.2f\n", stem.stem, "mfn"[int(stem.gender)], us);
        if (forms == 0)
            return 1;
    }
    const double guess = microsecondsPerCall(rounds / 10, [] { guessNounStems("rAjA"); });
    std::printf("worst paradigm %.2f us (goal 50); guess \"rAjA\" %.2f us\n", worst, guess);
    return 0;
}
