// The record form: navigation, Save, Delete, Clear, Search and the cross-reference button.

#include "mainform.h"

#include "dialogs.h"
#include "dictdb.h"
#include "search.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>

#include <cstdio>

using vantro::cDictDB;

namespace {

void outLine(const QString &text)
{
    std::printf("%s\n", text.toLatin1().constData());
    std::fflush(stdout);
}

} // namespace

bool MainForm::recordIsModified() const
{
    return tedITRANS->document()->isModified() || ledSyn->isModified();
}

int MainForm::askSaveChanges()
{
    return Dialogs::current().question(this, tr("Text Changed"),
                                       tr("Meaning/Synonym(s) modified. Save them?"),
                                       Dialogs::Yes, Dialogs::Yes);
}

void MainForm::showRecord()
{
    ledEng->setText(DICTDB->getWord());
    tedITRANS->setPlainText(DICTDB->getITRANS());
    ledSyn->setText(DICTDB->getSynonym());
    ledEng->setModified(false);
    tedITRANS->document()->setModified(false);
    ledSyn->setModified(false);
}

void MainForm::moveCursor(int cOpt)
{
    if (recordIsModified() && askSaveChanges() == Dialogs::Yes)
        btnSaveClicked();
    if (DICTDB && DICTDB->getCursorRec(cOpt) == 0)
        showRecord();
}

void MainForm::btnFirstClicked()
{
    moveCursor(cDictDB::First);
}

void MainForm::btnLastClicked()
{
    moveCursor(cDictDB::Last);
}

void MainForm::btnNextClicked()
{
    moveCursor(cDictDB::Next);
}

void MainForm::btnPrevClicked()
{
    moveCursor(cDictDB::Prev);
}

void MainForm::btnSaveClicked()
{
    if (chkReadOnly->isChecked())
        return;
    if (Dialogs::current().question(this, tr("Confirm Add/Save"), tr("Confirm Add/Save?"),
                                    Dialogs::No, Dialogs::No) != Dialogs::Yes)
        return;
    if (!DICTDB)
        return;
    DICTDB->setWord(ledEng->text());
    DICTDB->setITRANS(tedITRANS->toPlainText());
    DICTDB->setSynonym(ledSyn->text());
    bool written = true;
    if (DICTDB->addRecord() == 0) {
        showKeyCount();
    } else if (DICTDB->saveRecord() != 0) {
        written = false;
        outLine(QStringLiteral("Could not add/save record: ") + ledEng->text());
        // The typed texts were not stored: keep them marked as modified so that the next move
        // asks again instead of silently dropping them.
        Dialogs::current().information(this, tr("VANTRO"),
                                       tr("Could not add/save record: ") + ledEng->text());
    }
    if (written) {
        tedITRANS->document()->setModified(false);
        ledSyn->setModified(false);
    }
}

void MainForm::btnDeleteClicked()
{
    if (chkReadOnly->isChecked())
        return;
    if (Dialogs::current().question(this, tr("Confirm Delete"), tr("Confirm Delete?"),
                                    Dialogs::No, Dialogs::No) != Dialogs::Yes)
        return;
    if (!DICTDB)
        return;
    const QString key = ledEng->text();
    DICTDB->setWord(key);
    const bool deleted = DICTDB->deleteRecord() == 0;
    outLine(QStringLiteral("key: ") + key + (deleted ? QStringLiteral(" deleted")
                                                      : QStringLiteral(" not deleted")));
    ledEng->clear();
    tedITRANS->clear();
    ledSyn->clear();
    ledEng->setModified(false);
    tedITRANS->document()->setModified(false);
    ledSyn->setModified(false);
    showKeyCount();
}

void MainForm::btnClearClicked()
{
    if (recordIsModified() && askSaveChanges() != Dialogs::Yes)
        return;
    tedITRANS->clear();
    ledSyn->clear();
    tedITRANS->document()->setModified(false);
    ledSyn->setModified(false);
    tedITRANS->setFocus();
}

void MainForm::btnSearchClicked()
{
    if (recordIsModified() && askSaveChanges() != Dialogs::Yes)
        return;
    const QString typed = ledEng->text();
    if (DICTDB && vantro::searchAtOrAfter(*DICTDB, typed)) {
        showRecord();
        return;
    }
    Dialogs::current().information(this, tr("VANTRO - Search"), typed + tr(" not found"));
}

void MainForm::btnQVClicked()
{
    QString word = ledSyn->selectedText();
    if (word.isEmpty())
        word = vantro::wordAt(ledSyn->text(), ledSyn->cursorPosition());
    if (word.isEmpty())
        return;
    ledEng->setText(word);
    btnSearchClicked();
}
