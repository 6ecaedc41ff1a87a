// SPDX-License-Identifier: GPL-3.0-or-later
#include "documentoutput.h"

#include "outputfile.h"
#include "pdfglyphwriter.h"
#include "transliterate.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace vantro::output {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("DocumentOutput", text);
}

// Noto Sans for ITRANS and IAST, its Devanagari sister (both from fonts-noto-core) for text with
// Devanagari in it; the toolkit falls back from each to a font with the other's letters. Naming
// only the one family keeps it from trying Noto Sans on Devanagari, which it warns about.
QFont pageFont(int pointSize, bool devanagari = false)
{
    QFont font(devanagari ? QStringLiteral("Noto Sans Devanagari") : QStringLiteral("Noto Sans"));
    font.setPointSize(pointSize);
    return font;
}

bool hasDevanagari(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.unicode() >= 0x0900 && c.unicode() <= 0x097f; });
}

void drawFooter(QPainter &painter, const QRectF &area, const QString &name, int page, int pages)
{
    painter.setFont(pageFont(9));
    painter.setPen(Qt::black);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignBottom, name);
    painter.drawText(area, Qt::AlignRight | Qt::AlignBottom,
                     tr("Page %1 of %2").arg(page).arg(pages));
}

// The document laid out in pages of the device: the body above, the footer below.
struct PagedText
{
    PagedText(QPaintDevice &device, const QString &text)
    {
        document.documentLayout()->setPaintDevice(&device);
        document.setDefaultFont(pageFont(12, hasDevanagari(text)));
        document.setPlainText(text);
        width = device.width();
        footer = 2.5 * QFontMetricsF(pageFont(9), &device).height();
        body = device.height() - footer;
        document.setPageSize(QSizeF(width, body));
        pages = document.pageCount();
    }
    QRectF footerArea() const { return QRectF(0, body, width, footer); }

    QTextDocument document;
    qreal width = 0;
    qreal body = 0;
    qreal footer = 0;
    int pages = 0;
};

QPageLayout defaultPdfLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                       QPageLayout::Millimeter);
}

// A footer line as QPainter::drawText() places it in area: at the bottom, left or right.
void drawFooterText(PdfGlyphWriter &writer, QPaintDevice &device, const QRectF &area,
                    const QString &text, Qt::Alignment side, bool *fontFound)
{
    QTextLayout layout(text, pageFont(9), &device);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(area.width());
    layout.endLayout();
    const qreal x = side & Qt::AlignRight ? area.right() - line.naturalTextWidth() : area.left();
    *fontFound =
        writer.drawLine(line, text, QPointF(x, area.bottom() - line.height())) && *fontFound;
}

enum class PdfResult { Written, Failed, FontNotFound };

// Draws the pages the way printText() does on a QPdfWriter, through our own writer so that the
// text reads back: the same layout, the same fonts, the same glyphs in the same places.
PdfResult drawTextLayerPages(PdfGlyphWriter &writer, QPaintDevice &device, const QString &text,
                             const QString &name)
{
    const PagedText paged(device, text);
    bool fontFound = true;
    int page = 0;
    const auto endPage = [&] {
        writer.resetClip();
        drawFooterText(writer, device, paged.footerArea(), name, Qt::AlignLeft, &fontFound);
        drawFooterText(writer, device, paged.footerArea(),
                       tr("Page %1 of %2").arg(page + 1).arg(paged.pages), Qt::AlignRight,
                       &fontFound);
        if (++page < paged.pages)
            writer.newPage();
        writer.setClip(QRectF(0, 0, paged.width, paged.body));
    };
    writer.setClip(QRectF(0, 0, paged.width, paged.body));
    for (QTextBlock block = paged.document.begin(); block.isValid() && fontFound;
         block = block.next()) {
        const QTextLayout *layout = block.layout();
        const QString blockText = block.text();
        for (int i = 0; i < layout->lineCount() && fontFound; ++i) {
            const QTextLine line = layout->lineAt(i);
            const qreal middle = layout->position().y() + line.y() + line.height() / 2;
            while (page < paged.pages - 1 && middle >= (page + 1) * paged.body)
                endPage();
            const QPointF origin = layout->position() - QPointF(0, page * paged.body);
            fontFound =
                writer.drawLine(line, blockText.mid(line.textStart(), line.textLength()), origin);
        }
    }
    while (fontFound && page < paged.pages)
        endPage();
    return fontFound ? PdfResult::Written : PdfResult::FontNotFound;
}

PdfResult writeTextLayerPdf(const QString &path, const QString &text, const QString &name,
                            const QPageLayout &layout, QString *error)
{
    // The pages are measured on the device printText() draws PDF pages on; nothing is drawn on it.
    QBuffer unused;
    QPdfWriter device(&unused);
    device.setPageLayout(layout);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return PdfResult::Failed;
    }
    PdfGlyphWriter writer(file, layout, device.resolution());
    writer.setTitle(name, QCoreApplication::applicationName());
    // Without a commit, the file is dropped with its temporary copy; the one in place stays.
    if (drawTextLayerPages(writer, device, text, name) == PdfResult::FontNotFound)
        return PdfResult::FontNotFound;
    if (!writer.finish(error))
        return PdfResult::Failed;
    if (!file.commit()) {
        *error = file.errorString();
        return PdfResult::Failed;
    }
    return PdfResult::Written;
}

// The toolkit's own writer, for text in a font that cannot be found for ours: the pages look the
// same, but a character drawn with another (a conjunct) does not read back.
bool writeToolkitPdf(const QString &path, const QString &text, const QString &name,
                     const QPageLayout &layout, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(name);
        writer.setCreator(QCoreApplication::applicationName());
        writer.setPageLayout(layout);
        if (!printText(writer, text, name, error))
            return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

bool printText(QPagedPaintDevice &device, const QString &text, const QString &name, QString *error)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        *error = tr("the printer could not be started");
        return false;
    }
    const PagedText paged(device, text);
    for (int page = 0; page < paged.pages; ++page) {
        if (page > 0 && !device.newPage()) {
            *error = tr("page %1 could not be started").arg(page + 1);
            return false;
        }
        painter.save();
        painter.translate(0, -page * paged.body);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, page * paged.body, paged.width, paged.body);
        context.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(context.clip);
        paged.document.documentLayout()->draw(&painter, context);
        painter.restore();
        drawFooter(painter, paged.footerArea(), name, page + 1, paged.pages);
    }
    return painter.end();
}

bool writeText(const QString &path, const QString &text, QString *error)
{
    QString target;
    if (!resolveOutputFile(path, &target, error))
        return false;
    QSaveFile file(target);
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

bool writePdf(const QString &path, const QString &text, const QString &name, QString *error,
              const QPageLayout &layout)
{
    QString target;
    if (!resolveOutputFile(path, &target, error))
        return false;
    const QPageLayout page = layout.isValid() ? layout : defaultPdfLayout();
    const PdfResult written = writeTextLayerPdf(target, text, name, page, error);
    if (written != PdfResult::FontNotFound)
        return written == PdfResult::Written;
    return writeToolkitPdf(target, text, name, page, error);
}

} // namespace vantro::output
