// SPDX-License-Identifier: GPL-3.0-or-later
// The record form: navigation, Save, Delete, Clear, Search, the cross-reference button and the
// English pane's look-up, which drives the search.

#include "mainform.h"

#include "dialogs.h"
#include "dictdb.h"
#include "englishlemma.h"
#include "englishlookup.h"
#include "itransinsertion.h"
#include "itransword.h"
#include "itranswordkeys.h"
#include "mnemonicselectsall.h"
#include "record.h"
#include "sanskritchecker.h"
#include "search.h"
#include "wordat.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include <cstdio>

using vantro::cDictDB;

namespace {

constexpr int kStatusMessageTime = 6000; // ms

void outLine(const QString &text)
{
    std::printf("%s\n", text.toLatin1().constData());
    std::fflush(stdout);
}

QString keyText(const QByteArray &key)
{
    return vantro::decodeKey(key.constData(), key.size());
}

// The first words of a stored meaning, enough to recognise it in a question.
QString firstWords(const QString &meaning)
{
    constexpr int kWords = 4;
    constexpr int kCharacters = 48;
    const QString all = meaning.simplified();
    const QString shown = all.split(u' ').mid(0, kWords).join(u' ').left(kCharacters);
    return shown.size() < all.size() ? shown + " ..." : shown;
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
// command go on only when the record was written, No gives the edits up, Cancel stops. A search
// takes the key field for its word, so its Yes saves under the key the record was loaded by.
bool MainForm::settleRecordChanges(int escapeButton, bool underLoadedKey)
{
    if (!recordIsModified())
        return true;
    switch (askSaveChanges(escapeButton)) {
    case Dialogs::Yes:
        return saveRecordForm(underLoadedKey && !recordKey.isEmpty() ? keyText(recordKey)
                                                                     : ledEng->text().trimmed());
    case Dialogs::No:
        return true;
    default:
        return false;
    }
}

void MainForm::showRecord()
{
    recordKey = DICTDB->storedKey();
    missedWord.clear();
    ledEng->setText(DICTDB->getWord());
    tedITRANS->setPlainText(DICTDB->getITRANS());
    ledSyn->setText(DICTDB->getSynonym());
    ledEng->setModified(false);
    tedITRANS->document()->setModified(false);
    ledSyn->setModified(false);
    forgetChosenWord();
}

// A word chosen in the fields of the record shown before is no choice in this one.
void MainForm::forgetChosenWord()
{
    lastRecordField = nullptr;
    ledSyn->deselect();
    QTextCursor start(tedITRANS->document());
    tedITRANS->setTextCursor(start);
}

void MainForm::moveCursor(int cOpt)
{
    if (!settleRecordChanges(Dialogs::Yes))
        return;
    if (!DICTDB)
        return;
    const bool fromMiss = !missedWord.isEmpty() && (cOpt == cDictDB::Next || cOpt == cDictDB::Prev);
    if (fromMiss ? vantro::stepFromWord(*DICTDB, missedWord, cOpt == cDictDB::Next)
                 : DICTDB->getCursorRec(cOpt) == 0)
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
    saveRecordForm(ledEng->text().trimmed());
}

// The stored key a Save of the word writes: the loaded record's own key when the word names it
// in any letter case (a key another tool stored with capitals keeps them), otherwise the word as
// the dictionary stores keys.
QByteArray MainForm::storedKeyFor(const QString &word) const
{
    if (!recordKey.isEmpty() && word.compare(keyText(recordKey), Qt::CaseInsensitive) == 0)
        return recordKey;
    return vantro::encodeKey(word);
}

// Names the key and says whether Save adds it or replaces a stored meaning, and whose.
QString MainForm::saveQuestion(const QString &word, const QByteArray &key)
{
    QString meaning;
    QString synonyms;
    if (!vantro::fitsLatin1(word))
        return tr("Add \"%1\" as a new record?").arg(word);
    if (!DICTDB->readStoredRecord(key, meaning, synonyms))
        return tr("Add \"%1\" as a new record?").arg(keyText(key));
    const QString text = recordKey.isEmpty() || key == recordKey
                             ? tr("Replace the stored meaning of \"%1\"?").arg(keyText(key))
                             : tr("Replace the stored meaning of \"%1\", which is not the record "
                                  "you are editing (\"%2\")?")
                                   .arg(keyText(key), keyText(recordKey));
    return text + u'\n' +
           (meaning.trimmed().isEmpty() ? tr("It is empty.")
                                        : tr("It reads: %1").arg(firstWords(meaning)));
}

// True only when the form's record was written; otherwise the edits stay marked as modified,
// so that the next command asks about them again instead of dropping them.
bool MainForm::saveRecordForm(const QString &word)
{
    if (chkReadOnly->isChecked()) {
        Dialogs::current().information(this, tr("VANTRO"),
                                       tr("Read Only is ticked: nothing was saved."));
        return false;
    }
    if (!DICTDB)
        return false;
    const QString meaning = tedITRANS->toPlainText();
    const QString synonyms = ledSyn->text();
    // Refused before asking: the texts stay in the form to be mended.
    const QString unstorable = word.isEmpty() ? QStringLiteral("the word is empty")
                                              : vantro::whyNotReadBack(meaning, synonyms);
    if (!unstorable.isEmpty())
        return reportSaveFailure(word, unstorable);
    const QByteArray key = storedKeyFor(word);
    if (Dialogs::current().question(this, tr("Confirm Add/Save"), saveQuestion(word, key),
                                    Dialogs::No, Dialogs::No) != Dialogs::Yes)
        return false;
    DICTDB->setWord(word);
    DICTDB->setITRANS(meaning);
    DICTDB->setSynonym(synonyms);
    const bool underStoredKey = key != vantro::encodeKey(word);
    const bool added = !underStoredKey && DICTDB->addRecord() == 0;
    const int result = added            ? 0
                       : underStoredKey ? DICTDB->saveRecordUnder(key)
                                        : DICTDB->saveRecord();
    if (result != 0)
        return reportSaveFailure(word, DICTDB->failureReason());
    if (added)
        showKeyCount();
    m_checker->recordSaved(word, meaning);
    recordKey = key;
    ledEng->setText(keyText(key));
    ledEng->setModified(false);
    tedITRANS->document()->setModified(false);
    ledSyn->setModified(false);
    return true;
}

bool MainForm::reportSaveFailure(const QString &word, const QString &reason)
{
    outLine(QStringLiteral("Could not add/save record: ") + word);
    Dialogs::current().information(this, tr("VANTRO"),
                                   tr("Could not add/save record: ") + word + u'\n' + reason);
    return false;
}

// A failed Delete leaves the form as it was, so that nothing typed is lost with it. The question
// names the stored record; edits typed under another word (after a search that found nothing,
// say) are offered for saving first, since emptying the form would drop them.
void MainForm::btnDeleteClicked()
{
    if (chkReadOnly->isChecked()) {
        Dialogs::current().information(this, tr("VANTRO"),
                                       tr("Read Only is ticked: nothing was deleted."));
        return;
    }
    if (!DICTDB)
        return;
    // Save stores keys lower-cased, but a key stored with capitals by another tool is deleted
    // as it stands.
    const QString typed = ledEng->text().trimmed();
    const QString key = DICTDB->hasKey(typed) ? typed : typed.toLower();
    if (!DICTDB->hasKey(key))
        return reportDeleteFailure(typed, typed.isEmpty()     ? tr("the word is empty")
                                          : !DICTDB->isOpen() ? tr("the dictionary is not open")
                                                              : tr("the word is not in the "
                                                                   "dictionary"));
    if (!settleEditsBeforeDelete(key) ||
        Dialogs::current().question(this, tr("Confirm Delete"),
                                    tr("Delete the stored record \"%1\"?").arg(key), Dialogs::No,
                                    Dialogs::No) != Dialogs::Yes)
        return;
    DICTDB->setWord(key);
    const bool deleted = DICTDB->deleteRecord() == 0;
    outLine(QStringLiteral("key: ") + typed +
            (deleted ? QStringLiteral(" deleted") : QStringLiteral(" not deleted")));
    if (!deleted)
        return reportDeleteFailure(typed, DICTDB->failureReason());
    m_checker->recordDeleted(key);
    recordKey.clear();
    ledEng->clear();
    tedITRANS->clear();
    ledSyn->clear();
    ledEng->setModified(false);
    tedITRANS->document()->setModified(false);
    ledSyn->setModified(false);
    showKeyCount();
}

void MainForm::reportDeleteFailure(const QString &word, const QString &reason)
{
    Dialogs::current().information(this, tr("VANTRO"),
                                   tr("Could not delete record: ") + word + u'\n' + reason);
}

// Edits of the record being deleted go with it; edits made under another word are the user's
// to keep: Yes saves them under that word, No gives them up, Cancel deletes nothing.
bool MainForm::settleEditsBeforeDelete(const QString &key)
{
    if (!recordIsModified() || recordKey.isEmpty() ||
        keyText(recordKey).compare(key, Qt::CaseInsensitive) == 0)
        return true;
    const QString owner = keyText(recordKey);
    const QString text = tr("The meaning and synonyms in the form were typed for \"%1\" and are "
                            "not saved; deleting \"%2\" empties the form.\nSave them under "
                            "\"%1\" first?")
                             .arg(owner, key);
    switch (Dialogs::current().question(this, tr("Text Changed"), text, Dialogs::Yes,
                                        Dialogs::Cancel)) {
    case Dialogs::Yes:
        return saveRecordForm(owner);
    case Dialogs::No:
        return true;
    default:
        return false;
    }
}

// A window that could only open the dictionary for reading keeps Read Only ticked, and says why,
// instead of failing every Save and Delete later.
void MainForm::readOnlyToggled(bool readOnly)
{
    if (readOnly || !DICTDB || (DICTDB->isOpen() && !DICTDB->isReadOnly()))
        return;
    chkReadOnly->setChecked(true);
    const QString why =
        dictionaryProblem.isEmpty() ? tr("the dictionary is not open") : dictionaryProblem;
    Dialogs::current().information(
        this, tr("VANTRO"),
        tr("Read Only stays ticked: this window cannot change the dictionary.\n") + why + u'.');
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
    const QString typed = ledEng->text();
    if (!settleRecordChanges(Dialogs::Yes, true))
        return;
    ledEng->setText(typed);
    searchFor(typed);
}

// Shows the record the search settles on. Without one, the key field keeps its text and the
// meaning and synonyms are emptied, so that no record's meaning stands under another key.
void MainForm::searchFor(const QString &text)
{
    const QString key = text.trimmed();
    if (DICTDB && vantro::searchAtOrAfter(*DICTDB, key))
        showRecord();
    else if (DICTDB && DICTDB->damageFound())
        offerRepair();
    else
        showNotFound(key);
}

// A search that ran into a damaged page found nothing it can vouch for: "not found" would be
// false. The repair closes the dictionary and opens it again with the check that rebuilds it.
void MainForm::offerRepair()
{
    const QString text = DICTDB->problem() + tr(".\nRepair it now? The damaged file is kept.");
    if (Dialogs::current().question(this, tr("VANTRO - Search"), text, Dialogs::Yes, Dialogs::No) !=
        Dialogs::Yes)
        return;
    closeDictionary();
    DICTDB->setCheckAtOpen(true);
    DICTDB->openDB();
    DICTDB->setCheckAtOpen(false);
    showKeyCount();
    dictionaryProblem = DICTDB->problem();
    showTitle();
    QStringList told = DICTDB->recoveryNotices();
    if (!dictionaryProblem.isEmpty())
        told.append(dictionaryProblem);
    Dialogs::current().information(this, tr("VANTRO - Dictionary"),
                                   told.isEmpty() ? tr("The dictionary was found sound.")
                                                  : told.join(u'\n'));
}

// A close that fails leaves the journal marked open, so the next start checks the file; the user
// hears of it, since the window's own start is where that check is reported.
bool MainForm::closeDictionary()
{
    if (DICTDB->closeDB() == 0)
        return true;
    Dialogs::current().information(
        this, tr("VANTRO - Dictionary"),
        tr("The dictionary could not be closed cleanly. Its journal keeps every saved change; "
           "it is checked when it is next opened."));
    return false;
}

// The word stays the key of the form's record: edits typed for it are saved under it, even when
// the next word to look up has been typed into the key field.
void MainForm::showNotFound(const QString &word, NotFoundReport report)
{
    recordKey = vantro::fitsLatin1(word) ? vantro::encodeKey(word) : QByteArray();
    missedWord = word;
    tedITRANS->clear();
    ledSyn->clear();
    tedITRANS->document()->setModified(false);
    ledSyn->setModified(false);
    forgetChosenWord();
    if (report == NotFoundInStatusBar)
        statusBar()->showMessage(word + tr(" not found"), kStatusMessageTime);
    else
        Dialogs::current().information(this, tr("VANTRO - Search"), word + tr(" not found"));
}

// The question comes before any field changes, so Cancel leaves the whole form as it was.
void MainForm::btnQVClicked()
{
    QString word = ledSyn->selectedText();
    if (word.isEmpty())
        word = vantro::wordAt(ledSyn->text(), ledSyn->cursorPosition());
    if (word.isEmpty() || !settleRecordChanges(Dialogs::Yes, true))
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
    lookUpEnglishWord(word, NotFoundBox);
}

// The same rule as vantro-dict lookup: the word's key, its lemma, or a related shorter key.
void MainForm::lookUpEnglishWord(const QString &word, NotFoundReport report)
{
    if (word.isEmpty() || !settleRecordChanges(Dialogs::Yes, true))
        return;
    const QString lowered = word.toLower();
    const vantro::EnglishLookUp found =
        DICTDB ? vantro::lookUpEnglish(*DICTDB, word, vantro::EnglishLemmas::instance())
               : vantro::EnglishLookUp{};
    if (found.found) {
        showRecord();
        // The word's lemma has a record too (saw, and see): the status bar names its meaning.
        if (!found.lemma.isEmpty())
            statusBar()->showMessage(tr("Also %1: %2").arg(found.lemma, found.lemmaMeaning));
        else
            statusBar()->clearMessage();
        return;
    }
    ledEng->setText(lowered);
    showNotFound(lowered, report);
}

void MainForm::createInsertMeaningAction()
{
    editInsertMeaningAction = new QAction(tr("&Insert Meaning"), this);
    editInsertMeaningAction->setObjectName(QStringLiteral("editInsertMeaningAction"));
    editInsertMeaningAction->setIconText(tr("Insert Meaning"));
    editInsertMeaningAction->setShortcut(QKeySequence(tr("Ctrl+I")));
    connect(editInsertMeaningAction, &QAction::triggered, this, &MainForm::editInsertMeaning);
    Edit->addSeparator();
    Edit->addAction(editInsertMeaningAction);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now == tedITRANS || now == ledSyn)
            lastRecordField = now;
    });
    // A record shown while the focus stays in a field forgets the choice; moving in the field
    // afterwards makes it again.
    connect(ledSyn, &QLineEdit::cursorPositionChanged, this, [this] {
        if (ledSyn->hasFocus())
            lastRecordField = ledSyn;
    });
    connect(tedITRANS, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (tedITRANS->hasFocus())
            lastRecordField = tedITRANS;
    });
}

