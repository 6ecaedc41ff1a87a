#pragma once

#include <QString>
#include <QStringList>

namespace vantro {

// The outcome of the library's own consistency check of a dictionary file.
struct VerifyReport
{
    enum class Verdict { Consistent, Damaged, Busy, Missing, Failed };
    Verdict verdict = Verdict::Failed;
    // What the library said while checking, one line each (empty for a consistent file).
    QStringList messages;
};

// Checks the file at path (encoded as the file system expects) under the single-writer lock, so
// that a dictionary being changed by another process is refused rather than judged mid-change.
VerifyReport verifyDictionary(const QString &path);

// The same check for a caller that already holds the file's lock.
VerifyReport verifyLockedDictionary(const QByteArray &path);

} // namespace vantro
