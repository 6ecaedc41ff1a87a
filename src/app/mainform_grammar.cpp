// SPDX-License-Identifier: GPL-3.0-or-later
// Word forms and sandhi on the ITRANS pane: View > Word Forms and Edit > Join with Sandhi.

#include "mainform.h"

#include "dictdb.h"
#include "itranstext.h"
#include "recordwalk.h"
#include "sanskritchecker.h"
#include "wordformswindow.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QTextBlock>

#include <cstdio>

void MainForm::createGrammarActions()
{
    viewWordFormsAction = new QAction(tr("&Word Forms"), this);
    viewWordFormsAction->setObjectName(QStringLiteral("viewWordFormsAction"));
    viewWordFormsAction->setShortcut(QKeySequence(tr("Ctrl+K")));
    viewMenu->addAction(viewWordFormsAction);
    connect(viewWordFormsAction, &QAction::triggered, this, &MainForm::viewWordForms);

    editJoinSandhiAction = new QAction(tr("&Join with Sandhi"), this);
    editJoinSandhiAction->setObjectName(QStringLiteral("editJoinSandhiAction"));
    editJoinSandhiAction->setShortcut(QKeySequence(tr("Ctrl+J")));
    Edit->addSeparator();
    Edit->addAction(editJoinSandhiAction);
    connect(editJoinSandhiAction, &QAction::triggered, this, &MainForm::editJoinWithSandhi);
    createSanskritChecker();
}

void MainForm::createSanskritChecker()
{
    m_checker = new SanskritChecker(itrans, this);
    viewCheckSanskritAction = new QAction(tr("Check &Sanskrit"), this);
    viewCheckSanskritAction->setObjectName(QStringLiteral("viewCheckSanskritAction"));
    viewCheckSanskritAction->setCheckable(true);
    viewMenu->addAction(viewCheckSanskritAction);
    connect(viewCheckSanskritAction, &QAction::toggled, m_checker, &SanskritChecker::setEnabled);

    editNextUnknownAction = new QAction(tr("Next &Unknown Word"), this);
    editNextUnknownAction->setObjectName(QStringLiteral("editNextUnknownAction"));
    editNextUnknownAction->setShortcut(QKeySequence(Qt::Key_F7));
    editPreviousUnknownAction = new QAction(tr("Pre&vious Unknown Word"), this);
    editPreviousUnknownAction->setObjectName(QStringLiteral("editPreviousUnknownAction"));
    editPreviousUnknownAction->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F7));
    Edit->addActions({editNextUnknownAction, editPreviousUnknownAction});
    // F7 turns the check on, as a spell checker's key does.
    const auto findUnknown = [this](bool forward) {
        if (!finishLoading(itrans))
            return;
        viewCheckSanskritAction->setChecked(true);
        itrans->setFocus();
        m_checker->findUnknown(forward);
    };
    connect(editNextUnknownAction, &QAction::triggered, this, [findUnknown] { findUnknown(true); });
    connect(editPreviousUnknownAction, &QAction::triggered, this,
            [findUnknown] { findUnknown(false); });

    connect(m_checker, &SanskritChecker::readingText, this, [this](const QString &text) {
        text.isEmpty() ? statusBar()->clearMessage() : statusBar()->showMessage(text);
    });
    connect(m_checker, &SanskritChecker::progressText, this, [this](const QString &text) {
        text.isEmpty() ? statusBar()->clearMessage() : statusBar()->showMessage(text);
    });
    itrans->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(itrans, &QWidget::customContextMenuRequested, this, &MainForm::itransContextMenu);
}

// The lexicon takes the dictionary's meanings: one walk of the file here, the reading of them
// in the checker's own thread.
void MainForm::readDictionaryForChecking()
{
    if (!m_checker || !DICTDB || !DICTDB->isOpen())
        return;
    QList<vantro::Record> records;
    QString error;
    if (!vantro::readAllRecords(*DICTDB, &records, &error))
        std::fprintf(stderr, "Check Sanskrit: %s\n", qUtf8Printable(error));
    QList<vantro::MeaningRecord> meanings;
    meanings.reserve(records.size());
    for (const vantro::Record &record : std::as_const(records))
        meanings.append({record.word, record.meaning});
    m_checker->rebuild(meanings);
}

