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

// The glyphs of the runs where they are drawn, with no text yet.
std::vector<ClusteredRun> placedGlyphs(const QList<QGlyphRun> &runs, const QPointF &origin)
{
    std::vector<ClusteredRun> placed(size_t(runs.size()));
    for (qsizetype r = 0; r < runs.size(); ++r) {
        const QList<quint32> glyphs = runs[r].glyphIndexes();
        const QList<QPointF> positions = runs[r].positions();
        for (qsizetype g = 0; g < glyphs.size(); ++g)
            placed[size_t(r)].glyphs.push_back(
                {glyphs[g], origin.x() + positions[g].x(), origin.y() + positions[g].y()});
    }
    return placed;
}

// How many groups of glyphs the blank glyphs of the runs leave between them.
qsizetype glyphWords(const std::vector<ClusteredRun> &runs, const std::vector<quint32> &blanks)
{
    qsizetype words = 0;
    bool inWord = false;
    for (size_t r = 0; r < runs.size(); ++r) {
        for (const cairo_glyph_t &glyph : runs[r].glyphs) {
            const bool blank = glyph.index == blanks[r];
            words += !blank && !inWord;
            inWord = !blank;
        }
    }
    return words;
}

// The n-th group of glyphs between blank glyphs draws the n-th word, whatever the shaper made of
// its letters; a word drawn with two fonts gives its characters to its first glyphs.
void addWordClusters(std::vector<ClusteredRun> &runs, const std::vector<quint32> &blanks,
                     const QStringList &words)
{
    qsizetype word = -1;
    bool inWord = false;
    for (size_t r = 0; r < runs.size(); ++r) {
        const std::vector<cairo_glyph_t> &glyphs = runs[r].glyphs;
        for (size_t g = 0; g < glyphs.size();) {
            size_t end = g;
            while (end < glyphs.size() && glyphs[end].index != blanks[r])
                ++end;
            if (end == g) {
                runs[r].add(" ", 1);
                inWord = false;
                ++g;
                continue;
            }
            word += !inWord;
            runs[r].add(inWord ? QByteArray() : words[word].toUtf8(), int(end - g));
            inWord = true;
            g = end;
        }
    }
}

// The whole line as one cluster, given to the first run that draws more than blanks.
void addLineCluster(std::vector<ClusteredRun> &runs, const std::vector<quint32> &blanks,
                    const QString &text)
{
    bool given = false;
    for (size_t r = 0; r < runs.size(); ++r) {
        const std::vector<cairo_glyph_t> &glyphs = runs[r].glyphs;
        if (glyphs.empty())
            continue;
        const bool gives =
            !given && std::any_of(glyphs.cbegin(), glyphs.cend(), [&](const cairo_glyph_t &glyph) {
                return glyph.index != blanks[r];
            });
        runs[r].add(gives ? text.toUtf8() : QByteArray(), int(glyphs.size()));
        given = given || gives;
    }
}

// Words are what lies between blanks, in the text and in the glyphs alike. When the counts
// differ (a blank the shaper drew with another glyph), or a run goes from right to left (its
// words are drawn in the other order), the line is one cluster, which still reads back right,
// if less finely.
std::vector<ClusteredRun> clusterWords(const QList<QGlyphRun> &runs,
                                       const std::vector<quint32> &blanks, const QString &text,
                                       const QPointF &origin)
{
    std::vector<ClusteredRun> clustered = placedGlyphs(runs, origin);
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    const bool leftToRight = std::none_of(runs.cbegin(), runs.cend(),
                                          [](const QGlyphRun &run) { return run.isRightToLeft(); });
    if (leftToRight && glyphWords(clustered, blanks) == words.size())
        addWordClusters(clustered, blanks, words);
    else
        addLineCluster(clustered, blanks, text);
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
