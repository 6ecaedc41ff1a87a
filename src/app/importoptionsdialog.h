// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs.h"

#include <QDialog>

class QComboBox;
class QPushButton;

// The options of File > Import Dictionary: what a word already in the dictionary gets, how the
// dictionary's articles are read and the language of its meanings; the last two start as the
// dictionary's name tells them, as the import command's --layout and --language do.
class ImportOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    ImportOptionsDialog(const QString &fileName, const ImportChoices &start,
                        QWidget *parent = nullptr);
    ImportChoices choices() const;

private:
    void createWidgets(const QString &fileName);
    void fillLanguages(const QString &language);
    QString languageCode() const;
    void languageEdited();

    QComboBox *m_policy = nullptr;
    QComboBox *m_layout = nullptr;
    QComboBox *m_language = nullptr;
    QPushButton *m_import = nullptr;
};
