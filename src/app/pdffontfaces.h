// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QRawFont>
#include <QString>

typedef struct _cairo_font_face cairo_font_face_t;

namespace vantro::output {

// The cairo faces of the font files the toolkit shaped the text with. Glyph numbers are only
// meaningful in the file they came from, so a face is used only when fontconfig finds the very
// file the toolkit used (its 'head' table is the same).
class PdfFontFaces
{
public:
    PdfFontFaces() = default;
    PdfFontFaces(const PdfFontFaces &) = delete;
    PdfFontFaces &operator=(const PdfFontFaces &) = delete;
    ~PdfFontFaces();

    struct Face
    {
        cairo_font_face_t *face = nullptr;
        quint32 space = 0; // the glyph of the blank, which ends a word
    };
    // The face is null when the file is not found.
    Face faceFor(const QRawFont &font);

private:
    static cairo_font_face_t *findFace(const QRawFont &font);
    QHash<QString, Face> m_faces;
};

} // namespace vantro::output
