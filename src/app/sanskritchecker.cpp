// SPDX-License-Identifier: GPL-3.0-or-later
#include "sanskritchecker.h"

#include "textwords.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QThread>

using namespace vantro;

namespace {

constexpr int kFenceStride = 1024;
// The longest a slice of work may hold the window (a check, a stride of fences, a search).
constexpr qint64 kSliceMs = 40;
constexpr int kCheckDelayMs = 120;
constexpr int kBackwardChunk = 64;

QTextEdit::ExtraSelection underline(const QTextCursor &word)
{
    QTextEdit::ExtraSelection selection;
    selection.cursor = word;
    selection.format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    selection.format.setUnderlineColor(Qt::red);
    return selection;
}

} // namespace

SanskritChecker::SanskritChecker(QPlainTextEdit *pane, QObject *parent)
    : QObject(parent), m_pane(pane)
{
    m_fenceAtStride.push_back(false);
    m_checkTimer.setSingleShot(true);
    m_checkTimer.setInterval(kCheckDelayMs);
    connect(&m_checkTimer, &QTimer::timeout, this, &SanskritChecker::checkVisible);
    connect(pane->document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int) { contentsChanged(position); });
    // The pane scrolls its own bar with the bar's signals blocked (Ctrl+End, a page down): what
    // is shown changes when the pane asks for the viewport to be redrawn moved or whole.
    connect(pane, &QPlainTextEdit::updateRequest, this, [this](const QRect &rect, int dy) {
        if (dy != 0 || rect.contains(m_pane->viewport()->rect()))
            scheduleCheck();
    });
    connect(pane, &QPlainTextEdit::cursorPositionChanged, this,
            &SanskritChecker::showReadingAtCursor);
}

// A build still running is stopped and waited for: its thread posts to this object.
SanskritChecker::~SanskritChecker()
{
    for (const auto &[builder, cancel] : std::as_const(m_running))
        *cancel = true;
    for (const auto &[builder, cancel] : std::as_const(m_running)) {
        builder->wait();
        delete builder;
    }
}

void SanskritChecker::rebuild(const QList<MeaningRecord> &records)
{
    for (const auto &[builder, cancel] : std::as_const(m_running))
        *cancel = true; // an older build is of no use any more
    auto cancel = std::make_shared<std::atomic_bool>(false);
    auto result = std::make_shared<std::shared_ptr<Analyser>>();
    QThread *builder = QThread::create([this, records, cancel, result] {
        auto analyser = std::make_shared<Analyser>();
        analyser->addRecords(records, [this, cancel](int done, int total) {
            if (*cancel)
                return false;
            if (done > 0 && done < total)
                QMetaObject::invokeMethod(this, [this, done, total] {
                    emit progressText(tr("Reading the dictionary for Check Sanskrit: %1 of %2 "
                                         "records")
                                          .arg(done)
                                          .arg(total));
                });
            return true;
        });
        if (!*cancel)
            *result = analyser;
    });
    connect(builder, &QThread::finished, this, [this, builder, result] {
        if (builder == m_builder)
            m_builder = nullptr;
        m_running.removeIf([builder](const auto &running) { return running.first == builder; });
        builder->deleteLater();
        if (*result)
            buildFinished(*result);
    });
    m_running.append({builder, cancel});
    m_builder = builder;
    m_pendingRecords.clear();
    builder->start(QThread::LowPriority);
}

void SanskritChecker::buildFinished(std::shared_ptr<Analyser> analyser)
{
    if (m_builder) // a newer build is under way
        return;
    m_analyser = std::move(analyser);
    for (const auto &[key, meaning] : std::as_const(m_pendingRecords))
        meaning.isNull() ? m_analyser->removeRecord(key) : m_analyser->replaceRecord(key, meaning);
    m_pendingRecords.clear();
    m_known.clear();
    emit progressText(QString());
    emit analyserReady();
    scheduleCheck();
    showReadingAtCursor();
}

