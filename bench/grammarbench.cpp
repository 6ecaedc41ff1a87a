// SPDX-License-Identifier: GPL-3.0-or-later
// What a whole noun paradigm costs: the mean time of declineNoun for a few stem types (the
// goal is at most 50 microseconds), and of a guess from a citation form. The first call of a
// kind reads its tables; it is made before the clock starts.
// Then the same for a whole table of each tense outside the present system (the periphrastic
// future, conditional, benedictive, perfect, aorist; the middle and passive benedictive) and
// for all the forms made from a root (participles, gerunds, infinitive, gerundives), goal also
// 50 us; then a whole aorist table in each voice: active, middle, passive and the causative's.
// Usage: vantro-grammarbench [--rounds N]

#include "conjugation.h"
#include "declension.h"
#include "rootderivatives.h"

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

struct Root
{
    const char *root;
    int verbClass;
};

const Root kRoots[] = {{"bhU", 1},  {"gam", 1},  {"kR^i", 8},  {"dA", 3},
                       {"vach", 2}, {"grah", 9}, {"A-gam", 1}, {"chur", 10}};

// The machine is shared: the least of three runs is the figure least disturbed by the others.
template <typename Work> double leastOfThree(int rounds, Work work)
{
    double least = microsecondsPerCall(rounds, work);
    for (int run = 0; run < 2; ++run)
        least = std::min(least, microsecondsPerCall(rounds, work));
    return least;
}

// The worst time a root takes for its derived tenses, one table each, and for its krt forms.
double verbFigures(int rounds)
{
    double worst = 0;
    std::printf("\n%-8s %8s %8s %8s %8s %8s %8s %8s %8s\n", "root", "periphr.", "condit.",
                "benedic.", "perfect", "aorist", "ben.mid.", "pass.ben", "krt");
    for (const Root &root : kRoots) {
        const QString text = QString::fromLatin1(root.root);
        std::printf("%-8s", root.root);
        for (const Tense tense : {Tense::Periphrastic, Tense::Conditional, Tense::Benedictive,
                                  Tense::Perfect, Tense::Aorist}) {
            const double us = leastOfThree(rounds, [&] {
                conjugate({text, root.verbClass, Pada::Parasmaipada, tense, false});
            });
            worst = std::max(worst, us);
            std::printf(" %8.2f", us);
        }
        // The middle benedictive, and the passive benedictive with its second stem (kAriShIShTa).
        for (const bool passive : {false, true}) {
            const double us = leastOfThree(rounds, [&] {
                conjugate({text, root.verbClass, Pada::Atmanepada, Tense::Benedictive, passive});
            });
            worst = std::max(worst, us);
            std::printf(" %8.2f", us);
        }
        const double krt = leastOfThree(rounds, [&] { rootDerivatives(text, root.verbClass); });
        worst = std::max(worst, krt);
        std::printf(" %8.2f\n", krt);
    }
    return worst;
}

// The worst time of a whole aorist table in the active, the middle, the passive and the
// causative, for roots of the formations the rules and the table give.
double aoristFigures(int rounds)
{
    const Root roots[] = {{"bhU", 1},  {"kR^i", 8},  {"dA", 3},       {"tud", 6},
                          {"grah", 9}, {"chur", 10}, {"sam-A-gam", 1}};
    double worst = 0;
    std::printf("\n%-8s %8s %8s %8s %8s   (aorist, us/table)\n", "root", "active", "middle",
                "passive", "caus.");
    for (const Root &root : roots) {
        const QString text = QString::fromLatin1(root.root);
        std::printf("%-8s", root.root);
        for (int voice = 0; voice < 4; ++voice) {
            VerbRequest request{text, root.verbClass,
                                voice == 1 ? Pada::Atmanepada : Pada::Parasmaipada, Tense::Aorist,
                                voice == 2};
            if (voice == 3)
                request.derived = VerbRequest::Derived::Causative;
            if (!conjugate(request).ok()) {
                std::printf(" %8s", "-"); // a voice the root does not take
                continue;
            }
            const double us = leastOfThree(rounds, [&] { conjugate(request); });
            worst = std::max(worst, us);
            std::printf(" %8.2f", us);
        }
        std::printf("\n");
    }
    return worst;
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
    const double verbs = verbFigures(rounds / 10);
    std::printf("worst verb table or set of krt forms %.2f us (goal 50)\n", verbs);
    const double aorist = aoristFigures(rounds / 10);
    std::printf("worst aorist table %.2f us (goal 50)\n", aorist);
    return 0;
}
