// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafiles.h"
#include "mainform.h"
#include "programversion.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

// The window's one option of its own, answered before the toolkit looks for a display: the
// version and licence, and where the help pages are found.
int printVersion(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString help = vantro::helpDirectory(QCoreApplication::applicationDirPath() + '/');
    std::printf("vantro %s\nHelp pages: %s\n", VANTRO_VERSION_TEXT, qUtf8Printable(help));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0)
        return printVersion(argc, argv);
    QApplication app(argc, argv);
    MainForm window;
    window.show();
    QObject::connect(&app, &QGuiApplication::lastWindowClosed, &app, &QCoreApplication::quit);
    window.setAppDirPath(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    return app.exec();
}