void SanskritChecker::recordSaved(const QString &englishKey, const QString &meaning)
{
    if (m_builder)
        m_pendingRecords.append({englishKey, meaning.isNull() ? QStringLiteral("") : meaning});
    else if (m_analyser)
        m_analyser->replaceRecord(englishKey, meaning);
    m_known.clear();
    scheduleCheck();
}

void SanskritChecker::recordDeleted(const QString &englishKey)
{
    if (m_builder)
        m_pendingRecords.append({englishKey, QString()});
    else if (m_analyser)
        m_analyser->removeRecord(englishKey);
    m_known.clear();
    scheduleCheck();
}

void SanskritChecker::setEnabled(bool on)
{
    m_enabled = on;
    m_search.active = false;
    if (!on) {
        m_checkTimer.stop();
        m_pane->setExtraSelections({});
        emit readingText(QString());
        return;
    }
    checkVisible();
    showReadingAtCursor();
}

bool SanskritChecker::isKnown(const QString &word)
{
    if (!m_analyser)
        return true;
    const auto found = m_known.constFind(word);
    if (found != m_known.cend())
        return *found;
    if (m_known.size() > 200000)
        m_known.clear();
    const bool known = m_analyser->explains(word);
    m_known.insert(word, known);
    return known;
}

void SanskritChecker::scheduleCheck()
{
    if (m_enabled && !m_checkTimer.isActive())
        m_checkTimer.start();
}

// An edit may open or close a fence: what is known of the fences after it is forgotten.
void SanskritChecker::contentsChanged(int position)
{
    const int block = m_pane->document()->findBlock(position).blockNumber();
    m_fenceAtStride.resize(
        std::min(m_fenceAtStride.size(), size_t(std::max(block, 0) / kFenceStride + 1)));
    scheduleCheck();
}

bool SanskritChecker::fenceKnownBefore(int blockNumber)
{
    const int known = int(m_fenceAtStride.size()) - 1;
    if (known >= blockNumber / kFenceStride)
        return true;
    bool open = m_fenceAtStride.back();
    QTextBlock block = m_pane->document()->findBlockByNumber(known * kFenceStride);
    for (int i = 0; i < kFenceStride && block.isValid(); ++i, block = block.next())
        wordsToCheck(block.text(), &open);
    m_fenceAtStride.push_back(open);
    return false;
}

bool SanskritChecker::fenceOpenBefore(int blockNumber)
{
    bool open = m_fenceAtStride.at(size_t(blockNumber / kFenceStride));
    QTextBlock block =
        m_pane->document()->findBlockByNumber(blockNumber / kFenceStride * kFenceStride);
    for (; block.isValid() && block.blockNumber() < blockNumber; block = block.next()) {
        if (block.text().contains(QStringLiteral("##")))
            wordsToCheck(block.text(), &open);
    }
    return open;
}

// The words of the blocks shown that no reading explains, underlined.
void SanskritChecker::checkVisible()
{
    if (!m_enabled || !m_analyser) {
        m_pane->setExtraSelections({});
        return;
    }
    const QRect shown = m_pane->viewport()->rect();
    const QTextBlock first = m_pane->cursorForPosition(shown.topLeft()).block();
    const QTextBlock last = m_pane->cursorForPosition(shown.bottomRight()).block();
    QElapsedTimer clock;
    clock.start();
    while (!fenceKnownBefore(first.blockNumber())) {
        if (clock.elapsed() > kSliceMs)
            return m_checkTimer.start(0);
    }
    const int count = last.blockNumber() - first.blockNumber() + 1;
    QList<QTextEdit::ExtraSelection> marks;
    for (const QTextCursor &word : unknownWordsOfBlocks(first.blockNumber(), count))
        marks.append(underline(word));
    m_pane->setExtraSelections(marks);
}

