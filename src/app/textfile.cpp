// SPDX-License-Identifier: GPL-3.0-or-later
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
    const bool read = forEachPiece(
        path,
        [&](const QByteArray &piece) {
            hasNul = hasNul || piece.contains('\0');
            lineEnds.scan(piece);
            if (!utf8.hasError())
                static_cast<void>(QString(utf8(piece))); // it decodes into a string only
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
