// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// Answers from a script and remembers every box it was asked to show. A box that finds the
// script empty is answered as Escape would answer it (a file dialog as Cancel) and counted in
// unscripted, so a test can tell that a box it did not expect came up.
class ScriptedDialogs : public Dialogs
{
public:
    struct Shown
    {
        QString kind; // "question", "information", "about", "open", "save", "choice", "print",
                      // "import"
        QString title;
        QString text;
        int defaultButton = -1;
        int escapeButton = -1;
        QString filter;
        QString objectName;
        QWidget *parent = nullptr;
    };

    void setNextAnswer(int answer) { m_answers.append(answer); }
    // File names answer the file dialogs, and the print dialog too: it then prints to that PDF.
    void setNextFileName(const QString &name) { m_fileNames.append(name); }
    void setNextFilter(const QString &filter) { m_filters.append(filter); }
    // The import's options box takes the next answer as what a stored word gets (-1 cancels),
    // and the layout and language scripted here when there are any, else those it starts with.
    void setNextImportReading(vantro::ArticleLayout layout, const QString &language)
    {
        m_importReadings.append({vantro::OnConflict::Keep, layout, language});
    }

    QList<Shown> shown;
    int unscripted = 0;

    int question(QWidget *parent, const QString &title, const QString &text, int defaultButton,
                 int escapeButton) override;
    void information(QWidget *parent, const QString &title, const QString &text) override;
    void about(QWidget *parent, const QString &title, const QString &text) override;
    QString openFileName(QWidget *parent, const QString &filter, const QString &objectName,
                         const QString &caption) override;
    QString saveFileName(QWidget *parent, const QString &filter, const QString &objectName,
                         const QString &caption) override;
    QString saveFileNameWithFilter(QWidget *parent, const QStringList &filters,
                                   QString &selectedFilter, const QString &objectName,
                                   const QString &caption) override;
    int choice(QWidget *parent, const QString &title, const QString &label,
               const QStringList &items, int current) override;
    bool print(QWidget *parent, QPrinter &printer) override;
    bool importOptions(QWidget *parent, const QString &fileName, ImportChoices &choices) override;

    bool scriptIsUsedUp() const
    {
        return m_answers.isEmpty() && m_fileNames.isEmpty() && m_filters.isEmpty() &&
               m_importReadings.isEmpty();
    }

private:
    QString nextFileName();

    QList<int> m_answers;
    QStringList m_fileNames;
    QStringList m_filters;
    QList<ImportChoices> m_importReadings;
};

// Installs a ScriptedDialogs for the lifetime of the guard.
class ScopedDialogs
{
public:
    explicit ScopedDialogs(Dialogs &dialogs) { Dialogs::setCurrent(&dialogs); }
    ~ScopedDialogs() { Dialogs::setCurrent(nullptr); }
    ScopedDialogs(const ScopedDialogs &) = delete;
    ScopedDialogs &operator=(const ScopedDialogs &) = delete;
};
