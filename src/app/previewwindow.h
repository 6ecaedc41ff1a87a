// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextCursor>
#include <QTimer>
#include <QVector>
#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QRadioButton;
class QTextDocument;

// A window beside the main window that shows the ITRANS document converted to Devanagari or
// IAST, one preview paragraph per document paragraph. It converts only the paragraphs around the
// cursor, after a pause in typing, so neither the time of an update nor the memory it holds
// grows with the document. A "##" fence left open by the paragraphs before them is carried in,
// as the export does.
class PreviewWindow : public QWidget
{
    Q_OBJECT

public:
    PreviewWindow(QTextDocument *source, QWidget *parent);

    // The document position of the editing cursor: its paragraph is marked, shown and checked.
    void setCursorPosition(int position);
    // The record form's meaning and synonyms, shown under the document while the user edits them.
    void showRecord(const QString &meaning, const QString &synonyms);
    void hideRecord();
    bool showsIast() const;

signals:
    // The user clicked a finding: the document position it is about.
    void jumpRequested(int position);
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createWidgets();
    void sourceChanged(int position, int removed, int added);
    void updatePreview();
    void rebuild();
    bool fenceKnownBefore(int blockNumber);
    bool fenceOpenBefore(int blockNumber);
    void markCurrentParagraph(bool textChanged);
    void lintCurrentParagraph();
    void lintItemClicked(QListWidgetItem *item);
    QString convert(const QString &itrans) const;

    QTextDocument *m_source;
    QPlainTextEdit *m_text = nullptr;
    QRadioButton *m_devanagari = nullptr;
    QRadioButton *m_iast = nullptr;
    QLabel *m_record = nullptr;
    QLabel *m_lintTitle = nullptr;
    QListWidget *m_lint = nullptr;
    QTimer m_debounce;
    QString m_meaning;
    QString m_synonyms;

    // The preview shows source paragraphs from m_sliceFirst on; m_stale: the source changed
    // since.
    int m_sliceFirst = 0;
    int m_sliceCount = 0;
    bool m_stale = true;
    // Whether a "##" fence is open at the start of every kFenceStride-th source paragraph, as
    // far as it is known; an edit forgets what lies after it.
    QVector<bool> m_fenceAtStride;
    int m_cursorPosition = 0;
    int m_markedBlock = -1;
    // Sits in the marked preview paragraph and moves with it through updates.
    QTextCursor m_mark;
};
