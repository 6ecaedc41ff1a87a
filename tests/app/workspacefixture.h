// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mainform.h"
#include "scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

// A main window working in its own temporary directory, where it creates its morvak.db, with
// every message box and file dialog answered from a script.
class WorkspaceFixture
{
public:
    WorkspaceFixture() : m_previous(QDir::currentPath()), m_guard(dialogs)
    {
        QDir::setCurrent(dir.path());
        // The window's settings go to a test folder, not the user's.
        QStandardPaths::setTestModeEnabled(true);
    }
    ~WorkspaceFixture()
    {
        form.reset();
        QDir::setCurrent(m_previous);
    }

    // Created on demand so that a test can put a dictionary into the directory first.
    MainForm &open() { return *(form = std::make_unique<MainForm>()); }

    QString path(const QString &name) const { return dir.filePath(name); }

    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()
                   ? file.fileName()
                   : QString();
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainForm> form;

private:
    QString m_previous;
    ScopedDialogs m_guard;
};

// Text typed at the end of a pane, the way a user would add it: the pane becomes modified.
inline void typeAtEnd(QPlainTextEdit *pane, const QString &text)
{
    pane->moveCursor(QTextCursor::End);
    pane->insertPlainText(text);
}

// Selects from anchor to position (no selection when they are equal) and makes it the pane's.
inline void selectRange(QPlainTextEdit *pane, int anchor, int position)
{
    QTextCursor cursor(pane->document());
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    pane->setTextCursor(cursor);
}

inline bool isModified(const QPlainTextEdit *pane)
{
    return pane->document()->isModified();
}
