// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <utility>

namespace vantro {

// An exclusive advisory lock on one file, held for as long as the object keeps it. flock() is
// used rather than POSIX record locks because the database library opens and closes the file
// on its own, and closing any descriptor of a file drops every record lock the process holds.
class FileLock
{
public:
    enum class Result { Locked, Missing, Busy, Failed };
    // Readers share a lock that excludes a writer's exclusive one.
    enum class Mode { Exclusive, Shared };

    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // Locks an existing file without waiting; Missing when there is no such file. Shared locks
    // admit each other and exclude an exclusive one. The lock is only answered once the path
    // still names the file that was locked.
    Result acquire(const QByteArray &path, Mode mode = Mode::Exclusive);
    void release();
    // Exchanges the locks two objects hold, e.g. to keep holding a file that was renamed into
    // place while it was already locked under its temporary name.
    void swap(FileLock &other)
    {
        std::swap(m_fd, other.m_fd);
        std::swap(m_error, other.m_error);
    }
    bool isHeld() const { return m_fd >= 0; }
    // The error number of the last Failed result.
    int lastError() const { return m_error; }

    // Tests only: called between the open and the lock, to play a program that is slow to lock.
    static void setBeforeLockHook(void (*hook)(const QByteArray &path));

private:
    int m_fd = -1;
    int m_error = 0;
};

} // namespace vantro
