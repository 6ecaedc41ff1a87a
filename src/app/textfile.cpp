#include "textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace vantro {

namespace {

QString lineEndOf(const QByteArray &bytes)
{
    const auto end =
        std::find_if(bytes.cbegin(), bytes.cend(), [](char c) { return c == '\n' || c == '\r'; });
    if (end == bytes.cend() || *end == '\n')
        return QStringLiteral("\n");
    return end + 1 != bytes.cend() && end[1] == '\n' ? QStringLiteral("\r\n")
                                                     : QStringLiteral("\r");
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

DecodedText decodeText(const QByteArray &bytes)
{
    DecodedText decoded;
    decoded.hasNul = bytes.contains('\0');
    decoded.format.lineEnd = lineEndOf(bytes);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    decoded.text = utf8(bytes);
    if (utf8.hasError()) {
        decoded.text = QString::fromLatin1(bytes);
        decoded.format.encoding = TextFormat::Latin1;
    }
    return decoded;
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

bool readTextFile(const QString &path, DecodedText &decoded, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    decoded = decodeText(bytes);
    return true;
}

QString writeTextFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    // Unbuffered, so that a full disk is reported by the write that met it, with its reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const QString error = failureReason(file);
        file.cancelWriting();
        return error;
    }
    // commit() flushes, syncs and renames, and fails if any earlier write failed.
    errno = 0;
    if (!file.commit())
        return failureReason(file);
    return syncFolder(path);
}

} // namespace vantro
