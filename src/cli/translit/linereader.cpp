// SPDX-License-Identifier: GPL-3.0-or-later
#include "linereader.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace vantro {

namespace {

constexpr qsizetype kBlock = 64 * 1024;

qsizetype lastBlank(const QByteArray &buffer, qsizetype from, qsizetype to)
{
    for (qsizetype i = to - 1; i >= from; --i)
        if (buffer[i] == ' ' || buffer[i] == '\t' || buffer[i] == '\r')
            return i;
    return -1;
}

} // namespace

LineReader::LineReader(int fd, std::function<void()> beforeWait)
    : m_fd(fd), m_beforeWait(std::move(beforeWait))
{
}

bool LineReader::next(QByteArray *line)
{
    for (;;) {
        const qsizetype from = std::max(m_start, m_scanned);
        const qsizetype newline = m_buffer.indexOf('\n', from);
        if (newline >= 0) {
            take(newline + 1 - m_start, line);
            return true;
        }
        m_lastBlank = std::max(m_lastBlank, lastBlank(m_buffer, from, m_buffer.size()));
        m_scanned = m_buffer.size();
        if (m_buffer.size() - m_start >= kLongLine && m_lastBlank >= m_start) {
            take(m_lastBlank + 1 - m_start, line);
            return true;
        }
        if (m_atEnd) {
            if (m_start == m_buffer.size())
                return false;
            take(m_buffer.size() - m_start, line);
            return true;
        }
        fill();
    }
}

void LineReader::fill()
{
    m_buffer.remove(0, m_start);
    m_scanned = std::max<qsizetype>(m_scanned - m_start, 0);
    m_lastBlank = std::max<qsizetype>(m_lastBlank - m_start, -1);
    m_start = 0;
    if (m_beforeWait)
        m_beforeWait();
    const qsizetype used = m_buffer.size();
    m_buffer.resize(used + kBlock);
    ssize_t count;
    do
        count = ::read(m_fd, m_buffer.data() + used, size_t(kBlock));
    while (count < 0 && errno == EINTR);
    m_buffer.resize(used + std::max<qsizetype>(count, 0));
    if (count < 0)
        m_error = errno;
    m_atEnd = count <= 0;
}

void LineReader::take(qsizetype length, QByteArray *line)
{
    *line = m_buffer.mid(m_start, length);
    m_start += length;
    m_pieceLine = m_line;
    m_pieceOffset = m_consumed;
    m_consumed += length;
    if (line->endsWith('\n'))
        ++m_line;
}

qsizetype firstInvalidUtf8(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        const unsigned char lead = data[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        // The second byte's range narrows after E0, ED, F0 and F4 to shut out overlong
        // forms, surrogates and code points past U+10FFFF.
        int length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : low;
            high = lead == 0xED ? 0x9F : high;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : low;
            high = lead == 0xF4 ? 0x8F : high;
        } else {
            return i;
        }
        for (int k = 1; k < length; ++k) {
            const unsigned char next = i + k < size ? data[i + k] : 0;
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
                return i;
        }
        i += length;
    }
    return -1;
}

} // namespace vantro
