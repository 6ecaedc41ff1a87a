// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace vantro::dict {

// A one-line bar on the standard error stream, drawn only when that stream is a terminal and
// the work is large enough to be worth watching.
class ProgressBar
{
public:
    ProgressBar(qint64 total, qint64 worthShowingFrom);
    ~ProgressBar();
    void advanceTo(qint64 done);
    void finish();

private:
    void draw(int percent);

    qint64 m_total;
    bool m_shown;
    int m_percent = -1;
};

} // namespace vantro::dict
