// SPDX-License-Identifier: GPL-3.0-or-later
// The record form: navigation, Save, Delete, Clear, Search, the cross-reference button and the
// English pane's look-up, which drives the search.

#include "mainform.h"

#include "dialogs.h"
#include "dictdb.h"
#include "englishlemma.h"
#include "search.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
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

int MainForm::askSaveChanges(int escapeButton)
{
    return Dialogs::current().question(this, tr("Text Changed"),
                                       tr("Meaning/Synonym(s) modified. Save them?"), Dialogs::Yes,
                                       escapeButton);
}

// Settles edited meaning or synonyms before a command replaces them: Yes saves and lets the
// command go on only when the record was written, No gives the edits up, Cancel stops.
bool MainForm::settleRecordChanges(int escapeButton)
{
    if (!recordIsModified())
        return true;
    switch (askSaveChanges(escapeButton)) {
    case Dialogs::Yes:
        return saveRecordForm();
    case Dialogs::No:
        return true;
    default:
        return false;
    }
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
    if (!settleRecordChanges(Dialogs::Yes))
        return;
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
    saveRecordForm();
}

// True only when the form's record was written; otherwise the edits stay marked as modified,
// so that the next command asks about them again instead of dropping them.
bool MainForm::saveRecordForm()
{
    if (chkReadOnly->isChecked()) {
        Dialogs::current().information(this, tr("VANTRO"),
                                       tr("Read Only is ticked: nothing was saved."));
        return false;
    }
    if (Dialogs::current().question(this, tr("Confirm Add/Save"), tr("Confirm Add/Save?"),
                                    Dialogs::No, Dialogs::No) != Dialogs::Yes ||
        !DICTDB)
        return false;
    // Blanks around a key would store an invisible twin of it.
    const QString key = ledEng->text().trimmed();
    DICTDB->setWord(key);
    DICTDB->setITRANS(tedITRANS->toPlainText());
    DICTDB->setSynonym(ledSyn->text());
    if (DICTDB->addRecord() == 0) {
        showKeyCount();
    } else if (DICTDB->saveRecord() != 0) {
        outLine(QStringLiteral("Could not add/save record: ") + key);
        Dialogs::current().information(this, tr("VANTRO"),
                                       tr("Could not add/save record: ") + key + QLatin1Char('\n') +
                                           DICTDB->failureReason());
        return false;
    }
    tedITRANS->document()->setModified(false);
    ledSyn->setModified(false);
    return true;
}

void MainForm::btnDeleteClicked()
{
    if (chkReadOnly->isChecked()) {
        Dialogs::current().information(this, tr("VANTRO"),
                                       tr("Read Only is ticked: nothing was deleted."));
        return;
    }
    if (Dialogs::current().question(this, tr("Confirm Delete"), tr("Confirm Delete?"), Dialogs::No,
                                    Dialogs::No) != Dialogs::Yes ||
        !DICTDB)
        return;
    // Save stores keys lower-cased, but a key stored with capitals by another tool is deleted
    // as it stands.
    const QString key = ledEng->text().trimmed();
    DICTDB->setWord(DICTDB->hasKey(key) ? key : key.toLower());
    const bool deleted = DICTDB->deleteRecord() == 0;
    outLine(QStringLiteral("key: ") + key +
            (deleted ? QStringLiteral(" deleted") : QStringLiteral(" not deleted")));
    if (!deleted)
        Dialogs::current().information(this, tr("VANTRO"),
                                       tr("Could not delete record: ") + key + QLatin1Char('\n') +
                                           DICTDB->failureReason());
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
    if (!settleRecordChanges(Dialogs::Yes))
        return;
    tedITRANS->clear();
    ledSyn->clear();
    tedITRANS->document()->setModified(false);
    ledSyn->setModified(false);
    tedITRANS->setFocus();
}

void MainForm::btnSearchClicked()
{
    if (settleRecordChanges(Dialogs::Yes))
        searchFor(ledEng->text());
}

// Shows the record the search settles on. Without one, the key field keeps its text and the
// meaning and synonyms are emptied, so that no record's meaning stands under another key.
void MainForm::searchFor(const QString &text)
{
    const QString key = text.trimmed();
    if (DICTDB && vantro::searchAtOrAfter(*DICTDB, key))
        showRecord();
    else
        showNotFound(key);
}

void MainForm::showNotFound(const QString &word)
{
    tedITRANS->clear();
    ledSyn->clear();
    tedITRANS->document()->setModified(false);
    ledSyn->setModified(false);
    Dialogs::current().information(this, tr("VANTRO - Search"), word + tr(" not found"));
}

// The question comes before any field changes, so Cancel leaves the whole form as it was.
void MainForm::btnQVClicked()
{
    QString word = ledSyn->selectedText();
    if (word.isEmpty())
        word = vantro::wordAt(ledSyn->text(), ledSyn->cursorPosition());
    if (word.isEmpty() || !settleRecordChanges(Dialogs::Yes))
        return;
    ledEng->setText(word);
    searchFor(word);
}

void MainForm::btnLookUpClicked()
{
    if (!finishLoading(english))
        return;
    const QTextCursor cursor = english->textCursor();
    QString word = cursor.selection().toPlainText();
    if (word.isEmpty())
        word = vantro::wordAtOrBefore(cursor.block().text(), cursor.positionInBlock());
    if (word.isEmpty())
        word = ledEng->text();
    if (word.isEmpty() || !settleRecordChanges(Dialogs::Yes))
        return;
    const QString lowered = word.toLower();
    // The same rule as vantro-dict lookup: the word's key, its lemma, or a related shorter key.
    if (DICTDB && vantro::lookUpEnglish(*DICTDB, word, vantro::EnglishLemmas::instance()).found) {
        showRecord();
        return;
    }
    ledEng->setText(lowered);
    showNotFound(lowered);
}
