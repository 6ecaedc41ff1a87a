#include "commandline.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vantro-dict"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTRO_VERSION));
    return vantro::dict::runCommandLine(QCoreApplication::arguments());
}
