// SPDX-License-Identifier: GPL-3.0-or-later
#include "progressbar.h"

#include <cstdio>
#include <unistd.h>

namespace vantro::dict {
namespace {

constexpr int kWidth = 40;

} // namespace

ProgressBar::ProgressBar(qint64 total, qint64 worthShowingFrom)
    : m_total(total), m_shown(total >= worthShowingFrom && ::isatty(STDERR_FILENO) == 1)
{
}

ProgressBar::~ProgressBar()
{
    finish();
}

void ProgressBar::advanceTo(qint64 done)
{
    if (!m_shown || m_total <= 0)
        return;
    const int percent = int(done * 100 / m_total);
    if (percent != m_percent)
        draw(percent);
}

void ProgressBar::finish()
{
    if (!m_shown)
        return;
    std::fputc('\n', stderr);
    std::fflush(stderr);
    m_shown = false;
}

void ProgressBar::draw(int percent)
{
    m_percent = percent;
    char bar[kWidth + 1];
    const int filled = percent * kWidth / 100;
    for (int i = 0; i < kWidth; ++i)
        bar[i] = i < filled ? '#' : '.';
    bar[kWidth] = '\0';
    std::fprintf(stderr, "\rimporting [%s] %3d%%", bar, percent);
    std::fflush(stderr);
}

} // namespace vantro::dict
