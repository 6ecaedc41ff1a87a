#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace vantro {

// How a text file was stored, so that saving it writes every untouched byte back as it was.
struct TextFormat
{
    enum Encoding { Utf8, Latin1 };

    Encoding encoding = Utf8;
    QString lineEnd = QStringLiteral("\n"); // "\n", "\r\n" or "\r"
    bool mixedLineEnds = false; // the file has other line ends too, which saving changes
};

// What a first reading of a file tells before its text is loaded.
struct TextProbe
{
    TextFormat format;   // UTF-8 when the bytes are valid UTF-8, otherwise Latin-1
    bool hasNul = false; // a NUL byte: the file is not text
};

// Reads the whole file once: its encoding (UTF-8 when valid, otherwise Latin-1, which gives
// every byte a character of its own), the line-end style of its first line end, and whether it
// holds NUL bytes. On failure answers false with the reason in error.
bool probeTextFile(const QString &path, TextProbe &probe, QString &error);

// Reads the file in the given encoding and hands its text to take in pieces of about a
// megabyte, so that the whole text need not be held twice; a byte order mark is kept as a
// character, and a "\r\n" is never split between two pieces.
bool readTextPieces(const QString &path, TextFormat::Encoding encoding,
                    const std::function<void(const QString &)> &take, QString &error);

// The editor's text with "\n" line ends, written in the given format.
QByteArray encodeText(const QString &text, const TextFormat &format);

// Whether every character of the text has a place in the encoding.
bool encodingHolds(TextFormat::Encoding encoding, const QString &text);

QString encodingName(TextFormat::Encoding encoding);

// Replaces the file only once every byte is on disk and the folder records the new name, so a
// failed write or a power cut leaves the old file. Where the folder takes no new file, the file
// is written in place. Answers the reason of a failure, or an empty string.
QString writeTextFile(const QString &path, const QByteArray &bytes);

} // namespace vantro
