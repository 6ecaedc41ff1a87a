// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pdffontfaces.h"

#include <QPageLayout>
#include <QRectF>
#include <QString>

class QIODevice;
class QTextLine;
typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace vantro::output {

// Writes lines the toolkit has laid out and shaped to a PDF, glyph for glyph where the toolkit
// would draw them, and gives every word's glyphs the word's characters. The toolkit's own PDF
// writer maps each glyph to characters alone, so a conjunct, which one glyph draws, reads back as
// nothing; here each word is one cluster, which the PDF keeps as its text (ActualText).
// Coordinates are the pixels of a device of the given resolution, from the page's printable
// area's top left corner.
class PdfGlyphWriter
{
public:
    PdfGlyphWriter(QIODevice &out, const QPageLayout &layout, int resolution);
    PdfGlyphWriter(const PdfGlyphWriter &) = delete;
    PdfGlyphWriter &operator=(const PdfGlyphWriter &) = delete;
    ~PdfGlyphWriter();

    void setTitle(const QString &title, const QString &creator);
    void setClip(const QRectF &area);
    void resetClip();
    // text is the line's characters; origin is where its layout lies. False when a font the
    // line is shaped with cannot be found for the PDF.
    [[nodiscard]] bool drawLine(const QTextLine &line, const QString &text, const QPointF &origin);
    void newPage();
    // Ends the file; false when it could not be written.
    [[nodiscard]] bool finish(QString *error);

private:
    QIODevice &m_out;
    cairo_surface_t *m_surface = nullptr;
    cairo_t *m_cairo = nullptr;
    PdfFontFaces m_faces;
};

} // namespace vantro::output
