// SPDX-License-Identifier: GPL-3.0-or-later
#include "console.h"

#include <cstdio>

namespace vantro::dict {
namespace {

constexpr qsizetype kBlockSize = 1 << 16;

} // namespace

void reportError(const QString &text)
{
    std::fprintf(stderr, "vantro-dict: %s\n", text.toUtf8().constData());
    std::fflush(stderr);
}

int usageError(const QString &text)
{
    reportError(text);
    std::fputs("Try 'vantro-dict --help' for more information.\n", stderr);
    return BadUsage;
}

int failure(const QString &text)
{
    reportError(text);
    return Failure;
}

void StandardOutput::write(const QByteArray &bytes)
{
    m_pending.append(bytes);
    if (m_pending.size() >= kBlockSize)
        flush();
}

void StandardOutput::writeLine(const QString &text)
{
    write(text.toUtf8().append('\n'));
}

bool StandardOutput::flush()
{
    if (!m_pending.isEmpty()) {
        const size_t size = size_t(m_pending.size());
        m_good = std::fwrite(m_pending.constData(), 1, size, stdout) == size && m_good;
        m_pending.clear();
    }
    m_good = std::fflush(stdout) == 0 && m_good;
    return m_good;
}

} // namespace vantro::dict
