#include "filelock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vantro {

FileLock::~FileLock()
{
    release();
}

FileLock::Result FileLock::acquire(const QByteArray &path, Mode mode)
{
    release();
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        m_error = errno;
        return m_error == ENOENT ? Result::Missing : Result::Failed;
    }
    if (::flock(fd, (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
        m_error = errno;
        ::close(fd);
        return m_error == EWOULDBLOCK ? Result::Busy : Result::Failed;
    }
    m_fd = fd;
    return Result::Locked;
}

void FileLock::release()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace vantro
