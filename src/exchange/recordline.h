// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vantro {

// The exchange format of export and import: UTF-8 text, one record a line, the word, the
// meaning and (only when there are synonyms) the synonyms, separated by tabs. Inside a field a
// backslash, tab, line feed, carriage return and NUL are written \\, \t, \n, \r and \0.

// One line, line end included, for a record exactly as stored. Data that the three texts
// cannot reproduce byte for byte (a "|" with nothing after it, a NUL byte) goes whole into the
// meaning field, so that importing the line writes the same bytes again.
QByteArray formatRecordLine(const QByteArray &key, const QByteArray &data);
// The same line appended to out, for a walk over every record.
void appendRecordLine(QByteArray &out, QByteArrayView key, QByteArrayView data);
// A stored key as the word field of a line: what reports print for a word.
QByteArray formatWord(const QByteArray &key);

// For a line whose bytes are already the bytes to store (ASCII without escapes, no capitals in
// the word, two or three fields): where the word and the meaning end (the meaning at the line's
// end when there are no synonyms). False for any other line: parseRecordLine reads those.
bool findPlainFields(QByteArrayView line, qsizetype &wordEnd, qsizetype &meaningEnd);

// Reads one line (its line end removed) into the key and data bytes it stands for, exactly as
// saving the record would store them: the word lower-cased, the synonyms after a "|" only when
// there are any. A refused line comes with the reason in words for the person who wrote it.
// Bulk imports call this for every line twice, so it works on bytes and reuses the capacity of
// key and data.
[[nodiscard]] bool parseRecordLine(QByteArrayView line, QByteArray &key, QByteArray &data,
                                   QString *error);

} // namespace vantro
