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
    // still names the file that was locked. Any answer but Locked comes with the system's
    // reason in *error, when the caller asked for it.
    [[nodiscard]] Result acquire(const QByteArray &path, Mode mode, QString *error);
    void release();
    // Exchanges the locks two objects hold, e.g. to keep holding a file that was renamed into
    // place while it was already locked under its temporary name.
    void swap(FileLock &other) { std::swap(m_fd, other.m_fd); }

private:
    int m_fd = -1;
};

// The lock readers and the writer's changes meet at, beside the writer's session lock: an open
// file description lock (fcntl F_OFD_SETLK) on one byte far beyond the end of the dictionary
// file. Such a lock belongs to this object's own descriptor, so the database library closing its
// descriptors never drops it, and it is independent of the session's flock(). A writer holds it
// exclusively around each change (and around a recovery or a rebuild that rewrites the file);
// readers hold it shared while they read, so that they see the file as last saved, never a page
// half written.
class ChangeLock
{
public:
    enum class Mode { Shared, Exclusive };

    ChangeLock() = default;
    ~ChangeLock();
    ChangeLock(const ChangeLock &) = delete;
    ChangeLock &operator=(const ChangeLock &) = delete;

    // Opens the file the lock is taken on (for writing when exclusive locks are to be taken).
    [[nodiscard]] bool open(const QByteArray &path, bool forWriting, QString *error);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    // Takes the lock, waiting up to waitMs for the other side to finish; false when it could not
    // be had, the reason being the system's (that of EAGAIN after the wait).
    [[nodiscard]] bool lock(Mode mode, int waitMs, QString *error);
    void unlock();
    bool isLocked() const { return m_locked; }

    // Holds the lock for the length of a scope when the file is open; held() says whether it was
    // had.
    // Holds the lock for the length of a scope; a lock already held (a reader's for its whole
    // session) or a file not open counts as held and is left as it is.
    class Bracket
    {
    public:
        Bracket(ChangeLock &lock, Mode mode, int waitMs) : m_lock(lock)
        {
            if (lock.isOpen() && !lock.isLocked())
                m_held = m_release = lock.lock(mode, waitMs, nullptr);
        }
        ~Bracket()
        {
            if (m_release)
                m_lock.unlock();
        }
        Bracket(const Bracket &) = delete;
        Bracket &operator=(const Bracket &) = delete;
        bool held() const { return m_held; }

    private:
        ChangeLock &m_lock;
        bool m_held = true;
        bool m_release = false;
    };

    // How long a writer's change waits for readers, and a reader for a change.
    static constexpr int kWaitMs = 5000;

private:
    int m_fd = -1;
    bool m_locked = false;
};

} // namespace vantro
