// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "translitoptions.h"

#include <QString>
#include <QStringView>

namespace vantro {

// The three conversions the tool and the tests use; text that is not ITRANS (or, going back,
// not Devanagari) passes through unchanged.
QString itransToDevanagari(QStringView itrans, TranslitOptions options = {});
QString itransToIast(QStringView itrans, TranslitOptions options = {});
QString devanagariToItrans(QStringView devanagari, TranslitOptions options = {});

} // namespace vantro
