// SPDX-License-Identifier: GPL-3.0-or-later
// The ITRANS document in other scripts: the preview window, printing and export.

#include "mainform.h"

#include "dialogs.h"
#include "documentoutput.h"
#include "previewwindow.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScreen>
#include <QTextCursor>
#include <QTextEdit>

#include <type_traits>

using vantro::Script;

namespace {

// The footer's name for the document: its file name, or a word for an unsaved document.
QString footerName(const QString &path)
{
    return path.isEmpty() ? MainForm::tr("Untitled") : QFileInfo(path).fileName();
}

} // namespace

void MainForm::filePrint()
{
    if (!finishLoading(itrans))
        return;
    const QStringList scripts = {tr("ITRANS"), tr("Devanagari"), tr("IAST")};
    const int chosen = Dialogs::current().choice(this, tr("Print"), tr("Print the document as:"),
                                                 scripts, int(Script::Devanagari));
    if (chosen < 0 || chosen >= scripts.size())
        return;
    const QString name = footerName(ITRANSFile);
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(name);
    printer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    if (!Dialogs::current().print(this, printer))
        return;
    const QString text = vantro::itransInScript(itrans->toPlainText(), Script(chosen));
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // A PDF goes through our own writer, which replaces the file only when it is complete and
    // can say why it failed; a printer is driven directly.
    const bool printed = printer.outputFormat() == QPrinter::PdfFormat
                             ? vantro::output::writePdf(printer.outputFileName(), text, name,
                                                        &error, printer.pageLayout())
                             : vantro::output::printText(printer, text, name, &error);
    QApplication::restoreOverrideCursor();
    if (!printed) {
        const QString target = printer.outputFormat() == QPrinter::PdfFormat
                                   ? printer.outputFileName()
                                   : printer.printerName();
        Dialogs::current().information(this, tr("VANTRO"),
                                       tr("Could not print to %1: %2").arg(target, error));
    }
}

namespace {

struct ExportChoice
{
    QString path;
    bool pdf = false;
    Script script = Script::Devanagari;
};

// A typed ".pdf" or ".txt" decides the format whatever the filter; a name without an extension
// takes the filter's format and extension. Text is in IAST only when the IAST filter is chosen.
ExportChoice exportChoice(QString path, const QString &filter, const QStringList &filters)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool pdfFilter = filter == filters.at(2);
    ExportChoice choice;
    choice.pdf = suffix == QLatin1String("pdf") || (suffix != QLatin1String("txt") && pdfFilter);
    if (suffix.isEmpty())
        path += choice.pdf ? QStringLiteral(".pdf") : QStringLiteral(".txt");
    choice.path = path;
    choice.script = filter == filters.at(1) && !choice.pdf ? Script::Iast : Script::Devanagari;
    return choice;
}

} // namespace

// Writes a converted copy; the document, its name and its modified flag stay as they are.
void MainForm::fileExport()
{
    if (!finishLoading(itrans))
        return;
    const QStringList filters = {tr("Devanagari text (*.txt)"), tr("IAST text (*.txt)"),
                                 tr("PDF (*.pdf)")};
    QString filter;
    const QString typed = Dialogs::current().saveFileNameWithFilter(
        this, filters, filter, QStringLiteral("file export"), tr("ITRANS Files -- Export"));
    if (typed.isEmpty())
        return;
    const ExportChoice chosen = exportChoice(typed, filter, filters);
    const QString converted = vantro::itransInScript(itrans->toPlainText(), chosen.script);
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = chosen.pdf ? vantro::output::writePdf(chosen.path, converted,
                                                               footerName(ITRANSFile), &error)
                                    : vantro::output::writeText(chosen.path, converted, &error);
    QApplication::restoreOverrideCursor();
    if (!written)
        Dialogs::current().information(this, tr("VANTRO"),
                                       tr("Could not export %1: %2").arg(chosen.path, error));
}

void MainForm::viewDevanagariPreview(bool on)
{
    if (!on) {
        if (m_preview)
            m_preview->hide();
        return;
    }
    if (!m_preview)
        createPreview();
    m_preview->setCursorPosition(itrans->textCursor().position());
    showRecordInPreview();
    m_preview->show();
    m_preview->raise();
}

// Beside the main window where the screen has room, so that neither hides the other; where it
// has none, at the screen's right edge, over the dictionary form rather than the ITRANS pane.
void MainForm::placePreview()
{
    if (!screen())
        return;
    const QRect frame = frameGeometry();
    const QRect available = screen()->availableGeometry();
    const int width = m_preview->frameGeometry().width();
    int left = available.right() + 1 - width;
    if (frame.right() + width < available.right())
        left = frame.right() + 1;
    else if (frame.left() - width > available.left())
        left = frame.left() - width;
    m_preview->move(left, frame.top());
}

void MainForm::createPreview()
{
    m_preview = new PreviewWindow(itrans->document(), this);
    placePreview();
    // Ctrl+D closes the preview from inside it as well.
    m_preview->addAction(viewDevanagariPreviewAction);
    // Written against what the plain and the rich text edit share, so either may hold the text.
    using DocumentPane = std::remove_pointer_t<decltype(itrans)>;
    using MeaningPane = std::remove_pointer_t<decltype(tedITRANS)>;
    connect(itrans, &DocumentPane::cursorPositionChanged, m_preview,
            [this] { m_preview->setCursorPosition(itrans->textCursor().position()); });
    connect(m_preview, &PreviewWindow::jumpRequested, this, [this](int position) {
        QTextCursor cursor = itrans->textCursor();
        cursor.setPosition(position);
        itrans->setTextCursor(cursor);
        raise();
        activateWindow();
        itrans->setFocus();
    });
    connect(m_preview, &PreviewWindow::closed, viewDevanagariPreviewAction,
            [this] { viewDevanagariPreviewAction->setChecked(false); });
    // The preview is the context: these stop when it goes, before the form's widgets do.
    const auto showRecord = [this] { showRecordInPreview(); };
    connect(tedITRANS, &MeaningPane::textChanged, m_preview, showRecord);
    connect(ledSyn, &QLineEdit::textChanged, m_preview, showRecord);
    connect(qApp, &QApplication::focusChanged, m_preview, showRecord);
}

// The record's meaning and synonyms join the preview while the user is in one of them; they
// leave when the focus goes elsewhere in this window, not when it goes to the preview itself.
void MainForm::showRecordInPreview()
{
    if (!m_preview)
        return;
    const QWidget *focus = QApplication::focusWidget();
    if (focus == tedITRANS || focus == ledSyn)
        m_preview->showRecord(tedITRANS->toPlainText(), ledSyn->text());
    else if (focus && focus->window() == this)
        m_preview->hideRecord();
}
