// SPDX-License-Identifier: GPL-3.0-or-later
#include "dlgfind.h"

#include "mainform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

dlgFind::dlgFind(QWidget *parent, const char *name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(name ? QLatin1String(name) : QLatin1String("dlgFind"));
    setModal(modal);

    textLabel1 = new QLabel(this);
    textLabel1->setObjectName(QStringLiteral("textLabel1"));
    textLabel1->setGeometry(0, 16, 30, 21);
    textLabel1->setFrameShape(QFrame::NoFrame);
    textLabel1->setFrameShadow(QFrame::Plain);

    btnFind = new QPushButton(this);
    btnFind->setObjectName(QStringLiteral("btnFind"));
    btnFind->setGeometry(40, 60, 81, 31);

    btnQuit = new QPushButton(this);
    btnQuit->setObjectName(QStringLiteral("btnQuit"));
    btnQuit->setGeometry(130, 60, 81, 31);

    cmbFind = new QComboBox(this);
    cmbFind->setObjectName(QStringLiteral("cmbFind"));
    cmbFind->setGeometry(40, 10, 181, 30);
    cmbFind->setEditable(true);
    // The history is kept by btnFindClicked() alone, so Return must not add entries of its own.
    cmbFind->setInsertPolicy(QComboBox::NoInsert);
    cmbFind->setDuplicatesEnabled(true);

    chkMatchCase = new QCheckBox(this);
    chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    chkMatchCase->setGeometry(40, 96, 181, 21);
    chkMatchCase->setChecked(true);

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setGeometry(10, 120, 213, 21);

    languageChange();
    resize(QSize(233, 146).expandedTo(minimumSizeHint()));

    connect(btnFind, &QPushButton::clicked, this, &dlgFind::btnFindClicked);
    connect(btnQuit, &QPushButton::clicked, this, &QDialog::close);
}

dlgFind::~dlgFind() = default;

void dlgFind::setMF(MainForm *mainForm)
{
    mf = mainForm;
}

void dlgFind::languageChange()
{
    setWindowTitle(tr("Find"));
    textLabel1->setText(tr("Find"));
    btnFind->setText(tr("&Find"));
    btnFind->setShortcut(QKeySequence(tr("Alt+F")));
    btnQuit->setText(tr("&Quit"));
    btnQuit->setShortcut(QKeySequence(tr("Alt+Q")));
    chkMatchCase->setText(tr("&Match case"));
}

void dlgFind::init() {}

// The field keeps the text just searched, so pressing Find again goes on to its next
// occurrence; a new text joins the end of the history.
void dlgFind::btnFindClicked()
{
    const QString text = cmbFind->currentText();
    if (text.isEmpty())
        return;
    int entry = cmbFind->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (entry < 0) {
        cmbFind->addItem(text);
        entry = cmbFind->count() - 1;
    }
    cmbFind->setCurrentIndex(entry);
    if (!mf)
        return;
    switch (mf->findString(text, chkMatchCase->isChecked())) {
    case MainForm::Found:
        lblStatus->clear();
        break;
    case MainForm::Wrapped:
        lblStatus->setText(tr("Wrapped to the start"));
        break;
    case MainForm::NotFound:
        lblStatus->setText(tr("Not found"));
        break;
    }
}
