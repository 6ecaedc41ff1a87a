// SPDX-License-Identifier: GPL-3.0-or-later
// The Help menu: the help window and the About box.

#include "mainform.h"

#include "dialogs.h"
#include "dlghw.h"
#include "version.h"

#include <QStringList>
#include <QTextBrowser>
#include <QUrl>

// Index opens the help window as Contents does, then turns to the page that lists every page
// and topic.
void MainForm::helpIndex()
{
    helpContents();
    HW->textBrowser->setSource(QUrl(QStringLiteral("index.html")));
}

// Every Contents opens a fresh window at the start page; the previous one goes away with it.
void MainForm::helpContents()
{
    delete HW;
    HW = new dlgHW(this);
    HW->setAppDirPath(appDirPath);
    HW->init1();
    HW->setModal(false);
    HW->show();
}

void MainForm::helpAbout()
{
    const QStringList lines = {
        QStringLiteral("VANTRO is a Linux-based "),
        QStringLiteral("translation aid from English into Sanskrit,"),
        QStringLiteral("designed and developed using"),
        QStringLiteral("Qt %1 of The Qt Company and Berkeley DB %2")
            .arg(QLatin1String(QT_VERSION_STR), vantro::databaseLibraryVersion()),
        QStringLiteral("of Oracle Corporation,"),
        QStringLiteral("                        by"),
        QStringLiteral("Arvind Kelmar (kelmar@vantro.example, www.vantro.example)"),
        QStringLiteral("- for the benefit of those who wish to re-vitalize"),
        QStringLiteral("saMskR^itaM by translating texts from English into it,"),
        QStringLiteral("using ITRANS as a fluent and flexible medium."),
    };
    Dialogs::current().about(this, QStringLiteral("Dorvimal"), lines.join(QLatin1Char('\n')));
}
