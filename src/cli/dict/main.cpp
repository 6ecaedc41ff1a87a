// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"
#include "programversion.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vantro-dict"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTRO_VERSION_TEXT));
    return vantro::dict::runCommandLine(QCoreApplication::arguments());
}
