// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace vantro {

struct ImportSummary;

// The log of the imports into a dictionary, beside it as DB.imports: for each import a line
// "when<TAB>import<TAB>source (short name)<TAB>summary", then a line for each word it changed
// ("<TAB>added<TAB>word", replaced, appended), so that with several dictionaries imported into
// one it stays known which import brought which record. The journal of saves is emptied by
// every snapshot; this log is not.
QString importLogPath(const QString &dictionaryPath);

// Adds an import to the log, flushed.
[[nodiscard]] bool appendImportLog(const QString &dictionaryPath, const QString &source,
                                   const QString &shortName, const ImportSummary &summary,
                                   QString *error);

// The whole log; empty when there is none.
QByteArray readImportLog(const QString &dictionaryPath);

} // namespace vantro
