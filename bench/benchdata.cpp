// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchdata.h"

#include <QSet>
#include <algorithm>

namespace vantro::bench {

int WordSource::between(int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(m_random);
}

QString WordSource::word()
{
    QString text(between(3, 14), Qt::Uninitialized);
    for (QChar &c : text)
        c = QLatin1Char(char('a' + between(0, 25)));
    return text;
}

QString WordSource::meaning()
{
    static const char alphabet[] = "aAiIuUeoMHkgcjTDNtdnpbmyrlvshR^~. ";
    QString text(between(10, 60), Qt::Uninitialized);
    for (QChar &c : text)
        c = QLatin1Char(alphabet[between(0, int(sizeof alphabet) - 2)]);
    return text;
}

QList<Entry> makeEntries(WordSource &source, qsizetype count)
{
    QSet<QString> seen;
    seen.reserve(count);
    QList<Entry> entries;
    entries.reserve(count);
    while (entries.size() < count) {
        QString word = source.word();
        if (seen.contains(word))
            continue;
        seen.insert(word);
        entries.append({word, source.meaning()});
    }
    return entries;
}

double secondsOf(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2;
}

double medianSeconds(int runs, const std::function<void()> &work,
                     const std::function<void()> &setUp)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        if (setUp)
            setUp();
        times.append(secondsOf(work));
    }
    return median(times);
}

} // namespace vantro::bench
