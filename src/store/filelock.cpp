// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantro {
namespace {

void (*beforeLockHook)(const QByteArray &) = nullptr;

bool sameFile(int fd, const QByteArray &path)
{
    struct stat held;
    struct stat named;
    return ::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

} // namespace

void FileLock::setBeforeLockHook(void (*hook)(const QByteArray &path))
{
    beforeLockHook = hook;
}

FileLock::~FileLock()
{
    release();
}

// A rebuild may rename a new file over the path between our open and our lock: the lock would then
// hold a file nobody uses any more, so the path is looked at again once the lock is held.
FileLock::Result FileLock::acquire(const QByteArray &path, Mode mode)
{
    release();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            m_error = errno;
            return m_error == ENOENT ? Result::Missing : Result::Failed;
        }
        if (beforeLockHook)
            beforeLockHook(path);
        if (::flock(fd, (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
            m_error = errno;
            ::close(fd);
            return m_error == EWOULDBLOCK ? Result::Busy : Result::Failed;
        }
        if (sameFile(fd, path)) {
            m_fd = fd;
            return Result::Locked;
        }
        ::close(fd);
    }
    m_error = EAGAIN;
    return Result::Failed;
}

void FileLock::release()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace vantro