QList<QTextCursor> SanskritChecker::unknownWordsOfBlocks(int first, int count)
{
    QList<QTextCursor> unknown;
    bool open = fenceOpenBefore(first);
    QTextBlock block = m_pane->document()->findBlockByNumber(first);
    for (int i = 0; i < count && block.isValid(); ++i, block = block.next()) {
        const QString text = block.text();
        for (const TextWord &word : wordsToCheck(text, &open)) {
            if (isKnown(text.mid(word.start, word.length)))
                continue;
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + word.start);
            cursor.setPosition(block.position() + word.start + word.length,
                               QTextCursor::KeepAnchor);
            unknown.append(cursor);
        }
    }
    return unknown;
}

QTextCursor SanskritChecker::wordAt(int position) const
{
    const QTextBlock block = m_pane->document()->findBlock(position);
    const int inBlock = position - block.position();
    for (const TextWord &word : wordsToCheck(block.text())) {
        if (inBlock >= word.start && inBlock <= word.start + word.length) {
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + word.start);
            cursor.setPosition(block.position() + word.start + word.length,
                               QTextCursor::KeepAnchor);
            return cursor;
        }
    }
    return {};
}

void SanskritChecker::showReadingAtCursor()
{
    if (!m_enabled || !m_analyser)
        return;
    const QTextCursor word = wordAt(m_pane->textCursor().position());
    if (word.isNull())
        return emit readingText(QString());
    const QString text = word.selectedText();
    const QList<WordReading> readings = m_analyser->analyse(text);
    if (readings.isEmpty())
        return emit readingText(tr("%1: no reading known").arg(text));
    QString shown = QStringLiteral("%1: %2").arg(text, readingSummary(readings.first()));
    if (readings.size() > 1)
        shown += tr(" (%1 readings)").arg(readings.size());
    emit readingText(shown);
}

void SanskritChecker::findUnknown(bool forward)
{
    if (!m_analyser) {
        emit progressText(tr("Check Sanskrit is still reading the dictionary."));
        return;
    }
    const QTextCursor cursor = m_pane->textCursor();
    m_search = {};
    m_search.active = true;
    m_search.forward = forward;
    m_search.startPosition = forward ? cursor.selectionEnd() : cursor.selectionStart();
    m_search.startBlock = m_pane->document()->findBlock(m_search.startPosition).blockNumber();
    m_search.nextBlock = m_search.startBlock;
    searchSlice();
}

// One slice of the search for an unknown word: blocks forward from nextBlock, or chunks of
// them backward, until one is found, the clock runs out (the next slice is queued) or the
// search has gone once around the document.
void SanskritChecker::searchSlice()
{
    if (!m_search.active)
        return;
    const int blockCount = m_pane->document()->blockCount();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kSliceMs) {
        if (m_search.blocksDone > blockCount) {
            m_search.active = false;
            emit progressText(tr("No unknown word."));
            return;
        }
        const int block = m_search.nextBlock;
        const int first = m_search.forward ? block : std::max(0, block - kBackwardChunk + 1);
        const int count = m_search.forward ? 1 : block - first + 1;
        if (!fenceKnownBefore(first))
            continue;
        // In the block the search started from, the words beyond the cursor come first; once
        // around the document, those before it.
        const bool startHere = first <= m_search.startBlock && m_search.startBlock < first + count;
        QList<QTextCursor> words = unknownWordsOfBlocks(first, count);
        if (!m_search.forward)
            std::reverse(words.begin(), words.end());
        for (const QTextCursor &word : std::as_const(words)) {
            const bool beyondStart = m_search.forward
                                         ? word.selectionStart() >= m_search.startPosition
                                         : word.selectionEnd() <= m_search.startPosition;
            if (startHere && beyondStart != (m_search.blocksDone == 0))
                continue;
            m_search.active = false;
            emit progressText(QString());
            m_pane->setTextCursor(word); // the status bar reads the word
            m_pane->ensureCursorVisible();
            return;
        }
        m_search.blocksDone += count;
        if (m_search.forward)
            m_search.nextBlock = block + 1 < blockCount ? block + 1 : 0;
        else
            m_search.nextBlock = first > 0 ? first - 1 : blockCount - 1;
    }
    emit progressText(tr("Looking for an unknown word..."));
    QTimer::singleShot(0, this, &SanskritChecker::searchSlice);
}
