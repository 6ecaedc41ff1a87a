// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace vantro {

// The outcome of the library's own consistency check of a dictionary file.
struct VerifyReport
{
    // Empty: a file of no bytes, which the next writer makes a new dictionary.
    enum class Verdict { Consistent, Damaged, Busy, Missing, Failed, NotADictionary, Empty };
    Verdict verdict = Verdict::Failed;
    // What the library said while checking, one line each (empty for a consistent file); for
    // NotADictionary, the reason the file is refused.
    QStringList messages;
};

// Why the file at path is not one of our dictionaries (a B-tree of unique keys), checked on its
// metadata page before the library sees it, so that it is refused without the library printing a
// line for every page it tries and without a byte of it written; empty when it may be one.
QString whyNotADictionary(const QByteArray &path);

// Checks the file at path (encoded as the file system expects) under the single-writer lock, so
// that a dictionary being changed by another process is refused rather than judged mid-change;
// only what the open would take as a dictionary is checked, and a consistent file is also opened
// as the program opens it.
VerifyReport verifyDictionary(const QString &path);

// The same check for a caller that already holds the file's lock.
VerifyReport verifyLockedDictionary(const QByteArray &path);

} // namespace vantro
