#pragma once

#include <QByteArray>
#include <QString>

namespace vantro {

// How a text file was stored, so that saving it writes every untouched byte back as it was.
struct TextFormat
{
    enum Encoding { Utf8, Latin1 };

    Encoding encoding = Utf8;
    QString lineEnd = QStringLiteral("\n"); // "\n", "\r\n" or "\r"
};

struct DecodedText
{
    QString text; // line ends as in the file; the editor takes any of the three
    TextFormat format;
    bool hasNul = false; // a NUL byte: the file is not text
};

// UTF-8 when the bytes are valid UTF-8 (a byte order mark is kept as a character), otherwise
// Latin-1, which gives every byte a character of its own. The line-end style is that of the
// first line end in the file.
DecodedText decodeText(const QByteArray &bytes);

// The editor's text with "\n" line ends, written in the given format.
QByteArray encodeText(const QString &text, const TextFormat &format);

// Whether every character of the text has a place in the encoding.
bool encodingHolds(TextFormat::Encoding encoding, const QString &text);

QString encodingName(TextFormat::Encoding encoding);

// Reads a whole file; on failure answers false with the reason in error.
bool readTextFile(const QString &path, DecodedText &decoded, QString &error);

// Replaces the file only once every byte is on disk and the folder records the new name, so a
// failed write or a power cut leaves the old file. Where the folder takes no new file, the file
// is written in place. Answers the reason of a failure, or an empty string.
QString writeTextFile(const QString &path, const QByteArray &bytes);

} // namespace vantro
