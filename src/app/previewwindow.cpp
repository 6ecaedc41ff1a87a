// SPDX-License-Identifier: GPL-3.0-or-later
#include "previewwindow.h"

#include "itranslinter.h"
#include "transliterate.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// Long enough to let a typist finish a word, short enough to feel live.
constexpr int kDebounceMs = 150;
constexpr int kLargeDocument = 100000;

// The text of paragraphs first..last of document, joined by line ends.
QString paragraphs(const QTextDocument *document, int first, int last)
{
    QString text;
    for (QTextBlock block = document->findBlockByNumber(first);
         block.isValid() && block.blockNumber() <= last; block = block.next()) {
        if (block.blockNumber() > first)
            text += u'\n';
        text += block.text();
    }
    return text;
}

// The lint counts columns in characters; the document counts UTF-16 units.
int offsetOfColumn(const QString &text, int column)
{
    int offset = 0;
    for (int characters = 1; characters < column && offset < text.size(); ++characters)
        offset += text.at(offset).isHighSurrogate() ? 2 : 1;
    return qMin(offset, int(text.size()));
}

} // namespace

PreviewWindow::PreviewWindow(QTextDocument *source, QWidget *parent)
    : QWidget(parent, Qt::Window), m_source(source), m_sourceBlocks(source->blockCount())
{
    setObjectName(QStringLiteral("previewWindow"));
    setWindowTitle(tr("Devanagari Preview"));
    // The user opens it to watch while typing: the keyboard stays in the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    createWidgets();
    resize(640, 560);
    m_debounce.setSingleShot(true);
    m_debounce.setInterval(kDebounceMs);
    connect(&m_debounce, &QTimer::timeout, this, &PreviewWindow::updatePreview);
    connect(m_source, &QTextDocument::contentsChange, this, &PreviewWindow::sourceChanged);
}

void PreviewWindow::createWidgets()
{
    m_devanagari = new QRadioButton(tr("Devanagari"), this);
    m_devanagari->setChecked(true);
    m_iast = new QRadioButton(tr("IAST"), this);
    m_iast->setObjectName(QStringLiteral("previewIast"));
    auto *scripts = new QButtonGroup(this);
    scripts->addButton(m_devanagari);
    scripts->addButton(m_iast);
    connect(m_iast, &QRadioButton::toggled, this, &PreviewWindow::rebuild);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("previewText"));
    m_text->setReadOnly(true);
    m_text->setUndoRedoEnabled(false);
    QFont font = m_text->font();
    font.setPointSize(14);
    m_text->setFont(font);

    m_record = new QLabel(this);
    m_record->setObjectName(QStringLiteral("previewRecord"));
    m_record->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_record->setFont(font);
    m_record->hide();

    m_lint = new QListWidget(this);
    m_lint->setObjectName(QStringLiteral("previewLint"));
    m_lint->setMaximumHeight(110);
    m_lint->setToolTip(
        tr("What the ITRANS check finds in the marked paragraph; click to go there"));
    connect(m_lint, &QListWidget::itemClicked, this, &PreviewWindow::lintItemClicked);
    connect(m_lint, &QListWidget::itemActivated, this, &PreviewWindow::lintItemClicked);

    auto *switchRow = new QHBoxLayout;
    switchRow->addWidget(m_devanagari);
    switchRow->addWidget(m_iast);
    switchRow->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(switchRow);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_record);
    m_lintTitle = new QLabel(this);
    layout->addWidget(m_lintTitle);
    layout->addWidget(m_lint);
}

bool PreviewWindow::showsIast() const
{
    return m_iast->isChecked();
}

QString PreviewWindow::convert(const QString &itrans) const
{
    return showsIast() ? vantro::itransToIast(itrans) : vantro::itransToDevanagari(itrans);
}

// Called after every edit of the document: only widens the dirty range (two block look-ups per
// keystroke) and restarts the pause timer.
void PreviewWindow::sourceChanged(int position, int removed, int added)
{
    Q_UNUSED(removed);
    const int blocks = m_source->blockCount();
    const int shift = blocks - m_sourceBlocks;
    m_sourceBlocks = blocks;
    const int end = qMin(position + added, m_source->characterCount() - 1);
    const int first = m_source->findBlock(position).blockNumber();
    const int last = m_source->findBlock(end).blockNumber();
    if (m_dirtyFirst < 0) {
        m_dirtyFirst = first;
        m_dirtyLast = last;
        m_dirtyShift = shift;
    } else {
        // Paragraphs first..last - shift before this edit became first..last.
        m_dirtyLast = qMax(m_dirtyLast, last - shift) + shift;
        m_dirtyFirst = qMin(m_dirtyFirst, first);
        m_dirtyShift += shift;
    }
    // A hidden preview keeps counting and catches up when it is shown again.
    if (isVisible())
        m_debounce.start();
}

