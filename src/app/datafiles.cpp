// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString vantro::dataFile(const QString &appDirPath, const QString &name)
{
    const QString beside = appDirPath + name;
    const QString installed =
        QDir::cleanPath(appDirPath + QLatin1String("../share/vantro/") + name);
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed))
        return installed;
    return beside;
}

QString vantro::helpDirectory(const QString &appDirPath)
{
    const QString startPage = dataFile(appDirPath, QStringLiteral("html/nuvelto.html"));
    return startPage.left(startPage.size() - int(qstrlen("nuvelto.html")));
}

QString vantro::emptyDictionaryHint()
{
    return QCoreApplication::translate(
        "MainForm", "The dictionary is empty.\n\nCtrl+Shift+D loads the starter dictionary.\n\n"
                    "Or untick Read Only, type a word under Key, its meaning here, and press "
                    "Save.");
}
