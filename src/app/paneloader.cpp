// SPDX-License-Identifier: GPL-3.0-or-later
#include "paneloader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Each turn of the event loop gives the load this long, so a key waits no longer than that.
constexpr qint64 kStepMilliseconds = 20;
// A short text is complete as soon as it is opened.
constexpr int kFirstPieces = 4;

} // namespace

PaneLoader::PaneLoader(QPlainTextEdit *pane) : QObject(pane), m_pane(pane)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &PaneLoader::step);
}

void PaneLoader::start(const QString &path, std::unique_ptr<vantro::TextReader> reader)
{
    if (isLoading())
        stop();
    m_reader = std::move(reader);
    m_path = path;
    m_percent = -1;
    m_wasReadOnly = m_pane->isReadOnly();
    m_flags = m_pane->textInteractionFlags();
    QTextDocument *document = m_pane->document();
    document->setUndoRedoEnabled(false);
    m_pane->clear();
    // The user may read and move about in what has come in, but not change it.
    m_pane->setReadOnly(true);
    m_pane->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_pane->installEventFilter(this);
    bool read = true;
    for (int i = 0; read && i < kFirstPieces && isLoading(); ++i)
        read = putPieces(0);
    // The inserted text carried the pane's own cursor along with it.
    m_pane->moveCursor(QTextCursor::Start);
    if (read && isLoading())
        m_timer.start();
}

// A piece at a time, so that the progress shown keeps moving while the window waits.
bool PaneLoader::finish()
{
    if (!isLoading())
        return true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool complete = true;
    while (complete && isLoading())
        complete = putPieces(kStepMilliseconds);
    QApplication::restoreOverrideCursor();
    return complete;
}

void PaneLoader::cancel()
{
    if (!isLoading())
        return;
    m_pane->clear();
    stop();
}

// Puts in pieces for the given time, at least one. Answers false when reading
// failed, which has emptied the pane and been reported.
bool PaneLoader::putPieces(qint64 milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    QTextDocument *document = m_pane->document();
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    QString piece;
    QString error;
    bool read = true;
    do {
        read = m_reader->read(piece, error);
        if (read)
            cursor.insertText(piece);
    } while (read && !m_reader->atEnd() && clock.elapsed() < milliseconds);
    cursor.endEditBlock();
    document->setModified(false);
    if (!read) {
        m_pane->clear();
        stop();
        emit failed(m_path, error);
        return false;
    }
    if (m_reader->atEnd()) {
        stop();
        emit finished();
    } else if (m_reader->percentRead() != m_percent) {
        m_percent = m_reader->percentRead();
        emit progress(m_path, m_percent);
    }
    return true;
}

// Keys reach the pane in the order typed; the first one waits until the whole text is in, so none
// is refused by the read-only pane and Ctrl+End means the end of the file. Shortcuts of the
// window's commands (only a modifier, or an override request) pass untouched.
bool PaneLoader::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pane && isLoading() &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::InputMethod)) {
        const auto *key =
            event->type() == QEvent::KeyPress ? static_cast<QKeyEvent *>(event) : nullptr;
        const bool modifierOnly =
            key && (key->key() == Qt::Key_Shift || key->key() == Qt::Key_Control ||
                    key->key() == Qt::Key_Alt || key->key() == Qt::Key_Meta);
        if (!modifierOnly)
            finish();
    }
    return QObject::eventFilter(watched, event);
}

void PaneLoader::step()
{
    putPieces(kStepMilliseconds);
}

// The pane becomes what it was, with a fresh undo history.
void PaneLoader::stop()
{
    m_timer.stop();
    m_reader.reset();
    m_pane->removeEventFilter(this);
    m_pane->setReadOnly(m_wasReadOnly);
    m_pane->setTextInteractionFlags(m_flags);
    m_pane->document()->setUndoRedoEnabled(true);
    m_pane->document()->setModified(false);
}