// ITRANS words stay whole under the word keys in the panes and fields that hold ITRANS, and the
// mnemonics of the key and synonym fields select their whole text.
void MainForm::installWordKeys()
{
    auto *wordKeys = new ItransWordKeys(this);
    wordKeys->install(itrans);
    wordKeys->install(tedITRANS);
    wordKeys->install(ledSyn);
    auto *mnemonics = new MnemonicSelectsAll(this);
    mnemonics->install(textLabel2);
    mnemonics->install(textLabel1_4);
}

// The selection in the meaning or synonym field that had the focus last, else the word under its
// cursor, else the first word of the meaning.
QString MainForm::meaningToInsert() const
{
    QString chosen;
    if (lastRecordField == ledSyn) {
        const vantro::WordSpan span =
            vantro::itransWordAt(ledSyn->text(), ledSyn->cursorPosition());
        chosen = ledSyn->hasSelectedText() ? ledSyn->selectedText()
                                           : ledSyn->text().mid(span.start, span.end - span.start);
    } else {
        const QTextCursor cursor = tedITRANS->textCursor();
        const QString line = cursor.block().text();
        const vantro::WordSpan span = vantro::itransWordAt(line, cursor.positionInBlock());
        // A word of the English (or other language) fenced in the meaning is never inserted.
        const bool fenced = vantro::insideFence(line, span.start) ||
                            line.mid(span.start, span.end - span.start).contains(u"##");
        chosen = cursor.hasSelection() ? cursor.selection().toPlainText()
                 : fenced              ? QString()
                                       : line.mid(span.start, span.end - span.start);
    }
    return chosen.isEmpty() ? vantro::firstItransWord(tedITRANS->toPlainText()) : chosen;
}

void MainForm::editInsertMeaning()
{
    const QString word = meaningToInsert();
    if (word.isEmpty()) {
        statusBar()->showMessage(
            ledEng->text().trimmed().isEmpty()
                ? tr("No record is shown: nothing to insert.")
                : tr("\"%1\" has no meaning to insert.").arg(ledEng->text().trimmed()),
            kStatusMessageTime);
        return;
    }
    if (!finishLoading(itrans))
        return;
    vantro::insertItransWord(itrans, itrans->textCursor(), word);
}
