// SPDX-License-Identifier: GPL-3.0-or-later
#include "snapshot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <db.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantro {
namespace {

constexpr int kLeftoverAgeSeconds = 2;
constexpr int kCreateLockWaitMs = 3000;
constexpr int kCreateLockPollMs = 20;

QString lastError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool failWithErrno(QString *error)
{
    return failWith(error, lastError());
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

// The kernel copies without the bytes passing through the process: 1 when it did, 0 when it
// cannot here (nothing written: the plain copy takes over), -1 when the copy failed (errno).
int copyInKernel(int from, int to)
{
    struct stat info;
    if (::fstat(from, &info) != 0)
        return -1;
    off_t done = 0;
    while (done < info.st_size) {
        const ssize_t copied =
            ::copy_file_range(from, nullptr, to, nullptr, size_t(info.st_size - done), 0);
        if (copied < 0 && errno == EINTR)
            continue;
        if (copied < 0 && done == 0 &&
            (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP))
            return 0;
        if (copied <= 0) {
            if (copied == 0)
                errno = EIO;
            return -1;
        }
        done += copied;
    }
    return 1;
}

// Copies into the new file open on target; closes it.
bool copyInto(const QByteArray &from, Fd &target, QString *error)
{
    Fd source(::open(from.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!source.ok())
        return failWithErrno(error);
    takeModeOf(target.get(), from);
    if (::ioctl(target.get(), FICLONE, source.get()) != 0) {
        const int kernel = copyInKernel(source.get(), target.get());
        if (kernel < 0 || (kernel == 0 && !copyBytes(source.get(), target.get())))
            return failWithErrno(error);
    }
    if (::fdatasync(target.get()) != 0 || !target.close())
        return failWithErrno(error);
    return true;
}

bool flushFile(const QByteArray &path, QString *error)
{
    Fd file(::open(path.constData(), O_RDONLY | O_CLOEXEC));
    if (!file.ok() || ::fdatasync(file.get()) != 0)
        return failWithErrno(error);
    return true;
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
    id.ctimeNs = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    return true;
}

QByteArray fileIdOf(const QByteArray &path)
{
    Fd file(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info;
    unsigned char meta[72];
    if (!file.ok() || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        ::pread(file.get(), meta, sizeof meta, 0) != sizeof meta)
        return {};
    quint32 magic;
    std::memcpy(&magic, meta + 12, sizeof magic);
    if (magic != DB_BTREEMAGIC && magic != __builtin_bswap32(quint32(DB_BTREEMAGIC)))
        return {};
    return QByteArray(reinterpret_cast<const char *>(meta + 52), kFileIdSize);
}

// The library does this only inside an environment; a private one lives in memory and leaves no
// files behind.
bool resetFileId(const QByteArray &path, QString *error)
{
    DB_ENV *env = nullptr;
    int ret = db_env_create(&env, 0);
    if (ret != 0)
        return failWith(error, QString::fromLocal8Bit(db_strerror(ret)));
    env->set_errfile(env, nullptr);
    ret = env->open(env, directoryOf(path).constData(), DB_CREATE | DB_PRIVATE | DB_INIT_MPOOL, 0);
    // The environment's home is the file's folder, and the library resolves a relative name
    // against it: the bare name is given, or a relative path would be resolved twice.
    const qsizetype slash = path.lastIndexOf('/');
    if (ret == 0)
        ret = env->fileid_reset(env, path.mid(slash + 1).constData(), 0);
    const int closed = env->close(env, 0);
    if (ret == 0)
        ret = closed;
    if (ret != 0)
        return failWith(error, QString::fromLocal8Bit(db_strerror(ret)));
    return flushFile(path, error);
}

int createTemporaryBeside(const QByteArray &target, QByteArray &name, const char *suffix)
{
    name = target + suffix + "XXXXXX";
    return ::mkostemp(name.data(), O_CLOEXEC);
}

void removeStaleTemporaries(const QByteArray &target, const char *suffix)
{
    const QString base = QFile::decodeName(target);
    const QFileInfo info(base);
    QDir directory = info.dir();
    const QString pattern =
        info.fileName() + QString::fromLatin1(suffix) + QStringLiteral("??????");
    for (const QString &name :
         directory.entryList({pattern}, QDir::Files | QDir::System | QDir::Hidden))
        ::unlink(QFile::encodeName(directory.filePath(name)).constData());
    // The library creates a file under "__db.<name>" and renames it: a kill in between leaves
    // that name behind, empty.
    for (const QFileInfo &leftover :
         directory.entryInfoList({QStringLiteral("__db.") + pattern}, QDir::Files | QDir::Hidden)) {
        if (leftover.size() == 0)
            ::unlink(QFile::encodeName(leftover.filePath()).constData());
    }
    // Earlier versions used the name without the unique ending.
    const QByteArray fixedName = target + QByteArray(suffix).chopped(1);
    struct stat fixed;
    if (::lstat(fixedName.constData(), &fixed) == 0 && S_ISREG(fixed.st_mode))
        ::unlink(fixedName.constData());
}

bool removeLibraryLeftover(const QByteArray &path, bool creatorsExcluded)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray leftover = path.left(slash + 1) + "__db." + path.mid(slash + 1);
    struct stat info;
    if (::lstat(leftover.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    // A create killed at its rename leaves the first page written: no record is ever put into
    // the file before it has the dictionary's name, so it holds nothing of the translator's.
    // Under the folder's create lock no create of ours can be under way, whatever its size or
    // age; without it only an empty name is taken, once seconds old (a create under way writes
    // its first page at once).
    if (!creatorsExcluded && info.st_size != 0)
        return false;
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    if (!creatorsExcluded && now.tv_sec - info.st_mtim.tv_sec < kLeftoverAgeSeconds)
        return false;
    return ::unlink(leftover.constData()) == 0;
}

bool lockFolderForCreate(const QByteArray &path, int *fd, QString *error)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0    ? QByteArray(".")
                              : slash == 0 ? QByteArray("/")
                                           : path.left(slash);
    const QString name = QString::fromLocal8Bit(folder);
    *fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (*fd < 0)
        return failWith(error, QStringLiteral("%1: %2").arg(name, lastError()));
    // Another program's create takes a fraction of a second; a lock held longer is not waited
    // for, and the age rule above decides instead.
    QString reason = QStringLiteral("%1: another program is creating a file there").arg(name);
    for (int waited = 0; waited < kCreateLockWaitMs; waited += kCreateLockPollMs) {
        if (::flock(*fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR) {
            reason = QStringLiteral("%1: %2").arg(name, lastError());
            break;
        }
        ::usleep(kCreateLockPollMs * 1000);
    }
    ::close(*fd);
    *fd = -1;
    return failWith(error, reason);
}

void takeModeOf(int fd, const QByteArray &like)
{
    struct stat info;
    struct stat own;
    if (::stat(like.constData(), &info) != 0 || ::fstat(fd, &own) != 0)
        return;
    // Called at every open: a file already alike is not written.
    if (own.st_uid == info.st_uid && own.st_gid == info.st_gid &&
        (own.st_mode & 07777) == (info.st_mode & 07777))
        return;
    if (::fchown(fd, info.st_uid, info.st_gid) != 0 && ::fchown(fd, uid_t(-1), info.st_gid) != 0) {
        // Neither owner nor group may be given: the mode alone still keeps others out.
    }
    ::fchmod(fd, info.st_mode & 07777);
}

void takeModeOf(const QByteArray &path, const QByteArray &like)
{
    Fd file(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat info;
    if (file.ok() && ::fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode))
        takeModeOf(file.get(), like);
}

bool copyToTemporary(const QByteArray &from, const QByteArray &target, QByteArray &temporary,
                     QString *error, const char *suffix)
{
    Fd created(createTemporaryBeside(target, temporary, suffix));
    if (!created.ok())
        return failWithErrno(error);
    if (copyInto(from, created, error))
        return true;
    ::unlink(temporary.constData());
    return false;
}

bool copyDurably(const QByteArray &from, const QByteArray &to, QString *error, SnapshotId *copied,
                 QByteArray *fileId)
{
    removeStaleTemporaries(to);
    QByteArray temporary;
    if (!copyToTemporary(from, to, temporary, error))
        return false;
    bool done = true;
    if (fileId) {
        done = resetFileId(temporary, error);
        *fileId = fileIdOf(temporary);
    }
    if (done && copied && !identityOf(temporary, *copied))
        done = failWithErrno(error);
    if (done && ::rename(temporary.constData(), to.constData()) != 0)
        done = failWithErrno(error);
    if (!done) {
        ::unlink(temporary.constData());
        return false;
    }
    return syncDirectoryOf(to, error);
}

bool syncDirectoryOf(const QByteArray &path, QString *error)
{
    Fd directory(::open(directoryOf(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!directory.ok() || ::fsync(directory.get()) != 0)
        return failWithErrno(error);
    return true;
}

QByteArray freeDamagedName(const QByteArray &path)
{
    QByteArray name = path + ".damaged";
    struct stat info;
    for (int number = 1; ::lstat(name.constData(), &info) == 0; ++number)
        name = path + ".damaged." + QByteArray::number(number);
    return name;
}

bool keepCopyAs(const QByteArray &path, const QByteArray &name, QString *error, bool mayLink)
{
    if (mayLink && ::link(path.constData(), name.constData()) == 0)
        return syncDirectoryOf(name, error);
    if (mayLink && errno == EEXIST)
        return failWithErrno(error);
    // No hard links here: a plain copy, made under a temporary name so that name only ever
    // appears complete.
    QByteArray temporary;
    if (!copyToTemporary(path, name, temporary, error))
        return false;
    if (::link(temporary.constData(), name.constData()) != 0) {
        failWithErrno(error);
        ::unlink(temporary.constData());
        return false;
    }
    ::unlink(temporary.constData());
    return syncDirectoryOf(name, error);
}

} // namespace vantro
