// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "script.h"
#include "translitoptions.h"

#include <QString>
#include <QStringView>

namespace vantro {

// The three conversions the tool and the tests use; text that is not ITRANS (or, going back,
// not Devanagari) passes through unchanged.
QString itransToDevanagari(QStringView itrans, TranslitOptions options = {});
QString itransToIast(QStringView itrans, TranslitOptions options = {});
QString devanagariToItrans(QStringView devanagari, TranslitOptions options = {});

// ITRANS text in the script asked for (unchanged for Script::Itrans).
QString itransInScript(QStringView itrans, Script script, TranslitOptions options = {});

} // namespace vantro
