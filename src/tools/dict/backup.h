#pragma once

#include <QString>

namespace vantro::dict {

// Copies the file to "<path>.bak" through a temporary file that replaces the old copy only once
// it is complete and on disk, so that a crash never leaves a half-written backup behind.
// Answers an empty string on success, otherwise the reason.
QString writeBackup(const QString &path);

QString backupPath(const QString &path);

} // namespace vantro::dict
