// SPDX-License-Identifier: GPL-3.0-or-later
#include "version.h"

#include <db.h>

QString vantro::databaseLibraryVersion()
{
    int major = 0;
    int minor = 0;
    int patch = 0;
    db_version(&major, &minor, &patch);
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(patch);
}
