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

QString vantro::emptyDictionaryHint(const QString &appDirPath)
{
    return QCoreApplication::translate(
               "MainForm",
               "The dictionary is empty. To add a first word, untick Read Only, type the English "
               "word under Key, its meaning in ITRANS here, and press Save.\n\n"
               "Or start with the starter dictionary: close this window and, in this "
               "directory, run\nvantro-dict import %1")
        .arg(dataFile(appDirPath, QStringLiteral("starter.tsv")));
}
