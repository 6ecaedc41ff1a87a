// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdffontfaces.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <QByteArray>

#include <memory>

namespace vantro::output {

namespace {

QString faceKey(const QRawFont &font)
{
    return font.familyName() + u'\n' + font.styleName() + u'\n' + QString::number(font.weight()) +
           u'\n' + QString::number(int(font.style()));
}

int fontconfigWeight(int qtWeight)
{
    return FcWeightFromOpenType(qtWeight);
}

int fontconfigSlant(QFont::Style style)
{
    switch (style) {
    case QFont::StyleItalic:
        return FC_SLANT_ITALIC;
    case QFont::StyleOblique:
        return FC_SLANT_OBLIQUE;
    case QFont::StyleNormal:
        break;
    }
    return FC_SLANT_ROMAN;
}

// The 'head' table holds the font's revision, checksum adjustment and dates: two files with the
// same one are the same build of the same font.
QByteArray headTable(FT_Face face)
{
    FT_ULong length = 0;
    if (FT_Load_Sfnt_Table(face, TTAG_head, 0, nullptr, &length) != 0 || length == 0)
        return {};
    QByteArray table(qsizetype(length), '\0');
    if (FT_Load_Sfnt_Table(face, TTAG_head, 0, reinterpret_cast<FT_Byte *>(table.data()),
                           &length) != 0)
        return {};
    return table;
}

bool sameFile(cairo_font_face_t *face, const QRawFont &font)
{
    cairo_matrix_t size;
    cairo_matrix_t identity;
    cairo_matrix_init_scale(&size, 12, 12);
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t *options = cairo_font_options_create();
    cairo_scaled_font_t *scaled = cairo_scaled_font_create(face, &size, &identity, options);
    cairo_font_options_destroy(options);
    bool same = false;
    if (FT_Face ftFace = cairo_ft_scaled_font_lock_face(scaled)) {
        const QByteArray wanted = font.fontTable("head");
        same = !wanted.isEmpty() && headTable(ftFace) == wanted;
        cairo_ft_scaled_font_unlock_face(scaled);
    }
    cairo_scaled_font_destroy(scaled);
    return same;
}

} // namespace

PdfFontFaces::~PdfFontFaces()
{
    for (const Face &face : std::as_const(m_faces))
        cairo_font_face_destroy(face.face);
}

PdfFontFaces::Face PdfFontFaces::faceFor(const QRawFont &font)
{
    const QString key = faceKey(font);
    const auto found = m_faces.constFind(key);
    if (found != m_faces.constEnd())
        return found.value();
    Face face;
    face.face = findFace(font);
    face.space = font.glyphIndexesForString(QStringLiteral(" ")).value(0);
    m_faces.insert(key, face);
    return face;
}

cairo_font_face_t *PdfFontFaces::findFace(const QRawFont &font)
{
    const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(),
                                                                          FcPatternDestroy);
    const QByteArray family = font.familyName().toUtf8();
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.data()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, fontconfigWeight(font.weight()));
    FcPatternAddInteger(pattern.get(), FC_SLANT, fontconfigSlant(font.style()));
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> match(
        FcFontMatch(nullptr, pattern.get(), &result), FcPatternDestroy);
    if (!match)
        return nullptr;
    cairo_font_face_t *face = cairo_ft_font_face_create_for_pattern(match.get());
    if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS || !sameFile(face, font)) {
        cairo_font_face_destroy(face);
        return nullptr;
    }
    return face;
}

} // namespace vantro::output
