// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transliterate.h"

#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;

// The ITRANS document on paper and in files of other scripts: printing, PDF and text copies.
namespace vantro::output {

// Lays text out in pages on device, with name at the foot of each page on the left and
// "Page n of m" on the right. The font covers Latin and Devanagari. On failure, error says why.
bool printText(QPagedPaintDevice &device, const QString &text, const QString &name, QString *error);

// Both write beside path and replace it only when everything is written, so a failure leaves
// whatever was there untouched.
bool writeText(const QString &path, const QString &text, QString *error);
// The pages printText() draws, as a PDF whose text reads back as the text (every word carries
// its characters, conjuncts and all), with the fonts embedded as subsets. An A4 page with 2 cm
// margins unless the print dialog chose otherwise.
bool writePdf(const QString &path, const QString &text, const QString &name, QString *error,
              const QPageLayout &layout = {});

} // namespace vantro::output
