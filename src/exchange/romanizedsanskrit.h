// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace vantro {

// The romanizations of Sanskrit a dictionary may be written in. None means the Latin text of a
// definition is English.
enum class RomanScheme { None, Iast, HarvardKyoto, Slp1, Itrans };

// Reads a scheme's command-line name (iast, hk, slp1, itrans); false for any other.
bool romanSchemeFromName(const QString &name, RomanScheme &scheme);

// One romanized word (or run of text) in ITRANS. Characters the scheme does not know pass
// through unchanged; IAST is read without regard to letter case, the others are case-sensitive.
QString romanizedToItrans(QStringView text, RomanScheme scheme);

} // namespace vantro
