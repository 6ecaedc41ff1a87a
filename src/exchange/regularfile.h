// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>

namespace vantro {

// Opens a file of a dictionary to read, only when it is a regular file: a FIFO or a device
// named like a dictionary file would block the import or never end. The open itself does not
// wait (O_NONBLOCK).
[[nodiscard]] bool openRegularFile(QFile &file, const QString &path, QString *error);

} // namespace vantro
