// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exitstatus.h"

#include <QByteArray>
#include <QString>

namespace vantro::dict {

// One line on the standard error stream, prefixed with the program's name.
void reportError(const QString &text);

// Answers BadUsage after saying what was wrong and where the help is.
int usageError(const QString &text);

// Answers Failure after saying what went wrong.
int failure(const QString &text);

// Text for the standard output, which the exchange format and the reports share: UTF-8, written
// in large blocks so that exporting a big dictionary is not a write per record.
class StandardOutput
{
public:
    ~StandardOutput() { flush(); }
    void write(const QByteArray &bytes);
    void writeLine(const QString &text);
    // False when the stream could not take everything written so far.
    bool flush();

private:
    QByteArray m_pending;
    bool m_good = true;
};

} // namespace vantro::dict
