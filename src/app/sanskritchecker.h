// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analyser.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QTextCursor>
#include <QTimer>

#include <atomic>
#include <memory>
#include <vector>

class QPlainTextEdit;
class QThread;

// Check Sanskrit on the ITRANS pane: the words no reading explains are underlined as a spell
// checker underlines them, outside text fenced as English. Only the lines on the screen are
// checked, after a short pause, so that neither a keystroke nor a scroll waits on a document's
// size. The analyser is built in a thread of its own from the dictionary's meanings and follows
// the records saved afterwards.
class SanskritChecker : public QObject
{
    Q_OBJECT

public:
    explicit SanskritChecker(QPlainTextEdit *pane, QObject *parent = nullptr);
    ~SanskritChecker() override;

    // Builds the analyser again from these records (English key, meaning), in the background.
    void rebuild(const QList<vantro::MeaningRecord> &records);
    // A record saved or deleted in the window.
    void recordSaved(const QString &englishKey, const QString &meaning);
    void recordDeleted(const QString &englishKey);
    // Null until the first build is done.
    const vantro::Analyser *analyser() const { return m_analyser.get(); }

    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }
    // The unknown word nearest the cursor after it (or before it), selected in the pane; the
    // search goes on in slices and wraps once around the document.
    void findUnknown(bool forward);
    // The word of the pane at a document position: its cursor, selecting it; null outside one.
    QTextCursor wordAt(int position) const;
    bool isKnown(const QString &word);

signals:
    // The word under the cursor read back, for the status bar; empty when there is nothing to say.
    void readingText(const QString &text);
    // Progress of the build, or the search, in words for the status bar.
    void progressText(const QString &text);
    void analyserReady();

private:
    void scheduleCheck();
    void checkVisible();
    void contentsChanged(int position);
    void showReadingAtCursor();
    bool fenceKnownBefore(int blockNumber);
    bool fenceOpenBefore(int blockNumber);
    void searchSlice();
    QList<QTextCursor> unknownWordsOfBlocks(int first, int count);
    void buildFinished(std::shared_ptr<vantro::Analyser> analyser);

    QPlainTextEdit *m_pane;
    bool m_enabled = false;
    std::shared_ptr<vantro::Analyser> m_analyser;
    QThread *m_builder = nullptr; // the newest build, until it is done
    // Every build whose thread has not finished, with the flag that stops it.
    QList<std::pair<QThread *, std::shared_ptr<std::atomic_bool>>> m_running;
    // Records saved while a build runs, applied to its result.
    QList<std::pair<QString, QString>> m_pendingRecords;
    QHash<QString, bool> m_known;
    QTimer m_checkTimer;
    // Whether a "##" fence is open at the start of every 1024th block, as far as known.
    std::vector<bool> m_fenceAtStride;
    // The unknown-word search under way.
    struct Search
    {
        bool active = false;
        bool forward = true;
        int startBlock = 0;
        int startPosition = 0;
        int nextBlock = 0; // the next stride's first block (forward) or its last (backward)
        int blocksDone = 0;
    } m_search;
};
