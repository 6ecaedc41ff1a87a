// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QLineEdit;
class QPlainTextEdit;

// Makes Ctrl+Left and Ctrl+Right (with Shift, selecting) and a double-click treat an ITRANS word
// such as mR^igaH, sa~NgaH or so.aham as one word, where the toolkit would stop at ^ ~ and '.'.
class ItransWordKeys : public QObject
{
public:
    explicit ItransWordKeys(QObject *parent) : QObject(parent) {}
    void install(QLineEdit *field);
    void install(QPlainTextEdit *pane);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool moveByWord(QObject *watched, bool forward, bool select);
    void selectWordAt(QObject *watched, const QPoint &at);

    bool m_passingOn = false;
};
