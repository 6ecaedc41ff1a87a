// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>

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
    // U+2029, U+FDD0 or U+FDD1: the editor holds them as paragraph and frame breaks, and gives
    // them back as line ends.
    bool editorBreaks = false;
};

// Reads the whole file once: its encoding (UTF-8 when valid, otherwise Latin-1, which gives
// every byte a character of its own), the line-end style of its first line end, and whether it
// holds NUL bytes. On failure answers false with the reason in error.
bool probeTextFile(const QString &path, TextProbe &probe, QString &error);

// Reads a file's text in the given encoding a piece at a time, so that the whole text need not
// be held twice; a byte order mark is kept as a character, and a "\r\n" is never split between
// two pieces.
class TextReader
{
public:
    TextReader(const QString &path, TextFormat::Encoding encoding);

    // False with the reason when the file cannot be opened.
    bool open(QString &error);
    // The next piece of the text; false with the reason when the file cannot be read.
    bool read(QString &piece, QString &error);
    bool atEnd() const { return m_file.atEnd() && m_heldCR.isEmpty(); }
    int percentRead() const;

private:
    QFile m_file;
    TextFormat::Encoding m_encoding;
    QStringDecoder m_utf8;
    QString m_heldCR;
};

// The editor's text with "\n" line ends, written in the given format.
QByteArray encodeText(const QString &text, const TextFormat &format);

// Whether every character of the text has a place in the encoding.
bool encodingHolds(TextFormat::Encoding encoding, const QString &text);

QString encodingName(TextFormat::Encoding encoding);

// Replaces the file only once every byte is on disk and the folder records the new name, so a
// failed write or a power cut leaves the old file. Where a new file cannot take the old one's
// place (the folder takes no new file or refuses the rename, the file has other names, or a new
// file would have another owner), the file is written in place once the space for the new text
// is reserved, so that a full disk leaves it as it was. Answers the reason of a failure, or an
// empty string.
QString writeTextFile(const QString &path, const QByteArray &bytes);

// What a file was when it was last read or written here, to notice another program's changes.
struct FileStamp
{
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 inode = 0;
    quint64 device = 0;

    bool operator==(const FileStamp &other) const;
    bool operator!=(const FileStamp &other) const { return !(*this == other); }
};

FileStamp stampFile(const QString &path);

} // namespace vantro
