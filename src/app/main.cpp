// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafiles.h"
#include "exitstatus.h"
#include "mainform.h"
#include "programversion.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstring>

namespace {

// The window's options of its own, answered before the toolkit looks for a display: the
// version and licence, and where the help pages are found.
int printVersion(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString help = vantro::helpDirectory(QCoreApplication::applicationDirPath() + '/');
    std::printf("vantro %s\nHelp pages: %s\n", VANTRO_VERSION_TEXT, qUtf8Printable(help));
    return vantro::Success;
}

int printUsage()
{
    std::printf("Usage: vantro [--help | --version] [Qt options]\n"
                "The English-to-Sanskrit translation workbench. It opens the dictionary\n"
                "morvak.db in the current directory and creates an empty one there when\n"
                "there is none.\n\n"
                "  --help     show this text and exit\n"
                "  --version  show the version, the licence and where the help pages are\n\n"
                "Qt's own options, such as -platform or -style, are also understood.\n"
                "See vantro(1) and the help pages (Help > Contents).\n");
    return vantro::Success;
}

bool isOption(const char *argument, const char *longName, const char *shortName = nullptr)
{
    return std::strcmp(argument, longName) == 0 ||
           (shortName && std::strcmp(argument, shortName) == 0);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && isOption(argv[1], "--version"))
        return printVersion(argc, argv);
    if (argc == 2 && isOption(argv[1], "--help", "-h"))
        return printUsage();
    QApplication app(argc, argv);
    // Whatever the toolkit did not take as its own is not an option of the window: say so
    // before any file is opened or created.
    if (const QStringList rest = app.arguments().mid(1); !rest.isEmpty()) {
        std::fprintf(stderr, "vantro: unknown option \"%s\"; see vantro --help\n",
                     qUtf8Printable(rest.first()));
        return vantro::BadUsage;
    }
    // The desktop matches the window to its entry and icon by these names.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vantro.Vantro"));
    // The window's settings go to ~/.config/vantro/vantro.conf.
    QCoreApplication::setOrganizationName(QStringLiteral("vantro"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.vantro.Vantro"),
                                                 QIcon(QStringLiteral(":/org.vantro.Vantro.png"))));
    MainForm window;
    window.show();
    QObject::connect(&app, &QGuiApplication::lastWindowClosed, &app, &QCoreApplication::quit);
    window.setAppDirPath(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    return app.exec();
}
