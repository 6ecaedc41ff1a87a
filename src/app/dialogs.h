// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "articlelayout.h"
#include "dictionaryimport.h"

#include <QList>
#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

// What File > Import Dictionary is told: what a word already in the dictionary gets, how the
// dictionary's articles are read, and the language of its meanings ("sa", "hi", ...).
struct ImportChoices
{
    vantro::OnConflict policy = vantro::OnConflict::Keep;
    vantro::ArticleLayout layout = vantro::ArticleLayout::Plain;
    QString language;
};

// Every question box, information box, about box and file dialog of the program goes through
// the current Dialogs object, so that tests can answer them without a human.
class Dialogs
{
public:
    enum Answer { Yes = 0, No = 1, Cancel = 2 };

    virtual ~Dialogs();

    // A modal question with the buttons "Yes", "No", "Cancel" in that order; answers the number
    // of the button chosen (Escape and closing the box choose escapeButton).
    virtual int question(QWidget *parent, const QString &title, const QString &text,
                         int defaultButton, int escapeButton) = 0;
    // A modal information box with the single button "OK".
    virtual void information(QWidget *parent, const QString &title, const QString &text) = 0;
    virtual void about(QWidget *parent, const QString &title, const QString &text) = 0;
    // The toolkit's file dialogs; an empty result means the user cancelled.
    virtual QString openFileName(QWidget *parent, const QString &filter, const QString &objectName,
                                 const QString &caption) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &filter, const QString &objectName,
                                 const QString &caption) = 0;
    // A save dialog offering several filters; selectedFilter receives the one the user chose.
    virtual QString saveFileNameWithFilter(QWidget *parent, const QStringList &filters,
                                           QString &selectedFilter, const QString &objectName,
                                           const QString &caption) = 0;
    // A modal pick from items; answers the index chosen, or -1 when the user cancels.
    virtual int choice(QWidget *parent, const QString &title, const QString &label,
                       const QStringList &items, int current) = 0;
    // The toolkit's print dialog, which sets printer up; false when the user cancels.
    virtual bool print(QWidget *parent, QPrinter &printer) = 0;
    // The options of importing the dictionary fileName, starting from choices and answered in
    // them; false when the user cancels.
    virtual bool importOptions(QWidget *parent, const QString &fileName,
                               ImportChoices &choices) = 0;

    static Dialogs &current();
    // Replaces the dialogs in use (not owned); nullptr restores the real ones.
    static void setCurrent(Dialogs *dialogs);
    // Where the file dialogs start: the folder of the document the user works on.
    static void setStartFolder(const QString &folder);
    static QString startFolder();
};

class RealDialogs : public Dialogs
{
public:
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
};
