// SPDX-License-Identifier: GPL-3.0-or-later
#include "textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantro {

namespace {

constexpr qint64 kPieceSize = 1 << 20;

// The style of the first line end, and whether any other style follows. A carriage return at
// the end of one piece may be completed by a line feed at the start of the next.
class LineEndFinder
{
public:
    void scan(const QByteArray &piece)
    {
        if (m_mixed)
            return;
        if (!m_sawCR && !piece.contains('\r')) { // the common case, at memchr's speed
            if (piece.contains('\n'))
                record(QStringLiteral("\n"));
            return;
        }
        for (const char c : piece) {
            if (m_sawCR)
                record(c == '\n' ? QStringLiteral("\r\n") : QStringLiteral("\r"));
            else if (c == '\n')
                record(QStringLiteral("\n"));
            m_sawCR = c == '\r';
        }
    }
    void finish()
    {
        if (m_sawCR)
            record(QStringLiteral("\r"));
    }
    QString lineEnd() const { return m_first.isEmpty() ? QStringLiteral("\n") : m_first; }
    bool mixed() const { return m_mixed; }

private:
    void record(const QString &lineEnd)
    {
        if (m_first.isEmpty())
            m_first = lineEnd;
        m_mixed = m_mixed || lineEnd != m_first;
    }

    QString m_first;
    bool m_sawCR = false;
    bool m_mixed = false;
};

QStringDecoder utf8Decoder()
{
    return QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
}

bool holdsEditorBreaks(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == QChar::ParagraphSeparator || c.unicode() == 0xfdd0 || c.unicode() == 0xfdd1;
    });
}

// Reads the file piece by piece; false with the reason when it cannot be read.
bool forEachPiece(const QString &path, const std::function<void(const QByteArray &)> &take,
                  QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    while (!file.atEnd()) {
        const QByteArray piece = file.read(kPieceSize);
        if (file.error() != QFileDevice::NoError) {
            error = file.errorString();
            return false;
        }
        take(piece);
    }
    return true;
}

// Makes the rename of a new file durable: until the folder itself is on disk, a power cut can
// bring the previous version back. A folder we may not open or a file system that cannot sync
// folders leaves the file written all the same.
QString syncFolder(const QString &path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {};
    QString error;
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        error = qt_error_string(errno);
    ::close(fd);
    return error;
}

// The file device does not always keep the system's reason for a failed write ("Unknown
// error"); errno, read straight after the call, still holds it.
QString failureReason(const QSaveFile &file)
{
    const int code = errno;
    return code != 0 ? qt_error_string(code) : file.errorString();
}

} // namespace

bool probeTextFile(const QString &path, TextProbe &probe, QString &error)
{
    LineEndFinder lineEnds;
    QStringDecoder utf8 = utf8Decoder();
    bool hasNul = false;
    bool editorBreaks = false;
    const bool read = forEachPiece(
        path,
        [&](const QByteArray &piece) {
            hasNul = hasNul || piece.contains('\0');
            lineEnds.scan(piece);
            if (!utf8.hasError())
                editorBreaks = editorBreaks || holdsEditorBreaks(utf8(piece));
        },
        error);
    if (!read)
        return false;
    // A sequence cut off by the end of the file shows as an error once something follows it.
    static_cast<void>(QString(utf8(QByteArrayView("\n"))));
    probe.hasNul = hasNul;
    lineEnds.finish();
    probe.format.lineEnd = lineEnds.lineEnd();
    probe.format.mixedLineEnds = lineEnds.mixed();
    probe.format.encoding = utf8.hasError() ? TextFormat::Latin1 : TextFormat::Utf8;
    probe.editorBreaks = editorBreaks && probe.format.encoding == TextFormat::Utf8;
    return true;
}

TextReader::TextReader(const QString &path, TextFormat::Encoding encoding)
    : m_file(path), m_encoding(encoding), m_utf8(utf8Decoder())
{
}

bool TextReader::open(QString &error)
{
    if (m_file.open(QIODevice::ReadOnly))
        return true;
    error = m_file.errorString();
    return false;
}

// Pieces of a quarter megabyte: the editor takes one in a few tens of milliseconds.
bool TextReader::read(QString &piece, QString &error)
{
    const QByteArray bytes = m_file.read(1 << 18);
    if (m_file.error() != QFileDevice::NoError) {
        error = m_file.errorString();
        return false;
    }
    piece =
        m_heldCR + (m_encoding == TextFormat::Utf8 ? m_utf8(bytes) : QString::fromLatin1(bytes));
    m_heldCR.clear();
    if (!m_file.atEnd() && piece.endsWith(QLatin1Char('\r'))) {
        piece.chop(1);
        m_heldCR = QStringLiteral("\r");
    }
    return true;
}

int TextReader::percentRead() const
{
    return m_file.size() > 0 ? int(m_file.pos() * 100 / m_file.size()) : 100;
}

QByteArray encodeText(const QString &text, const TextFormat &format)
{
    QString withEnds = text;
    if (format.lineEnd != QLatin1String("\n"))
        withEnds.replace(QLatin1Char('\n'), format.lineEnd);
    return format.encoding == TextFormat::Latin1 ? withEnds.toLatin1() : withEnds.toUtf8();
}

bool encodingHolds(TextFormat::Encoding encoding, const QString &text)
{
    if (encoding == TextFormat::Utf8)
        return true;
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xff; });
}

