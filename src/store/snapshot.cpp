#include "snapshot.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantro {
namespace {

QString lastError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Closes the descriptor when the scope ends, whatever path leaves it.
class Fd
{
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }
    bool ok() const { return m_fd >= 0; }
    // Closes now, answering whether the close itself reported an error.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool copyBytes(int from, int to)
{
    char block[1 << 16];
    for (;;) {
        ssize_t got = ::read(from, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        for (const char *at = block; got > 0;) {
            const ssize_t put = ::write(to, at, size_t(got));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0) {
                if (put == 0)
                    errno = ENOSPC;
                return false;
            }
            at += put;
            got -= put;
        }
    }
}

QString copyInto(const QByteArray &from, const QByteArray &to)
{
    Fd source(::open(from.constData(), O_RDONLY | O_CLOEXEC));
    if (!source.ok())
        return lastError();
    Fd target(::open(to.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0664));
    if (!target.ok())
        return lastError();
    if (::ioctl(target.get(), FICLONE, source.get()) != 0 && !copyBytes(source.get(), target.get()))
        return lastError();
    if (::fdatasync(target.get()) != 0 || !target.close())
        return lastError();
    return {};
}

QByteArray directoryOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

} // namespace

QString snapshotPath(const QString &dbPath)
{
    return dbPath + QStringLiteral(".bak");
}

bool identityOf(const QByteArray &path, SnapshotId &id)
{
    struct stat info;
    if (::stat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    id.size = quint64(info.st_size);
    id.inode = quint64(info.st_ino);
    id.mtimeNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return true;
}

QString copyToNewFile(const QByteArray &from, const QByteArray &to)
{
    const QString why = copyInto(from, to);
    if (!why.isEmpty())
        ::unlink(to.constData());
    return why;
}

QString copyDurably(const QByteArray &from, const QByteArray &to, SnapshotId *copied)
{
    const QByteArray temporary = to + ".new";
    if (QString why = copyToNewFile(from, temporary); !why.isEmpty())
        return why;
    if (copied && !identityOf(temporary, *copied)) {
        const QString why = lastError();
        ::unlink(temporary.constData());
        return why;
    }
    if (::rename(temporary.constData(), to.constData()) != 0) {
        const QString why = lastError();
        ::unlink(temporary.constData());
        return why;
    }
    return syncDirectoryOf(to);
}

QString syncDirectoryOf(const QByteArray &path)
{
    Fd directory(::open(directoryOf(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!directory.ok() || ::fsync(directory.get()) != 0)
        return lastError();
    return {};
}

QByteArray freeDamagedName(const QByteArray &path)
{
    QByteArray name = path + ".damaged";
    struct stat info;
    for (int number = 1; ::lstat(name.constData(), &info) == 0; ++number)
        name = path + ".damaged." + QByteArray::number(number);
    return name;
}

QString keepCopyAs(const QByteArray &path, const QByteArray &name)
{
    if (::link(path.constData(), name.constData()) == 0)
        return syncDirectoryOf(name);
    if (errno == EEXIST)
        return lastError();
    // No hard links here: a plain copy, made under a temporary name so that name only ever
    // appears complete.
    const QByteArray temporary = name + ".new";
    if (QString why = copyToNewFile(path, temporary); !why.isEmpty())
        return why;
    if (::link(temporary.constData(), name.constData()) != 0) {
        const QString why = lastError();
        ::unlink(temporary.constData());
        return why;
    }
    ::unlink(temporary.constData());
    return syncDirectoryOf(name);
}

} // namespace vantro
