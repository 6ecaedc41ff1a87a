// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace vantro {

// The three texts of one dictionary record, as the window and the tools see it.
struct Record
{
    QString word;
    QString meaning;
    QString synonyms;
};

// The byte that separates the meaning from the synonyms in the stored data.
inline constexpr char kSynonymSeparator = '|';

// True when every character of the text has a Latin-1 form, so that encoding it loses nothing.
bool fitsLatin1(const QString &text);

// The stored key of a word: lower-cased, one Latin-1 byte per character, no NUL.
QByteArray encodeKey(const QString &word);

// The stored data: the meaning, then "|" and the synonyms only when there are synonyms.
QByteArray encodeData(const QString &meaning, const QString &synonyms);

QString decodeKey(const char *bytes, qsizetype size);

// Reads stored data back into meaning and synonyms. Decoding stops at a NUL byte, and the data
// is split at the first "|" unless that "|" is its very first character.
void decodeData(const char *bytes, qsizetype size, QString &meaning, QString &synonyms);

// Why the meaning and synonyms would not be read back as they were written (a "|" in the meaning
// splits it, synonyms without a meaning come back as the meaning, a NUL byte ends the data), in
// words for the user; empty when they would.
QString whyNotReadBack(const QString &meaning, const QString &synonyms);

} // namespace vantro
