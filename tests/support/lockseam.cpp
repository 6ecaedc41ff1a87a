// SPDX-License-Identifier: GPL-3.0-or-later
#include "lockseam.h"

#include <QFile>

#include <fcntl.h>

#include <cerrno>
#include <cstdarg>
#include <sys/types.h>
#include <unistd.h>

#include <utility>

extern "C" int __real_flock(int fd, int operation);
extern "C" int __real_open(const char *path, int flags, ...);

namespace vantro {
namespace {

void (*s_hook)(const QByteArray &) = nullptr;
QByteArray s_failingPath;
int s_failingError = 0;

QByteArray pathOf(int fd)
{
    char name[4096];
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t length = ::readlink(link.constData(), name, sizeof name);
    return length > 0 ? QByteArray(name, length) : QByteArray();
}

} // namespace

void beforeNextFlock(void (*hook)(const QByteArray &path))
{
    s_hook = hook;
}

void failNextOpenOf(const QByteArray &path, int errorNumber)
{
    s_failingPath = path;
    s_failingError = errorNumber;
}

} // namespace vantro

extern "C" int __wrap_open(const char *path, int flags, ...)
{
    if (!vantro::s_failingPath.isEmpty() && vantro::s_failingPath == path) {
        vantro::s_failingPath.clear();
        errno = vantro::s_failingError;
        return -1;
    }
    va_list rest;
    va_start(rest, flags);
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? mode_t(va_arg(rest, int)) : 0;
    va_end(rest);
    return __real_open(path, flags, mode);
}

extern "C" int __wrap_flock(int fd, int operation)
{
    if (auto hook = std::exchange(vantro::s_hook, nullptr))
        hook(vantro::pathOf(fd));
    return __real_flock(fd, operation);
}