QString encodingName(TextFormat::Encoding encoding)
{
    return encoding == TextFormat::Latin1 ? QStringLiteral("Latin-1") : QStringLiteral("UTF-8");
}

namespace {

QByteArray nativeName(const QString &path)
{
    return QFile::encodeName(path);
}

// A new file gets our user and our group, or the folder's group in a set-group-ID folder.
bool swapKeepsOwner(const struct stat &file, const QString &path)
{
    if (file.st_uid != ::geteuid())
        return false;
    struct stat folder
    {
    };
    const bool inheritsGroup =
        ::stat(nativeName(QFileInfo(path).absolutePath()).constData(), &folder) == 0 &&
        (folder.st_mode & S_ISGID);
    return file.st_gid == (inheritsGroup ? folder.st_gid : ::getegid());
}

enum class Swap { Done, Failed, Refused };

// Writes a new file beside the old one and renames it over it. Refused: nothing was written
// because the folder takes no new file or refuses the rename; the old file is untouched.
Swap swapFile(const QString &path, const QByteArray &bytes, QString &error)
{
    QSaveFile file(path);
    // Unbuffered, so that a full disk is reported by the write that met it, with its reason.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const bool refused = errno == EACCES || errno == EPERM;
        error = file.errorString();
        return refused ? Swap::Refused : Swap::Failed;
    }
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        error = failureReason(file);
        file.cancelWriting();
        return Swap::Failed;
    }
    // commit() flushes, syncs and renames, and fails if any earlier write failed.
    errno = 0;
    if (!file.commit()) {
        error = failureReason(file);
        return file.error() == QFileDevice::RenameError ? Swap::Refused : Swap::Failed;
    }
    error = syncFolder(path);
    return Swap::Done;
}

// Makes room for a file of newSize bytes without changing a byte of its old text. Where the file
// system cannot reserve space, the part of the new text beyond the old end is written first,
// which reserves it as well. On failure the file has its old length again.
QString reserveSpace(int fd, qint64 oldSize, const QByteArray &bytes)
{
    const qint64 newSize = bytes.size();
    if (newSize <= oldSize)
        return {};
    int result = ::fallocate(fd, 0, oldSize, newSize - oldSize);
    if (result != 0 && (errno == EOPNOTSUPP || errno == ENOSYS)) {
        const qint64 tail = newSize - oldSize;
        result = ::pwrite(fd, bytes.constData() + oldSize, size_t(tail), oldSize) == tail ? 0 : -1;
        if (result != 0 && errno == 0)
            errno = ENOSPC;
    }
    if (result == 0)
        return {};
    const QString error = qt_error_string(errno);
    // Only a length that changed is set back: truncating would change the file's time as well.
    struct stat now
    {
    };
    if (::fstat(fd, &now) == 0 && now.st_size != oldSize)
        static_cast<void>(::ftruncate(fd, oldSize));
    return error;
}

QString writeAllAt(int fd, const QByteArray &bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const ssize_t step =
            ::pwrite(fd, bytes.constData() + written, size_t(bytes.size() - written), written);
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0)
            return qt_error_string(step < 0 ? errno : ENOSPC);
        written += step;
    }
    if (::ftruncate(fd, bytes.size()) != 0 || ::fsync(fd) != 0)
        return qt_error_string(errno);
    return {};
}

// The file keeps its inode, owner, links and permissions. Nothing is written before the space
// for the whole new text is reserved.
QString writeInPlace(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(nativeName(path).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return qt_error_string(errno);
    struct stat file
    {
    };
    QString error = ::fstat(fd, &file) != 0 ? qt_error_string(errno) : QString();
    if (error.isEmpty()) {
        error = reserveSpace(fd, file.st_size, bytes);
        // Some file systems stamp the file even when the reservation fails; its owner may set
        // the time back, so that the file looks untouched to backups and other editors.
        const timespec times[2] = {file.st_atim, file.st_mtim};
        if (!error.isEmpty())
            static_cast<void>(::futimens(fd, times));
    }
    if (error.isEmpty())
        error = writeAllAt(fd, bytes);
    if (::close(fd) != 0 && error.isEmpty())
        error = qt_error_string(errno);
    return error;
}

} // namespace

QString writeTextFile(const QString &path, const QByteArray &bytes)
{
    struct stat file
    {
    };
    const bool regular = ::stat(nativeName(path).constData(), &file) == 0 && S_ISREG(file.st_mode);
    if (regular && (file.st_nlink > 1 || !swapKeepsOwner(file, path)))
        return writeInPlace(path, bytes);
    QString error;
    if (swapFile(path, bytes, error) == Swap::Refused && regular)
        return writeInPlace(path, bytes);
    return error;
}

bool FileStamp::operator==(const FileStamp &other) const
{
    return exists == other.exists && size == other.size && modifiedNs == other.modifiedNs &&
           inode == other.inode && device == other.device;
}

FileStamp stampFile(const QString &path)
{
    struct stat file
    {
    };
    FileStamp stamp;
    if (::stat(nativeName(path).constData(), &file) != 0)
        return stamp;
    stamp.exists = true;
    stamp.size = file.st_size;
    stamp.modifiedNs = qint64(file.st_mtim.tv_sec) * 1000000000 + file.st_mtim.tv_nsec;
    stamp.inode = file.st_ino;
    stamp.device = file.st_dev;
    return stamp;
}

} // namespace vantro
