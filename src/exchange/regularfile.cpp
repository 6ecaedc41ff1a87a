// SPDX-License-Identifier: GPL-3.0-or-later
#include "regularfile.h"

#include "failure.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantro {

bool openRegularFile(QFile &file, const QString &path, QString *error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failWith(error, QStringLiteral("cannot read %1: %2")
                                   .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return failWith(error, QStringLiteral("%1 is not a regular file").arg(path));
    }
    // Reads of a regular file never block; the flag only kept the open from waiting.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failWith(error, QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    }
    return true;
}

} // namespace vantro
