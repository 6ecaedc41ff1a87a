// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "textfile.h"

#include <QObject>
#include <QTimer>

#include <memory>

class QPlainTextEdit;

// Puts a file's text into a pane a piece at a time from the event loop, so that the window keeps
// answering keys, repaints and menus while a large text comes in. While it loads, the pane is
// read-only, its document keeps no undo steps and stays unmodified; whatever reads or replaces
// the text first calls finish() or cancel(), so nothing works on a part of the file. A key typed
// into the pane finishes the load first, so that it lands where it would in the whole text.
class PaneLoader : public QObject
{
    Q_OBJECT

public:
    explicit PaneLoader(QPlainTextEdit *pane);

    // Empties the pane (stopping a load under way) and puts in the start of the text at once;
    // the rest follows from the event loop.
    void start(const QString &path, std::unique_ptr<vantro::TextReader> reader);
    bool isLoading() const { return m_reader != nullptr; }
    // Puts in the rest of the text now; false when the file could not be read to its end.
    bool finish();
    // Stops loading and empties the pane.
    void cancel();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    void progress(const QString &path, int percent);
    void finished();
    // The pane is empty again.
    void failed(const QString &path, const QString &error);

private:
    bool putPieces(qint64 milliseconds);
    void step();
    void stop();

    QPlainTextEdit *m_pane;
    std::unique_ptr<vantro::TextReader> m_reader;
    QString m_path;
    QTimer m_timer;
    bool m_wasReadOnly = false;
    Qt::TextInteractionFlags m_flags;
    int m_percent = -1;
};
