// SPDX-License-Identifier: GPL-3.0-or-later
// Word forms and sandhi on the ITRANS pane: View > Word Forms and Edit > Join with Sandhi.

#include "mainform.h"

#include "dictdb.h"
#include "itranstext.h"
#include "itranstoken.h"
#include "recordwalk.h"
#include "sanskritchecker.h"
#include "statedgrammar.h"
#include "wordformswindow.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QTextBlock>

#include <cstdio>

namespace {

const char kCloseWordFormsSetting[] = "wordForms/closeAfterInsert";

} // namespace

void MainForm::createGrammarActions()
{
    viewWordFormsAction = new QAction(tr("&Word Forms"), this);
    viewWordFormsAction->setObjectName(QStringLiteral("viewWordFormsAction"));
    viewWordFormsAction->setShortcut(QKeySequence(tr("Ctrl+K")));
    viewMenu->addAction(viewWordFormsAction);
    connect(viewWordFormsAction, &QAction::triggered, this, &MainForm::viewWordForms);
    viewWordFormsWindowAction = new QAction(tr("Word Forms Wi&ndow"), this);
    viewWordFormsWindowAction->setObjectName(QStringLiteral("viewWordFormsWindowAction"));
    viewWordFormsWindowAction->setShortcut(QKeySequence(tr("Ctrl+Shift+K")));
    viewMenu->addAction(viewWordFormsWindowAction);
    connect(viewWordFormsWindowAction, &QAction::triggered, this, [this] {
        wordFormsWindow()->comeBack();
        placeWordForms();
    });
    viewCloseWordFormsAction = new QAction(tr("Close Word Forms &after Insert"), this);
    viewCloseWordFormsAction->setObjectName(QStringLiteral("viewCloseWordFormsAction"));
    viewCloseWordFormsAction->setCheckable(true);
    viewCloseWordFormsAction->setChecked(
        QSettings().value(QLatin1String(kCloseWordFormsSetting), false).toBool());
    viewMenu->addAction(viewCloseWordFormsAction);
    connect(viewCloseWordFormsAction, &QAction::toggled, this,
            [](bool close) { QSettings().setValue(QLatin1String(kCloseWordFormsSetting), close); });
    // Escape in the window puts the forms away; it is there only while they are shown.
    hideWordFormsShortcut = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    hideWordFormsShortcut->setEnabled(false);
    connect(hideWordFormsShortcut, &QShortcut::activated, this, [this] {
        if (m_wordForms)
            m_wordForms->close();
    });

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

    editNextUnknownAction = new QAction(tr("Ne&xt Unknown Word"), this);
    editNextUnknownAction->setObjectName(QStringLiteral("editNextUnknownAction"));
    editNextUnknownAction->setShortcut(QKeySequence(Qt::Key_F7));
    editPreviousUnknownAction = new QAction(tr("Previous Unkno&wn Word"), this);
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
    QString tag;
    QTextCursor replaced;
    if (focus && frame4->isAncestorOf(focus)) {
        const QString meaning = tedITRANS->toPlainText();
        const int position = tedITRANS->textCursor().position();
        const vantro::WordSpan span = vantro::wordNearCursor(meaning, position);
        const bool atWord = focus == tedITRANS && !span.isEmpty() &&
                            !vantro::insideFence(meaning, span.start) &&
                            !meaning.mid(span.start, span.end - span.start).contains(u"##");
        // Fenced English is never a word to inflect: the meaning's first Sanskrit word instead.
        const vantro::WordSpan taken = atWord ? span : vantro::firstItransWordSpan(meaning);
        word = vantro::splitSentencePunctuation(meaning.mid(taken.start, taken.end - taken.start))
                   .word;
        // The grammar the dictionary states after the word is read before guessing.
        tag = vantro::tagAfterWord(meaning, taken.end);
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
    wordFormsWindow()->lookUp(word, replaced, tag);
    placeWordForms();
}

WordFormsWindow *MainForm::wordFormsWindow()
{
    if (m_wordForms)
        return m_wordForms;
    m_wordForms = new WordFormsWindow(itrans, this);
    m_wordForms->setAnalyser([this] { return m_checker->analyser(); });
    connect(m_wordForms, &WordFormsWindow::formInserted, this, [this] {
        viewCloseWordFormsAction->isChecked() ? (void)m_wordForms->close() : placeWordForms();
    });
    connect(m_wordForms, &WordFormsWindow::closed, this,
            [this] { hideWordFormsShortcut->setEnabled(false); });
    // Writing on may take the cursor under the window: it moves out of the way again.
    connect(itrans, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        const QRect cursor(itrans->viewport()->mapToGlobal(itrans->cursorRect().topLeft()),
                           itrans->cursorRect().size());
        if (m_wordForms->isVisible() && m_wordForms->frameGeometry().intersects(cursor))
            placeWordForms();
    });
    return m_wordForms;
}

// Beside the main window, right or left, where the screen has room; otherwise under the ITRANS
// pane's cursor line (over it when there is more room there), left of the record form, so that
// it hides neither the line being written nor the record.
void MainForm::placeWordForms()
{
    hideWordFormsShortcut->setEnabled(true);
    const QRect frame = frameGeometry();
    const QRect room = screen() ? screen()->availableGeometry() : QRect();
    const QSize wanted(760, 520);
    if (frame.right() + wanted.width() < room.right()) {
        m_wordForms->setGeometry(QRect(QPoint(frame.right() + 1, frame.top()), wanted));
        return;
    }
    if (frame.left() - wanted.width() > room.left()) {
        m_wordForms->setGeometry(
            QRect(QPoint(frame.left() - wanted.width() - 1, frame.top()), wanted));
        return;
    }
    const QRect line(itrans->viewport()->mapToGlobal(itrans->cursorRect().topLeft()),
                     itrans->cursorRect().size());
    const int left = qMax(room.left(), frame.left());
    const int width = qMin(wanted.width(), frame4->mapToGlobal(QPoint(0, 0)).x() - left - 4);
    // The title bar, as the window manager draws it; a guess until the window was first shown.
    constexpr int kTitleGuess = 30;
    constexpr int kEnoughHeight = 240;
    const int decoration =
        qMax(m_wordForms->frameGeometry().height() - m_wordForms->height(), kTitleGuess);
    const int below = room.bottom() - line.bottom() - 6 - decoration;
    const int above = line.top() - room.top() - 6 - decoration;
    const bool underLine = below >= kEnoughHeight || below >= above;
    const int height = qMin(wanted.height(), underLine ? below : above);
    const int frameTop = underLine ? line.bottom() + 6 : line.top() - 6 - height - decoration;
    m_wordForms->setGeometry(left, frameTop + decoration, width, height);
}

// The selection, or the cursor's line, joined as one undo step. Nothing stays selected and the
// cursor stands after the joined text, so that the next key typed (Return, most often) goes on
// from there instead of replacing it.
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
    const QString before = itrans->document()->toRawText().left(cursor.selectionStart());
    const QString joined = vantro::joinLinesWithSandhi(
        text, vantro::leavesFenceOpen(QString(before).replace(QChar::ParagraphSeparator, u'\n')));
    if (joined != QString(text).replace(QChar::ParagraphSeparator, u'\n'))
        cursor.insertText(joined);
    else
        cursor.setPosition(cursor.selectionEnd());
    itrans->setTextCursor(cursor);
}
