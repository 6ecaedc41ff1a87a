// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputfile.h"

#include "failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace vantro {
namespace {

// The kernel's own limit on links followed in one name.
constexpr int kMostLinksFollowed = 40;

QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    return QStringLiteral("a special file");
}

// The next name a link leads to, made absolute against the link's folder; empty on failure.
QString linkTarget(const QString &link)
{
    QByteArray target(4096, '\0');
    const ssize_t length =
        ::readlink(QFile::encodeName(link).constData(), target.data(), size_t(target.size()));
    if (length <= 0 || length >= target.size())
        return {};
    target.truncate(length);
    // Relative to the folder the link really lies in, as the kernel reads it.
    const QDir folder = QFileInfo(link).absoluteDir();
    const QString real = folder.canonicalPath();
    return QDir::cleanPath(
        QDir(real.isEmpty() ? folder.absolutePath() : real).filePath(QFile::decodeName(target)));
}

} // namespace

bool resolveOutputFile(const QString &name, QString *path, QString *error)
{
    QString at = name;
    for (int links = 0; links <= kMostLinksFollowed; ++links) {
        struct stat info;
        if (::lstat(QFile::encodeName(at).constData(), &info) != 0) {
            if (errno == ENOENT) {
                *path = at;
                return true;
            }
            return failWith(error, QStringLiteral("cannot write %1: %2")
                                       .arg(name, QString::fromLocal8Bit(std::strerror(errno))));
        }
        if (S_ISREG(info.st_mode)) {
            *path = at;
            return true;
        }
        if (!S_ISLNK(info.st_mode)) {
            const QString what =
                at == name ? name : QStringLiteral("%1 (by way of %2)").arg(at, name);
            return failWith(error, QStringLiteral("will not write %1: it is %2, not a regular file")
                                       .arg(what, kindOf(info.st_mode)));
        }
        at = linkTarget(at);
        if (at.isEmpty())
            return failWith(error,
                            QStringLiteral("cannot write %1: its link cannot be read").arg(name));
    }
    return failWith(error, QStringLiteral("cannot write %1: too many symbolic links").arg(name));
}

} // namespace vantro
