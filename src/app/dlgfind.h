// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class MainForm;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// The modeless Find dialog of the ITRANS pane. It keeps the texts searched so far in its combo
// box and hands each search to the main window.
class dlgFind : public QDialog
{
    Q_OBJECT

public:
    explicit dlgFind(QWidget *parent = nullptr, const char *name = nullptr, bool modal = false,
                     Qt::WindowFlags fl = {});
    ~dlgFind() override;

    QLabel *textLabel1;
    QPushButton *btnFind;
    QPushButton *btnQuit;
    QComboBox *cmbFind;
    QCheckBox *chkMatchCase; // ITRANS spells different letters with capitals: ticked at first
    QLabel *lblStatus;       // says when the last search wrapped or found nothing

    virtual void setMF(MainForm *mainForm);

protected slots:
    virtual void languageChange();

protected:
    virtual void init();

private slots:
    virtual void btnFindClicked();

private:
    MainForm *mf = nullptr;
};
