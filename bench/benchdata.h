// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <chrono>
#include <functional>
#include <random>

namespace vantro::bench {

// Random dictionary contents: distinct lower-case words of 3-14 letters and ITRANS-like
// meanings of 10-60 characters, the same for the same seed.
class WordSource
{
public:
    explicit WordSource(quint32 seed) : m_random(seed) {}
    QString word();
    QString meaning();

private:
    int between(int low, int high);
    std::mt19937 m_random;
};

struct Entry
{
    QString word;
    QString meaning;
};

// count distinct words with meanings, in no particular order.
QList<Entry> makeEntries(WordSource &source, qsizetype count);

// Seconds one call of work takes.
double secondsOf(const std::function<void()> &work);

// The median of runs calls of work, each timed alone; before runs before each a call of setUp
// that is not timed.
double medianSeconds(int runs, const std::function<void()> &work,
                     const std::function<void()> &setUp = {});

double median(QList<double> values);

} // namespace vantro::bench
