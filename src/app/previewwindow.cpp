// SPDX-License-Identifier: GPL-3.0-or-later
#include "previewwindow.h"

#include "itranslinter.h"
#include "itranstoken.h"
#include "transliterate.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QElapsedTimer>
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
// Paragraphs shown before and after the cursor's: more than a window shows, and cheap to convert.
constexpr int kMarginParagraphs = 120;
// What the preview converts at most at once, and of one paragraph, so that very long lines
// cost no more than this: laying out a line of Devanagari takes the time.
constexpr int kSliceCharacters = 1 << 16;
constexpr int kParagraphCharacters = 1 << 14;
constexpr int kFenceStride = 1024;
// The share of one turn of the event loop the fence scan of a long document may take.
constexpr qint64 kScanMs = 40;

// The text of count paragraphs from first on, joined by line ends, cut at the length limit.
QString paragraphs(const QTextDocument *document, int first, int count)
{
    QString text;
    QTextBlock block = document->findBlockByNumber(first);
    for (int i = 0; i < count && block.isValid(); ++i, block = block.next()) {
        if (i > 0)
            text += u'\n';
        text += block.text().left(kParagraphCharacters);
    }
    return text;
}

// The first paragraph and the number of paragraphs around the cursor's that the preview shows:
// the margin on either side, fewer where the paragraphs are long.
QPair<int, int> sliceAround(const QTextBlock &cursorBlock)
{
    QTextBlock first = cursorBlock;
    QTextBlock last = cursorBlock;
    int characters = cursorBlock.length();
    for (int i = 0; i < kMarginParagraphs && characters < kSliceCharacters; ++i) {
        const QTextBlock before = first.previous();
        const QTextBlock after = last.next();
        if (!before.isValid() && !after.isValid())
            break;
        if (before.isValid()) {
            first = before;
            characters += before.length();
        }
        if (after.isValid()) {
            last = after;
            characters += after.length();
        }
    }
    return {first.blockNumber(), last.blockNumber() - first.blockNumber() + 1};
}

// Whether a "##" fence is open after the paragraph, given whether it was open before it.
bool fenceOpenAfter(bool open, const QString &paragraph)
{
    if (!paragraph.contains(QLatin1String("##")))
        return open;
    return vantro::leavesFenceOpen(open ? QStringLiteral("##") + paragraph : paragraph);
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
    : QWidget(parent, Qt::Window), m_source(source), m_fenceAtStride{false}
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

// Called after every edit of the document: only forgets the fence states after the edit and
// restarts the pause timer.
void PreviewWindow::sourceChanged(int position, int removed, int added)
{
    Q_UNUSED(removed);
    Q_UNUSED(added);
    const int first = m_source->findBlock(position).blockNumber();
    m_fenceAtStride.resize(qMin(int(m_fenceAtStride.size()), qMax(first, 0) / kFenceStride + 1));
    m_stale = true;
    // A hidden preview catches up when it is shown again.
    if (isVisible())
        m_debounce.start(kDebounceMs);
}

// Moving within the paragraphs shown only moves the mark; near the edge of what is shown, the
// paragraphs around the cursor are converted anew.
void PreviewWindow::setCursorPosition(int position)
{
    m_cursorPosition = position;
    const int number = m_source->findBlock(position).blockNumber() - m_sliceFirst;
    const int quarter = m_sliceCount / 4;
    const bool nearTop = m_sliceFirst > 0 && number < quarter;
    const bool nearBottom =
        m_sliceFirst + m_sliceCount < m_source->blockCount() && number >= m_sliceCount - quarter;
    if (m_stale || number < 0 || number >= m_sliceCount || nearTop || nearBottom)
        m_debounce.start(kDebounceMs);
    else if (isVisible())
        markCurrentParagraph(false);
}

void PreviewWindow::updatePreview()
{
    if (isVisible())
        rebuild();
}

// Converts the paragraphs around the cursor. The fence state before them may take several
// turns of the event loop to learn in a long document; the preview waits for it meanwhile.
void PreviewWindow::rebuild()
{
    const QPair<int, int> slice = sliceAround(m_source->findBlock(m_cursorPosition));
    const int first = slice.first;
    QElapsedTimer clock;
    clock.start();
    while (!fenceKnownBefore(first)) {
        if (clock.elapsed() > kScanMs)
            return m_debounce.start(0);
    }
    const QString fence = fenceOpenBefore(first) ? QStringLiteral("##") : QString();
    m_sliceFirst = first;
    m_sliceCount = slice.second;
    m_mark = QTextCursor();
    m_text->setPlainText(convert(fence + paragraphs(m_source, first, m_sliceCount)));
    m_stale = false;
    m_markedBlock = -1;
    markCurrentParagraph(true);
    if (m_record->isVisible())
        showRecord(m_meaning, m_synonyms);
}

// Learns the fence state of one more stride of paragraphs; true once it is known before
// blockNumber.
bool PreviewWindow::fenceKnownBefore(int blockNumber)
{
    const int known = int(m_fenceAtStride.size()) - 1;
    if (known >= blockNumber / kFenceStride)
        return true;
    bool open = m_fenceAtStride.constLast();
    QTextBlock block = m_source->findBlockByNumber(known * kFenceStride);
    for (int i = 0; i < kFenceStride && block.isValid(); ++i, block = block.next())
        open = fenceOpenAfter(open, block.text());
    m_fenceAtStride.append(open);
    return false;
}

bool PreviewWindow::fenceOpenBefore(int blockNumber)
{
    bool open = m_fenceAtStride.at(blockNumber / kFenceStride);
    QTextBlock block = m_source->findBlockByNumber(blockNumber / kFenceStride * kFenceStride);
    for (; block.isValid() && block.blockNumber() < blockNumber; block = block.next())
        open = fenceOpenAfter(open, block.text());
    return open;
}

// Marks the preview paragraph of the cursor and scrolls to it when the cursor entered another
// paragraph; its findings are looked for again then, or when its text changed. The mark is a
// block background, which the text edit paints across the whole width of every line.
void PreviewWindow::markCurrentParagraph(bool textChanged)
{
    const int number = m_source->findBlock(m_cursorPosition).blockNumber();
    if (number == m_markedBlock && !textChanged)
        return;
    const QTextBlock block = m_text->document()->findBlockByNumber(number - m_sliceFirst);
    if (!block.isValid()) // the cursor has left what is shown; the next update follows it
        return;
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
    const QString text =
        m_source->findBlockByNumber(m_markedBlock).text().left(kParagraphCharacters);
    const QVector<vantro::LintFinding> findings = vantro::ItransLinter().lint(text);
    m_lint->clear();
    for (const vantro::LintFinding &finding : findings) {
        auto *item = new QListWidgetItem(tr("line %1, column %2: %3")
                                             .arg(m_markedBlock + 1)
                                             .arg(finding.column)
                                             .arg(finding.message),
                                         m_lint);
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
