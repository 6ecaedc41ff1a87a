// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelock.h"

#include "failure.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantro {
namespace {

bool sameFile(int fd, const QByteArray &path)
{
    struct stat held;
    struct stat named;
    return ::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

QString systemReason(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

FileLock::~FileLock()
{
    release();
}

// A rebuild may rename a new file over the path between our open and our lock: the lock would then
// hold a file nobody uses any more, so the path is looked at again once the lock is held.
FileLock::Result FileLock::acquire(const QByteArray &path, Mode mode, QString *error)
{
    release();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            const int code = errno;
            failWith(error, systemReason(code));
            return code == ENOENT ? Result::Missing : Result::Failed;
        }
        if (::flock(fd, (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
            const int code = errno;
            ::close(fd);
            failWith(error, systemReason(code));
            return code == EWOULDBLOCK ? Result::Busy : Result::Failed;
        }
        if (sameFile(fd, path)) {
            m_fd = fd;
            return Result::Locked;
        }
        ::close(fd);
    }
    failWith(error, systemReason(EAGAIN));
    return Result::Failed;
}

void FileLock::release()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

// One byte at 2^62: beyond any dictionary's end, so that the lock never covers what the library
// itself might lock or read.
constexpr off_t kChangeLockByte = off_t(1) << 62;

ChangeLock::~ChangeLock()
{
    close();
}

bool ChangeLock::open(const QByteArray &path, bool forWriting, QString *error)
{
    close();
    m_fd = ::open(path.constData(), (forWriting ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK);
    return m_fd >= 0 || failWith(error, systemReason(errno));
}

void ChangeLock::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_locked = false;
}

bool ChangeLock::lock(Mode mode, int waitMs, QString *error)
{
    struct flock range
    {
    };
    range.l_type = short(mode == Mode::Shared ? F_RDLCK : F_WRLCK);
    range.l_whence = SEEK_SET;
    range.l_start = kChangeLockByte;
    range.l_len = 1;
    constexpr int kStepMs = 10;
    for (int waited = 0;; waited += kStepMs) {
        if (::fcntl(m_fd, F_OFD_SETLK, &range) == 0) {
            m_locked = true;
            return true;
        }
        const int code = errno;
        if ((code != EAGAIN && code != EACCES) || waited >= waitMs)
            return failWith(error, systemReason(code));
        ::usleep(kStepMs * 1000);
    }
}

void ChangeLock::unlock()
{
    struct flock range
    {
    };
    range.l_type = F_UNLCK;
    range.l_whence = SEEK_SET;
    range.l_start = kChangeLockByte;
    range.l_len = 1;
    if (m_fd >= 0)
        ::fcntl(m_fd, F_OFD_SETLK, &range);
    m_locked = false;
}

} // namespace vantro
