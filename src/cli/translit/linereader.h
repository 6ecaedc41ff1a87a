// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <functional>

namespace vantro {

// Hands out an input a line at a time, "\n" included, holding no more than a block and the
// current line. It reads with read(2), so from a pipe it gives each line as soon as it has
// arrived; beforeWait runs before every read, which may block, so the caller can flush what
// it has written. A line longer than kLongLine is handed out in pieces, each cut after a
// space, a tab or a carriage return, so that an input without line breaks stays small too.
class LineReader
{
public:
    static constexpr qsizetype kLongLine = 64 * 1024;

    LineReader(int fd, std::function<void()> beforeWait);

    // The next line or piece of a line; false at the end of the input or after a read error.
    bool next(QByteArray *line);

    qint64 lineNumber() const { return m_pieceLine; }    // of the last piece, from 1
    qint64 inputOffset() const { return m_pieceOffset; } // of its first byte, from 0
    int error() const { return m_error; }                // errno of a failed read, or 0

private:
    void fill();
    void take(qsizetype length, QByteArray *line);

    int m_fd;
    std::function<void()> m_beforeWait;
    QByteArray m_buffer;
    qsizetype m_start = 0;   // where the unread part of m_buffer begins
    qsizetype m_scanned = 0; // how far it is known to hold no "\n"
    qsizetype m_lastBlank = -1;
    bool m_atEnd = false;
    int m_error = 0;
    qint64 m_line = 1;
    qint64 m_consumed = 0;
    qint64 m_pieceLine = 0;
    qint64 m_pieceOffset = 0;
};

// The offset of the first byte that does not begin a well-formed UTF-8 sequence (overlong
// forms, surrogates and code points past U+10FFFF are not), or -1.
qsizetype firstInvalidUtf8(const QByteArray &bytes);

} // namespace vantro
