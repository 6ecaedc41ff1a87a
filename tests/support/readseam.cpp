// SPDX-License-Identifier: GPL-3.0-or-later
// Loaded with LD_PRELOAD into a program a test runs: read() of the file named by
// VANTRO_READ_FAILS_ON hands out VANTRO_READ_FAILS_AFTER bytes from each opening of the file and
// then fails with EIO, as a disk with a bad sector would. A program that reads the file twice
// through one opening (seeking back between) can so be made to fail on the second reading only,
// whatever its glances at the file's head through openings of their own read.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using ReadFunction = ssize_t (*)(int, void *, size_t);
using CloseFunction = int (*)(int);

const char *const failingPath = std::getenv("VANTRO_READ_FAILS_ON");
size_t handedOut = 0;

std::string pathOf(int fd)
{
    char name[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = ::readlink(link.c_str(), name, sizeof name);
    return length > 0 ? std::string(name, size_t(length)) : std::string();
}

} // namespace

extern "C" ssize_t read(int fd, void *buffer, size_t count)
{
    static const auto realRead = reinterpret_cast<ReadFunction>(::dlsym(RTLD_NEXT, "read"));
    static const char *const limitText = std::getenv("VANTRO_READ_FAILS_AFTER");
    if (!failingPath || !limitText || pathOf(fd) != failingPath)
        return realRead(fd, buffer, count);
    const size_t limit = std::strtoull(limitText, nullptr, 10);
    if (handedOut >= limit) {
        errno = EIO;
        return -1;
    }
    const ssize_t got = realRead(fd, buffer, count < limit - handedOut ? count : limit - handedOut);
    if (got > 0)
        handedOut += size_t(got);
    return got;
}

extern "C" int close(int fd)
{
    static const auto realClose = reinterpret_cast<CloseFunction>(::dlsym(RTLD_NEXT, "close"));
    if (failingPath && pathOf(fd) == failingPath)
        handedOut = 0;
    return realClose(fd);
}
