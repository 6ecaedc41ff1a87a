// SPDX-License-Identifier: GPL-3.0-or-later
#include "sandhi.h"

#include "sandhilinejoiner.h"

#include <QQueue>
#include <QSet>

namespace vantro {

namespace {

// A line of n junctions with two joins each has 2^n joinings; past this many the list stops.
constexpr int kMostVariants = 64;

} // namespace

QStringList joinPair(const QString &first, const QString &second)
{
    return joinLineVariants(QString(first + u' ' + second));
}

QString joinLine(QStringView line)
{
    return SandhiLineJoiner(line).joined({});
}

// The joinings in order of how far they stray from the usual one: the usual first, then those
// that take another join at one junction, then at two, and so on.
QStringList joinLineVariants(QStringView line)
{
    const SandhiLineJoiner joiner(line);
    QVector<int> counts;
    QStringList variants{joiner.joined({}, &counts)};
    QQueue<QVector<int>> queue;
    QSet<QVector<int>> seen;
    queue.enqueue(QVector<int>(joiner.junctionCount(), 0));
    while (!queue.isEmpty() && variants.size() < kMostVariants) {
        const QVector<int> choices = queue.dequeue();
        for (int j = 0; j < choices.size() && variants.size() < kMostVariants; ++j) {
            if (choices[j] + 1 >= counts.value(j))
                continue;
            QVector<int> next = choices;
            ++next[j];
            if (seen.contains(next))
                continue;
            seen.insert(next);
            queue.enqueue(next);
            const QString variant = joiner.joined(next);
            if (!variant.isNull() && !variants.contains(variant))
                variants.append(variant);
        }
    }
    return variants;
}

} // namespace vantro
