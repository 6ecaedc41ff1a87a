// SPDX-License-Identifier: GPL-3.0-or-later
#include "lockseam.h"

#include <QFile>

#include <unistd.h>

#include <utility>

extern "C" int __real_flock(int fd, int operation);

namespace vantro {
namespace {

void (*s_hook)(const QByteArray &) = nullptr;

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

} // namespace vantro

extern "C" int __wrap_flock(int fd, int operation)
{
    if (auto hook = std::exchange(vantro::s_hook, nullptr))
        hook(vantro::pathOf(fd));
    return __real_flock(fd, operation);
}