// The standard menu, with the known forms nearest an unknown word above it.
void MainForm::itransContextMenu(const QPoint &position)
{
    std::unique_ptr<QMenu> menu(itrans->createStandardContextMenu(position));
    const QTextCursor word = m_checker->isEnabled() && m_checker->analyser()
                                 ? m_checker->wordAt(itrans->cursorForPosition(position).position())
                                 : QTextCursor();
    if (!word.isNull() && !m_checker->isKnown(word.selectedText())) {
        const QStringList suggestions = m_checker->analyser()->suggestions(word.selectedText());
        QAction *first = menu->actions().value(0);
        for (const QString &suggestion : suggestions) {
            QAction *action = new QAction(suggestion, menu.get());
            connect(action, &QAction::triggered, this,
                    [this, word, suggestion] { replaceWord(word, suggestion); });
            menu->insertAction(first, action);
        }
        if (suggestions.isEmpty()) {
            QAction *none = new QAction(tr("(no known word near it)"), menu.get());
            none->setEnabled(false);
            menu->insertAction(first, none);
        }
        menu->insertSeparator(first);
    }
    menu->exec(itrans->viewport()->mapToGlobal(position));
}

// One undo step puts the replacement in place of the word, and leaves the cursor after it.
void MainForm::replaceWord(QTextCursor word, const QString &replacement)
{
    word.insertText(replacement);
    itrans->setTextCursor(word);
}

// The word comes from the meaning field while the focus is in the record form (its first word
// unless the cursor is in the field), else from the ITRANS pane, where the form will replace it.
void MainForm::viewWordForms()
{
    if (!finishLoading(itrans))
        return;
    QWidget *focus = QApplication::focusWidget();
    QString word;
    QTextCursor replaced;
    if (focus && frame4->isAncestorOf(focus)) {
        const QString meaning = tedITRANS->toPlainText();
        const int position = focus == tedITRANS ? tedITRANS->textCursor().position() : 0;
        const vantro::WordSpan span = vantro::wordNearCursor(meaning, position);
        word =
            vantro::splitSentencePunctuation(meaning.mid(span.start, span.end - span.start)).word;
    } else {
        replaced = itrans->textCursor();
        if (!replaced.hasSelection()) {
            const QTextBlock block = replaced.block();
            const vantro::WordSpan span =
                vantro::wordNearCursor(block.text(), replaced.positionInBlock());
            replaced.setPosition(block.position() + span.start);
            replaced.setPosition(block.position() + span.end, QTextCursor::KeepAnchor);
        }
        word = replaced.selectedText().trimmed();
    }
    if (!m_wordForms) {
        m_wordForms = new WordFormsWindow(itrans, this);
        m_wordForms->setAnalyser([this] { return m_checker->analyser(); });
        // Beside the main window, right or left, where the screen has room, so that neither
        // hides the other.
        const QRect frame = frameGeometry();
        const QRect room = screen() ? screen()->availableGeometry() : QRect();
        if (frame.right() + m_wordForms->width() < room.right())
            m_wordForms->move(frame.right() + 1, frame.top());
        else if (frame.left() - m_wordForms->width() > room.left())
            m_wordForms->move(frame.left() - m_wordForms->width() - 1, frame.top());
    }
    m_wordForms->lookUp(word, replaced);
}

// The selection, or the cursor's line, joined as one undo step; the result stays selected.
void MainForm::editJoinWithSandhi()
{
    if (!finishLoading(itrans))
        return;
    QTextCursor cursor = itrans->textCursor();
    if (!cursor.hasSelection()) {
        cursor.movePosition(QTextCursor::StartOfBlock);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    }
    const QString text = cursor.selectedText();
    const QString joined = vantro::joinLinesWithSandhi(text);
    if (joined == QString(text).replace(QChar::ParagraphSeparator, u'\n'))
        return;
    const int start = cursor.selectionStart();
    cursor.insertText(joined);
    cursor.setPosition(start, QTextCursor::KeepAnchor);
    itrans->setTextCursor(cursor);
}
