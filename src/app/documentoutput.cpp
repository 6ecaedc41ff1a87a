// SPDX-License-Identifier: GPL-3.0-or-later
#include "documentoutput.h"

#include "outputfile.h"
#include "transliterate.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

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

} // namespace

QString convert(const QString &itrans, Script script)
{
    switch (script) {
    case Script::Devanagari:
        return itransToDevanagari(itrans);
    case Script::Iast:
        return itransToIast(itrans);
    case Script::Itrans:
        break;
    }
    return itrans;
}

bool printText(QPagedPaintDevice &device, const QString &text, const QString &name, QString *error)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        *error = tr("the printer could not be started");
        return false;
    }
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&device);
    document.setDefaultFont(pageFont(12, hasDevanagari(text)));
    document.setPlainText(text);
    const qreal width = device.width();
    const qreal footer = 2.5 * QFontMetricsF(pageFont(9), &device).height();
    const qreal body = device.height() - footer;
    document.setPageSize(QSizeF(width, body));
    const int pages = document.pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage()) {
            *error = tr("page %1 could not be started").arg(page + 1);
            return false;
        }
        painter.save();
        painter.translate(0, -page * body);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, page * body, width, body);
        context.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(context.clip);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        drawFooter(painter, QRectF(0, body, width, footer), name, page + 1, pages);
    }
    return painter.end();
}

bool writeText(const QString &path, const QString &text, QString *error)
{
    const OutputFile target = OutputFile::resolve(path);
    if (!target.why.isEmpty()) {
        *error = target.why;
        return false;
    }
    QSaveFile file(target.path);
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
    const OutputFile target = OutputFile::resolve(path);
    if (!target.why.isEmpty()) {
        *error = target.why;
        return false;
    }
    QSaveFile file(target.path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(name);
        writer.setCreator(QCoreApplication::applicationName());
        if (layout.isValid())
            writer.setPageLayout(layout);
        else
            writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        if (!printText(writer, text, name, error))
            return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace vantro::output
