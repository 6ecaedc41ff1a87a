// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sourceentry.h"

namespace vantro {

// True when the file's first line is a "##name<tab>..." line, as the tab-separated glossaries
// of dictionary converters begin; this program's exchange format never holds one.
bool looksLikeTabGlossary(const QString &path);

// A tab-separated glossary of a dictionary converter: "headword<tab>definition" lines, the
// definition in HTML with "\n", "\t" and "\\" escapes; "##key<tab>value" lines describe the
// glossary and are passed over. The entries go to sink.
[[nodiscard]] bool readTabGlossary(const QString &path, EntrySink &sink, QString *error);

} // namespace vantro
