// The translation workspace: the ITRANS document, the English pane, find and the edit commands.

#include "mainform.h"

#include "dialogs.h"
#include "dlgfind.h"
#include "search.h"

#include <QFile>
#include <QLineEdit>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include <cstdio>

namespace {

// Text files are in the locale's 8-bit encoding, read and written whole.
bool readLocaleText(const QString &path, QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QStringDecoder decode(QStringConverter::System);
    text = decode(file.readAll());
    return true;
}

// Writes beside the target and replaces it only once every byte is on disk, so a failed write
// (full disk, quota, lost permission) leaves the old file exactly as it was.
bool writeLocaleText(const QString &path, const QString &text)
{
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QStringEncoder encode(QStringConverter::System);
    const QByteArray bytes = encode(text);
    if (file.write(bytes) != bytes.size())
        return false;
    // commit() flushes, syncs and renames, and fails if any earlier write failed.
    return file.commit();
}

bool isModified(const QTextEdit *pane)
{
    return pane->document()->isModified();
}

// Replacing the whole text also starts a fresh undo history.
void replaceText(QTextEdit *pane, const QString &text)
{
    pane->setPlainText(text);
    pane->document()->clearUndoRedoStacks();
    pane->document()->setModified(false);
}

} // namespace

int MainForm::askSaveITRANS(bool forNew, int escapeButton)
{
    const QString text =
        forNew ? tr("Save modified ITRANS file ") : tr("Save modified ITRANS file");
    return Dialogs::current().question(
        this, tr("VANTRO- ITRANS file") + ITRANSFile + tr(" modified"),
        text + ITRANSFile + QStringLiteral("?"), Dialogs::Yes, escapeButton);
}

// Asks about unsaved ITRANS text before it is replaced. Only a save the user asked for and that
// failed stops the caller: the text it would throw away is then the only copy.
bool MainForm::settleITRANSChanges(bool forNew)
{
    if (!isModified(itrans))
        return true;
    if (askSaveITRANS(forNew, Dialogs::No) != Dialogs::Yes)
        return true;
    return saveITRANS();
}

bool MainForm::saveITRANS()
{
    if (!writeLocaleText(ITRANSFile, itrans->toPlainText())) {
        Dialogs::current().information(this, tr("VANTRO"), tr("Could not open ") + ITRANSFile);
        return false;
    }
    itrans->document()->setModified(false);
    return true;
}

// Leaving with unsaved ITRANS text asks first; Escape stays in the program.
bool MainForm::mayLeave()
{
    if (!isModified(itrans))
        return true;
    switch (askSaveITRANS(true, Dialogs::Cancel)) {
    case Dialogs::Yes:
        return saveITRANS();
    case Dialogs::No:
        return true;
    default:
        return false;
    }
}

void MainForm::fileNew()
{
    if (!settleITRANSChanges(true))
        return;
    replaceText(itrans, QString());
}

void MainForm::fileOpen()
{
    const QString path = Dialogs::current().openFileName(this, tr("VANTRO Helper (*.txt)"),
                                                         QStringLiteral("file open"),
                                                         tr("ITRANS Files -- File Open"));
    if (path.isEmpty())
        return;
    if (!settleITRANSChanges(false))
        return;
    QString text;
    if (!readLocaleText(path, text)) {
        Dialogs::current().information(this, tr("VANTRO"), tr("Could not read ") + path);
        return;
    }
    replaceText(itrans, text);
    ITRANSFile = path;
    itrans->setFocus();
}

void MainForm::fileSave()
{
    saveITRANS();
}

void MainForm::fileSaveAs()
{
    const QString path =
        Dialogs::current().saveFileName(this, tr("VANTRO (*.txt)"), QStringLiteral("file save as"),
                                        tr("ITRANS Files -- File Save As"));
    if (path.isEmpty())
        return;
    ITRANSFile = path;
    saveITRANS();
}

void MainForm::editUndo()
{
    itrans->undo();
}

void MainForm::editRedo()
{
    itrans->redo();
}

void MainForm::editCut()
{
    itrans->cut();
}

void MainForm::editCopy()
{
    itrans->copy();
}

void MainForm::editPaste()
{
    itrans->paste();
}

void MainForm::editFind()
{
    if (!pdlgf) {
        pdlgf = new dlgFind(this, nullptr, false);
        pdlgf->setMF(this);
    }
    pdlgf->show();
}

void MainForm::findString(QString text)
{
    if (itrans->find(text))
        return;
    currPara = 0;
    currIndex = 0;
    QTextCursor cursor(itrans->document()->findBlockByNumber(currPara));
    cursor.setPosition(cursor.block().position() + currIndex);
    itrans->setTextCursor(cursor);
    itrans->find(text);
}

void MainForm::btnBrowseClicked()
{
    const QString path = Dialogs::current().openFileName(
        this, tr("VANTRO (*.*)"), QStringLiteral("file open"), tr("English Text -- File Open"));
    if (path.isEmpty())
        return;
    QString text;
    if (!readLocaleText(path, text)) {
        std::printf("could not read %s\n", path.toLocal8Bit().constData());
        std::fflush(stdout);
        return;
    }
    replaceText(english, text);
    english->setFocus();
}

void MainForm::btnLookUpClicked()
{
    const QTextCursor cursor = english->textCursor();
    const QString selected = cursor.selection().toPlainText();
    if (!selected.isEmpty()) {
        ledEng->setText(selected);
    } else {
        const QString word = vantro::wordAt(cursor.block().text(), cursor.positionInBlock());
        if (!word.isEmpty())
            ledEng->setText(word);
    }
    vantro::lookUpWord(ledEng->text(), [this](const QString &candidate) {
        ledEng->setText(candidate);
        btnSearchClicked();
        return ledEng->text();
    });
}
