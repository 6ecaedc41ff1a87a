// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QTemporaryDir>

// A small tmpfs mounted on a temporary directory for as long as the object lives. Mounting needs
// root (or CAP_SYS_ADMIN); where it is refused, mounted is false and the test skips.
struct ScratchMount
{
    explicit ScratchMount(const QString &options)
        : mounted(mount({"-t", "tmpfs", "-o", options, "tmpfs", dir.path()}))
    {
    }
    ~ScratchMount()
    {
        if (mounted)
            QProcess::execute(QStringLiteral("umount"), {dir.path()});
    }
    // Runs mount(8) with the arguments, e.g. {"-o", "remount,ro", path}.
    static bool mount(const QStringList &arguments)
    {
        return QProcess::execute(QStringLiteral("mount"), arguments) == 0;
    }
    QString filePath(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    const bool mounted;
};

#define SKIP_UNLESS_MOUNTED(disk)                                                                  \
    if (!(disk).mounted)                                                                           \
    QSKIP("mounting a tmpfs is not permitted here (it needs root or CAP_SYS_ADMIN)")
