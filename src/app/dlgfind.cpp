#include "dlgfind.h"

#include "mainform.h"

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

    languageChange();
    resize(QSize(233, 102).expandedTo(minimumSizeHint()));

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
}

void dlgFind::init() {}

// Walking the history makes each entry current in turn, so when the text is new the entry left
// current is the last one walked (or the new text itself in an empty history), not the text.
void dlgFind::btnFindClicked()
{
    const QString text = cmbFind->currentText();
    if (text.isEmpty())
        return;
    bool known = false;
    for (int i = 0; i < cmbFind->count() && !known; ++i) {
        cmbFind->setCurrentIndex(i);
        known = cmbFind->currentText() == text;
    }
    if (!known)
        cmbFind->addItem(text);
    if (mf)
        mf->findString(text);
}
