// SPDX-License-Identifier: GPL-3.0-or-later
// The translation workspace: the ITRANS document, the English pane, find and the edit commands.

#include "mainform.h"

#include "dialogs.h"
#include "dlgfind.h"
#include "paneloader.h"
#include "search.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <cstdio>

using vantro::TextFormat;

namespace {

bool isModified(const QPlainTextEdit *pane)
{
    return pane->document()->isModified();
}

// Replacing the whole text also starts a fresh undo history.
void replaceText(QPlainTextEdit *pane, const QString &text)
{
    pane->setPlainText(text);
    pane->document()->clearUndoRedoStacks();
    pane->document()->setModified(false);
}

// The pane's text as typed, with "\n" between lines. The document's own plain text would turn
// no-break spaces into blanks and line separators into line ends.
QString documentText(const QPlainTextEdit *pane)
{
    QString text = pane->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

QString withReason(const QString &text, const QString &reason)
{
    return reason.isEmpty() ? text : text + QLatin1Char('\n') + reason;
}

// Another program may have changed the file since it was read or written here; overwriting
// that is the user's choice, and No, the default, keeps the file on disk as it is.
bool overwriteAllowed(QWidget *parent, const QString &path, const vantro::FileStamp &known)
{
    const vantro::FileStamp now = vantro::stampFile(path);
    if (!known.exists || !now.exists || now == known)
        return true;
    const QString text =
        MainForm::tr("%1 was changed by another program since it was opened or saved here.")
            .arg(path) +
        QLatin1Char('\n') + MainForm::tr("Overwrite it?");
    return Dialogs::current().question(parent, MainForm::tr("VANTRO"), text, Dialogs::No,
                                       Dialogs::No) == Dialogs::Yes;
}

} // namespace

// Answers Cancel or Escape keep everything as it is, so a slip of the hand loses no text.
bool MainForm::settleITRANSChanges(bool forNew)
{
    if (!isModified(itrans))
        return true;
    const QString text =
        forNew ? tr("Save modified ITRANS file ") : tr("Save modified ITRANS file");
    switch (Dialogs::current().question(
        this,
        tr("VANTRO- ITRANS file") + (ITRANSFile.isEmpty() ? QString() : u' ' + ITRANSFile) +
            tr(" modified"),
        text + ITRANSFile + QStringLiteral("?"), Dialogs::Yes, Dialogs::Cancel)) {
    case Dialogs::Yes:
        return saveITRANS();
    case Dialogs::No:
        return true;
    default:
        return false;
    }
}

// A document without a name asks for one: writing it nowhere would only report a failure.
bool MainForm::saveITRANS()
{
    return ITRANSFile.isEmpty() ? saveITRANSAs() : writeITRANS();
}

bool MainForm::saveITRANSAs()
{
    const QString path = Dialogs::current().saveFileName(
        this, tr("VANTRO (*.txt)") + QStringLiteral(";;") + tr("All files (*)"),
        QStringLiteral("file save as"), tr("ITRANS Files -- File Save As"));
    if (path.isEmpty())
        return false;
    ITRANSFile = path;
    itransStamp = {}; // the file dialog has asked about replacing it
    return writeITRANS();
}

// What cannot be written the way the file stored it is not changed silently: a character the
// encoding cannot hold, or line ends of several kinds, which the editor does not tell apart.
bool MainForm::settleSaveFormat(const QString &text, TextFormat &format)
{
    const auto agreed = [this](const QString &problem, const QString &question) {
        return Dialogs::current().question(this, tr("VANTRO"),
                                           problem + QLatin1Char('\n') + question, Dialogs::Yes,
                                           Dialogs::Cancel) == Dialogs::Yes;
    };
    if (!vantro::encodingHolds(format.encoding, text)) {
        if (!agreed(tr("The text holds characters that %1, the encoding of %2, cannot hold.")
                        .arg(vantro::encodingName(format.encoding), ITRANSFile),
                    tr("Save it as UTF-8?")))
            return false;
        format.encoding = TextFormat::Utf8;
    }
    if (format.mixedLineEnds) {
        if (!agreed(tr("%1 has line ends of several kinds; saving writes all of them like the "
                       "first one.")
                        .arg(ITRANSFile),
                    tr("Save it?")))
            return false;
        format.mixedLineEnds = false;
    }
    return true;
}

// Writes the text the way the file stored it, once the user has settled what cannot be.
bool MainForm::writeITRANS()
{
    if (!finishLoading(itrans))
        return false;
    const QString text = documentText(itrans);
    TextFormat format = itransFormat;
    if (!settleSaveFormat(text, format))
        return false;
    if (!overwriteAllowed(this, ITRANSFile, itransStamp))
        return false;
    const QString error = vantro::writeTextFile(ITRANSFile, vantro::encodeText(text, format));
    // Even a failed save may have touched the file's time; what is on disk now is what this
    // program last saw or left, not another program's change.
    itransStamp = vantro::stampFile(ITRANSFile);
    if (!error.isEmpty()) {
        Dialogs::current().information(this, tr("VANTRO"),
                                       withReason(tr("Could not open ") + ITRANSFile, error));
        return false;
    }
    itransFormat = format;
    Dialogs::setStartFolder(QFileInfo(ITRANSFile).absolutePath());
    itrans->document()->setModified(false);
    return true;
}

// What is still loading is thrown away with the window.
bool MainForm::mayLeave()
{
    if (!settleITRANSChanges(true))
        return false;
    itransLoader->cancel();
    englishLoader->cancel();
    return true;
}

void MainForm::reportReadFailure(const QString &path, const QString &error, bool printFailure)
{
    if (printFailure) {
        std::printf("could not read %s\n", path.toLocal8Bit().constData());
        std::fflush(stdout);
    }
    Dialogs::current().information(this, tr("VANTRO"),
                                   withReason(tr("Could not read ") + path, error));
}

// Reads the file before anything changes, so that a file which cannot be read leaves the pane as
// it was. A file with NUL bytes is no text, and one with characters the editor takes for line
// ends cannot be saved as it is: opening either is the user's choice, and No is the default.
std::unique_ptr<vantro::TextReader> MainForm::openText(const QString &path, TextFormat &format,
                                                       bool printFailure)
{
    vantro::TextProbe probe;
    QString error;
    if (!vantro::probeTextFile(path, probe, error)) {
        reportReadFailure(path, error, printFailure);
        return nullptr;
    }
    const QString nonText = tr("%1 holds NUL bytes: it is not a text file.").arg(path) +
                            QLatin1Char('\n') + tr("Open it anyway?");
    if (probe.hasNul && Dialogs::current().question(this, tr("VANTRO"), nonText, Dialogs::No,
                                                    Dialogs::No) != Dialogs::Yes)
        return nullptr;
    const QString breaks = tr("%1 holds characters that the editor shows as line ends (U+2029, "
                              "U+FDD0, U+FDD1): saving it would change them.")
                               .arg(path) +
                           QLatin1Char('\n') + tr("Open it anyway?");
    if (probe.editorBreaks && Dialogs::current().question(this, tr("VANTRO"), breaks, Dialogs::No,
                                                          Dialogs::No) != Dialogs::Yes)
        return nullptr;
    auto reader = std::make_unique<vantro::TextReader>(path, probe.format.encoding);
    if (!reader->open(error)) {
        reportReadFailure(path, error, printFailure);
        return nullptr;
    }
    format = probe.format;
    return reader;
}

void MainForm::createLoaders()
{
    itransLoader = createLoader(itrans);
    englishLoader = createLoader(english);
}

// The status bar follows a load; a file that fails half-way leaves its pane empty and says why.
// An ITRANS document that failed has no name then, so that Save cannot write the empty pane over
// the file.
PaneLoader *MainForm::createLoader(QPlainTextEdit *pane)
{
    auto *loader = new PaneLoader(pane);
    connect(loader, &PaneLoader::progress, this, [this](const QString &path, int percent) {
        statusBar()->showMessage(
            tr("Loading %1... %2%").arg(QFileInfo(path).fileName()).arg(percent));
        // Painted now: a command that needs the whole text finishes the load without the event
        // loop.
        statusBar()->repaint();
    });
    connect(loader, &PaneLoader::finished, statusBar(), &QStatusBar::clearMessage);
    connect(loader, &PaneLoader::failed, this,
            [this, pane](const QString &path, const QString &error) {
                statusBar()->clearMessage();
                if (pane == itrans) {
                    ITRANSFile.clear();
                    itransFormat = TextFormat();
                    itransStamp = {};
                }
                reportReadFailure(path, error, pane == english);
            });
    return loader;
}

bool MainForm::isLoading() const
{
    return itransLoader->isLoading() || englishLoader->isLoading();
}

// Whatever reads the pane's text or changes it calls this first: it works on the whole file.
bool MainForm::finishLoading(QPlainTextEdit *pane)
{
    return (pane == itrans ? itransLoader : englishLoader)->finish();
}

void MainForm::fileNew()
{
    if (!settleITRANSChanges(true))
        return;
    itransLoader->cancel();
    replaceText(itrans, QString());
    ITRANSFile.clear();
    itransFormat = TextFormat();
    itransStamp = {};
}

// Unsaved text is settled before the file dialog, so that keys typed ahead answer the right box.
void MainForm::fileOpen()
{
    if (!settleITRANSChanges(false))
        return;
    const QString path = Dialogs::current().openFileName(
        this, tr("VANTRO Helper (*.txt)") + QStringLiteral(";;") + tr("All files (*)"),
        QStringLiteral("file open"), tr("ITRANS Files -- File Open"));
    if (path.isEmpty())
        return;
    TextFormat format;
    const vantro::FileStamp stamp = vantro::stampFile(path);
    std::unique_ptr<vantro::TextReader> reader = openText(path, format, false);
    if (!reader)
        return;
    ITRANSFile = path;
    itransFormat = format;
    itransStamp = stamp;
    Dialogs::setStartFolder(QFileInfo(path).absolutePath());
    itransLoader->start(path, std::move(reader));
    itrans->setFocus();
}

void MainForm::fileSave()
{
    saveITRANS();
}

void MainForm::fileSaveAs()
{
    saveITRANSAs();
}

void MainForm::editUndo()
{
    if (!finishLoading(itrans))
        return;
    itrans->undo();
}

void MainForm::editRedo()
{
    if (!finishLoading(itrans))
        return;
    itrans->redo();
}

void MainForm::editCut()
{
    if (!finishLoading(itrans))
        return;
    itrans->cut();
}

void MainForm::editCopy()
{
    if (!finishLoading(itrans))
        return;
    itrans->copy();
}

void MainForm::editPaste()
{
    if (!finishLoading(itrans))
        return;
    itrans->paste();
}

void MainForm::editFind()
{
    if (!pdlgf) {
        pdlgf = new dlgFind(this, nullptr, false);
        pdlgf->setMF(this);
    }
    // Typing goes into the search field at once, over the text searched last.
    pdlgf->show();
    pdlgf->raise();
    pdlgf->activateWindow();
    pdlgf->cmbFind->setFocus();
    pdlgf->cmbFind->lineEdit()->selectAll();
}

// In ITRANS a capital is another letter ("mA" is not "ma"), so case counts unless the user says
// otherwise.
MainForm::FindOutcome MainForm::findString(QString text, bool matchCase)
{
    if (!finishLoading(itrans))
        return NotFound;
    const QTextDocument::FindFlags flags =
        matchCase ? QTextDocument::FindCaseSensitively : QTextDocument::FindFlags();
    if (itrans->find(text, flags))
        return Found;
    currPara = 0;
    currIndex = 0;
    QTextCursor cursor(itrans->document()->findBlockByNumber(currPara));
    cursor.setPosition(cursor.block().position() + currIndex);
    itrans->setTextCursor(cursor);
    return itrans->find(text, flags) ? Wrapped : NotFound;
}

void MainForm::btnBrowseClicked()
{
    const QString path = Dialogs::current().openFileName(
        this, tr("All files (*)"), QStringLiteral("file open"), tr("English Text -- File Open"));
    if (path.isEmpty())
        return;
    TextFormat format;
    std::unique_ptr<vantro::TextReader> reader = openText(path, format, true);
    if (!reader)
        return;
    englishLoader->start(path, std::move(reader));
    english->setFocus();
}
