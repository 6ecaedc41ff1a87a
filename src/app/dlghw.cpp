// SPDX-License-Identifier: GPL-3.0-or-later
#include "dlghw.h"

#include "datafiles.h"
#include "helpbrowser.h"
#include "mimesource.h"

#include <QPushButton>
#include <QUrl>

namespace {

// Kept on the search path for the record of where the program comes from; the viewer never
// fetches them.
const char *const webAddresses[] = {
    "https://www.qt.io/",
    "https://www.oracle.com/database/technologies/related/berkeleydb.html",
    "https://www.vantro.example/~kelmar/",
};

} // namespace

dlgHW::dlgHW(QWidget *parent, const char *name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setModal(modal);
    setObjectName(name ? QLatin1String(name) : QLatin1String("dlgHW"));

    btnClose = new QPushButton(this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(10, 10, 61, 30);

    textBrowser = new vantro::HelpBrowser(this);
    textBrowser->setObjectName(QStringLiteral("textBrowser"));
    textBrowser->setGeometry(10, 60, 860, 590);
    QSizePolicy policy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    policy.setHeightForWidth(textBrowser->sizePolicy().hasHeightForWidth());
    textBrowser->setSizePolicy(policy);
    textBrowser->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textBrowser->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textBrowser->setAutoFormatting(QTextEdit::AutoAll);

    languageChange();
    resize(QSize(882, 651).expandedTo(minimumSizeHint()));
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
}

dlgHW::~dlgHW() = default;

void dlgHW::setAppDirPath(QString path)
{
    appDirPath = path;
}

void dlgHW::init1()
{
    // The viewer has no factory of its own: the help directory becomes the search path of the
    // whole program, and names not found there fall through to the pictures compiled in.
    MimeSourceFactory *factory = MimeSourceFactory::defaultFactory();
    factory->setFilePath({vantro::helpDirectory(appDirPath)});
    for (const char *address : webAddresses)
        factory->addFilePath(QLatin1String(address));
    textBrowser->setSource(QUrl(QStringLiteral("nuvelto.html")));
}

void dlgHW::languageChange()
{
    setWindowTitle(tr("Dorvimal"));
    btnClose->setText(tr("&Close"));
    btnClose->setShortcut(QKeySequence(tr("Alt+C")));
}
