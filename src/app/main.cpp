#include "mainform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    MainForm window;
    window.show();
    QObject::connect(&app, &QGuiApplication::lastWindowClosed, &app, &QCoreApplication::quit);
    window.setAppDirPath(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    return app.exec();
}
