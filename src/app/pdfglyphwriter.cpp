// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdfglyphwriter.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <QGlyphRun>
#include <QIODevice>
#include <QTextLine>

#include <algorithm>
#include <vector>

namespace vantro::output {

namespace {

cairo_status_t writeToDevice(void *closure, const unsigned char *data, unsigned int length)
{
    auto *out = static_cast<QIODevice *>(closure);
    return out->write(reinterpret_cast<const char *>(data), length) == qint64(length)
               ? CAIRO_STATUS_SUCCESS
               : CAIRO_STATUS_WRITE_ERROR;
}

// One call of cairo_show_text_glyphs: the glyphs of one run, the characters they stand for and
// which glyphs stand for which characters.
struct ClusteredRun
{
    std::vector<cairo_glyph_t> glyphs;
    QByteArray text;
    std::vector<cairo_text_cluster_t> clusters;

    void add(const QByteArray &characters, int glyphCount)
    {
        text += characters;
        clusters.push_back({int(characters.size()), glyphCount});
    }
};

// Words are what lies between blanks, in the text and in the glyphs alike: the n-th group of
// glyphs between blank glyphs draws the n-th word, whatever the shaper made of its letters. A
// word drawn with two fonts gives its characters to its first glyphs. When the counts differ
// (a blank the shaper drew otherwise), the whole line is one cluster, which still reads back
// right, if less finely.
std::vector<ClusteredRun> clusterWords(const QList<QGlyphRun> &runs,
                                       const std::vector<quint32> &blanks, const QString &text,
                                       const QPointF &origin)
{
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    qsizetype groups = 0;
    bool inWord = false;
    for (qsizetype r = 0; r < runs.size(); ++r) {
        for (quint32 glyph : runs[r].glyphIndexes()) {
            const bool blank = glyph == blanks[size_t(r)];
            groups += !blank && !inWord;
            inWord = !blank;
        }
    }
    const bool byWord = groups == words.size();
    std::vector<ClusteredRun> clustered(size_t(runs.size()));
    qsizetype word = -1;
    inWord = false;
    for (qsizetype r = 0; r < runs.size(); ++r) {
        ClusteredRun &out = clustered[size_t(r)];
        const QList<quint32> glyphs = runs[r].glyphIndexes();
        const QList<QPointF> positions = runs[r].positions();
        for (qsizetype g = 0; g < glyphs.size(); ++g)
            out.glyphs.push_back(
                {glyphs[g], origin.x() + positions[g].x(), origin.y() + positions[g].y()});
        if (!byWord) {
            const bool first =
                !inWord && std::any_of(glyphs.cbegin(), glyphs.cend(),
                                       [&](quint32 glyph) { return glyph != blanks[size_t(r)]; });
            out.add(first ? text.toUtf8() : QByteArray(), int(glyphs.size()));
            inWord = inWord || first;
            continue;
        }
        for (qsizetype g = 0; g < glyphs.size();) {
            if (glyphs[g] == blanks[size_t(r)]) {
                out.add(" ", 1);
                inWord = false;
                ++g;
                continue;
            }
            const bool starts = !inWord;
            word += starts;
            inWord = true;
            qsizetype end = g;
            while (end < glyphs.size() && glyphs[end] != blanks[size_t(r)])
                ++end;
            out.add(starts ? words[word].toUtf8() : QByteArray(), int(end - g));
            g = end;
        }
    }
    return clustered;
}

} // namespace

PdfGlyphWriter::PdfGlyphWriter(QIODevice &out, const QPageLayout &layout, int resolution)
    : m_out(out)
{
    const QRectF page = layout.fullRectPoints();
    const QRectF printable = layout.paintRectPoints();
    m_surface =
        cairo_pdf_surface_create_for_stream(writeToDevice, &m_out, page.width(), page.height());
    m_cairo = cairo_create(m_surface);
    cairo_translate(m_cairo, printable.left(), printable.top());
    cairo_scale(m_cairo, 72.0 / resolution, 72.0 / resolution);
    cairo_set_source_rgb(m_cairo, 0, 0, 0);
}

PdfGlyphWriter::~PdfGlyphWriter()
{
    cairo_destroy(m_cairo);
    cairo_surface_destroy(m_surface);
}

void PdfGlyphWriter::setTitle(const QString &title, const QString &creator)
{
    cairo_pdf_surface_set_metadata(m_surface, CAIRO_PDF_METADATA_TITLE, title.toUtf8().constData());
    cairo_pdf_surface_set_metadata(m_surface, CAIRO_PDF_METADATA_CREATOR,
                                   creator.toUtf8().constData());
}

void PdfGlyphWriter::setClip(const QRectF &area)
{
    cairo_reset_clip(m_cairo);
    cairo_rectangle(m_cairo, area.x(), area.y(), area.width(), area.height());
    cairo_clip(m_cairo);
}

void PdfGlyphWriter::resetClip()
{
    cairo_reset_clip(m_cairo);
}

bool PdfGlyphWriter::drawLine(const QTextLine &line, const QString &text, const QPointF &origin)
{
    const QList<QGlyphRun> runs = line.glyphRuns();
    std::vector<PdfFontFaces::Face> faces;
    std::vector<quint32> blanks;
    for (const QGlyphRun &run : runs) {
        faces.push_back(m_faces.faceFor(run.rawFont()));
        if (!faces.back().face)
            return false;
        blanks.push_back(faces.back().space);
    }
    const std::vector<ClusteredRun> clustered = clusterWords(runs, blanks, text, origin);
    for (size_t r = 0; r < clustered.size(); ++r) {
        const ClusteredRun &run = clustered[r];
        if (run.glyphs.empty())
            continue;
        cairo_set_font_face(m_cairo, faces[r].face);
        cairo_set_font_size(m_cairo, runs[qsizetype(r)].rawFont().pixelSize());
        cairo_show_text_glyphs(m_cairo, run.text.constData(), int(run.text.size()),
                               run.glyphs.data(), int(run.glyphs.size()), run.clusters.data(),
                               int(run.clusters.size()), cairo_text_cluster_flags_t(0));
    }
    return true;
}

void PdfGlyphWriter::newPage()
{
    cairo_show_page(m_cairo);
}

bool PdfGlyphWriter::finish(QString *error)
{
    cairo_surface_finish(m_surface);
    const cairo_status_t status = cairo_surface_status(m_surface);
    if (status == CAIRO_STATUS_SUCCESS)
        return true;
    *error = status == CAIRO_STATUS_WRITE_ERROR ? m_out.errorString()
                                                : QString::fromUtf8(cairo_status_to_string(status));
    return false;
}

} // namespace vantro::output