void PreviewWindow::setCursorPosition(int position)
{
    m_cursorPosition = position;
    if (m_dirtyFirst >= 0 || m_needsRebuild)
        m_debounce.start();
    else if (isVisible())
        markCurrentParagraph(false);
}

void PreviewWindow::updatePreview()
{
    if (!isVisible())
        return;
    if (m_needsRebuild || !applyDirtyRange())
        rebuild();
    else
        markCurrentParagraph(true);
}

// The one whole conversion: when the preview opens after edits it did not follow, and when the
// script changes. A large document takes a noticeable moment, which the busy cursor owns up to.
void PreviewWindow::rebuild()
{
    const bool large = m_source->characterCount() > kLargeDocument;
    if (large)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    m_mark = QTextCursor();
    m_text->setPlainText(convert(m_source->toPlainText()));
    if (large)
        QApplication::restoreOverrideCursor();
    m_sourceBlocks = m_source->blockCount();
    m_dirtyFirst = -1;
    m_needsRebuild = false;
    m_markedBlock = -1;
    markCurrentParagraph(true);
    if (m_record->isVisible())
        showRecord(m_meaning, m_synonyms);
}

// Replaces the preview paragraphs that stand for the dirty ones. False when the two documents
// no longer line up, which a full rebuild then mends.
bool PreviewWindow::applyDirtyRange()
{
    if (m_dirtyFirst < 0)
        return true;
    QTextDocument *preview = m_text->document();
    const QTextBlock first = preview->findBlockByNumber(m_dirtyFirst);
    const QTextBlock last = preview->findBlockByNumber(m_dirtyLast - m_dirtyShift);
    if (!first.isValid() || !last.isValid() || last.blockNumber() < first.blockNumber())
        return false;
    const int start = first.position();
    QTextCursor cursor(preview);
    cursor.setPosition(start);
    cursor.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
    cursor.insertText(convert(paragraphs(m_source, m_dirtyFirst, m_dirtyLast)));
    // New paragraphs inherit the first one's format, which may carry the mark.
    cursor.setPosition(start, QTextCursor::KeepAnchor);
    cursor.setBlockFormat(QTextBlockFormat());
    m_dirtyFirst = -1;
    return preview->blockCount() == m_source->blockCount();
}

// Marks the preview paragraph of the cursor and scrolls to it when the cursor entered another
// paragraph; its findings are looked for again then, or when its text changed. The mark is a
// block background, which the text edit paints across the whole width of every line.
void PreviewWindow::markCurrentParagraph(bool textChanged)
{
    const int number = m_source->findBlock(m_cursorPosition).blockNumber();
    if (number == m_markedBlock && !textChanged)
        return;
    const QTextBlock block = m_text->document()->findBlockByNumber(number);
    if (!m_mark.isNull())
        m_mark.setBlockFormat(QTextBlockFormat());
    m_mark = QTextCursor(block);
    QTextBlockFormat marked;
    marked.setBackground(QColor(255, 244, 160));
    m_mark.setBlockFormat(marked);
    if (number != m_markedBlock) {
        m_text->setTextCursor(m_mark);
        m_text->centerCursor();
    }
    m_markedBlock = number;
    lintCurrentParagraph();
}

void PreviewWindow::lintCurrentParagraph()
{
    const QString text = m_source->findBlockByNumber(m_markedBlock).text();
    const QVector<vantro::LintFinding> findings = vantro::ItransLinter().lint(text);
    m_lint->clear();
    for (const vantro::LintFinding &finding : findings) {
        auto *item = new QListWidgetItem(
            tr("column %1: %2").arg(finding.column).arg(finding.message), m_lint);
        item->setData(Qt::UserRole, finding.column);
    }
    m_lintTitle->setText(findings.isEmpty()
                             ? tr("ITRANS check of the marked paragraph: nothing found")
                             : tr("ITRANS check of the marked paragraph:"));
}

void PreviewWindow::lintItemClicked(QListWidgetItem *item)
{
    const QTextBlock block = m_source->findBlockByNumber(m_markedBlock);
    if (block.isValid())
        emit jumpRequested(block.position() +
                           offsetOfColumn(block.text(), item->data(Qt::UserRole).toInt()));
}

void PreviewWindow::showRecord(const QString &meaning, const QString &synonyms)
{
    m_meaning = meaning;
    m_synonyms = synonyms;
    m_record->setText(tr("Meaning: %1\nSynonyms: %2").arg(convert(meaning), convert(synonyms)));
    m_record->show();
}

void PreviewWindow::hideRecord()
{
    m_record->hide();
}

void PreviewWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updatePreview();
}

void PreviewWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    emit closed();
}
