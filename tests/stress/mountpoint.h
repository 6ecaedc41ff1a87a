#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A small tmpfs mounted on a temporary directory for as long as the object lives. Mounting needs
// root (or CAP_SYS_ADMIN); where it is refused, mounted() is false and the test skips.
class ScratchMount
{
public:
    explicit ScratchMount(const QString &options)
    {
        m_mounted =
            QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               options, QStringLiteral("tmpfs"), m_dir.path()}) == 0;
    }
    ~ScratchMount() { unmount(); }
    ScratchMount(const ScratchMount &) = delete;
    ScratchMount &operator=(const ScratchMount &) = delete;

    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Changes the mount's options, e.g. "remount,ro".
    bool remount(const QString &options)
    {
        return QProcess::execute(QStringLiteral("mount"),
                                 {QStringLiteral("-o"), options, m_dir.path()}) == 0;
    }
    void unmount()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_dir.path()});
        m_mounted = false;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

#define SKIP_UNLESS_MOUNTED(mount)                                                                 \
    if (!(mount).mounted())                                                                        \
    QSKIP("mounting a tmpfs is not permitted here (it needs root or CAP_SYS_ADMIN)")
