// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordline.h"

#include "failure.h"
#include "record.h"

#include <QStringDecoder>

namespace vantro {
namespace {

// Writes straight into the line's own storage: an export formats every record, and a byte-wise
// append costs a capacity check per byte.
void appendEscaped(QByteArray &line, QByteArrayView latin1)
{
    const qsizetype start = line.size();
    line.resize(start + 2 * latin1.size());
    char *to = line.data() + start;
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        const char escape = c == '\\'   ? '\\'
                            : c == '\t' ? 't'
                            : c == '\n' ? 'n'
                            : c == '\r' ? 'r'
                            : c == '\0' ? '0'
                                        : 0;
        if (escape) {
            *to++ = '\\';
            *to++ = escape;
        } else if (byte < 0x80) {
            *to++ = c;
        } else {
            *to++ = char(0xC0 | (byte >> 6));
            *to++ = char(0x80 | (byte & 0x3F));
        }
    }
    line.resize(to - line.constData());
}

// The lower-case form of every Latin-1 byte, taken from the same Unicode rule that stores keys.
struct LowerCaseTable
{
    char lower[256];
    LowerCaseTable()
    {
        for (int byte = 0; byte < 256; ++byte)
            lower[byte] = encodeKey(QString(QChar(byte))).at(0);
    }
};

char unescaped(char code)
{
    switch (code) {
    case '\\':
        return '\\';
    case 't':
        return '\t';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case '0':
        return '\0';
    default:
        return 0x7F;
    }
}

// Why a field that the fast reading gave up on is refused: it is either not UTF-8 at all, or
// UTF-8 for characters beyond Latin-1.
QString whyNotLatin1(QByteArrayView field, const char *name)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(field);
    if (decoder.hasError())
        return QStringLiteral("the %1 is not valid UTF-8 text").arg(QLatin1String(name));
    return QStringLiteral("the %1 holds characters that a dictionary cannot store (only Latin-1 "
                          "is possible)")
        .arg(QLatin1String(name));
}

// Appends one field, unescaped and turned from UTF-8 into Latin-1 bytes (lower-cased for the
// word), to out. Answers the reason when the field is refused.
QString appendField(QByteArrayView field, const char *name, bool lower, QByteArray &out)
{
    static const LowerCaseTable table;
    // Escapes and UTF-8 only ever shorten a field, so its own length is room enough.
    const qsizetype start = out.size();
    out.resize(start + field.size());
    char *to = out.data() + start;
    for (qsizetype i = 0; i < field.size(); ++i) {
        auto byte = static_cast<unsigned char>(field.at(i));
        if (byte == '\\') {
            if (i + 1 == field.size())
                return QStringLiteral("in the %1: a backslash ends the field (write \\\\ for a "
                                      "backslash)")
                    .arg(QLatin1String(name));
            const char code = field.at(++i);
            byte = static_cast<unsigned char>(unescaped(code));
            if (byte == 0x7F)
                return QStringLiteral("in the %1: unknown escape \\%2 (known: \\\\ \\t \\n "
                                      "\\r \\0)")
                    .arg(QLatin1String(name), QString::fromUtf8(field.sliced(i, 1)));
        } else if (byte >= 0x80) {
            // Latin-1 in UTF-8 is two bytes: 0xC2 or 0xC3, then a continuation byte.
            const bool latin1 = (byte == 0xC2 || byte == 0xC3) && i + 1 < field.size() &&
                                (static_cast<unsigned char>(field.at(i + 1)) & 0xC0) == 0x80;
            if (!latin1)
                return whyNotLatin1(field, name);
            byte = static_cast<unsigned char>(((byte & 0x03) << 6) |
                                              (static_cast<unsigned char>(field.at(++i)) & 0x3F));
        }
        *to++ = lower ? table.lower[byte] : char(byte);
    }
    out.resize(to - out.constData());
    return {};
}

} // namespace

// One pass over the line: import calls this for every line of a large file twice, and most
// lines are short, so a loop beats a search per kind of byte.
bool findPlainFields(QByteArrayView line, qsizetype &wordEnd, qsizetype &meaningEnd)
{
    wordEnd = -1;
    meaningEnd = -1;
    const auto *bytes = reinterpret_cast<const unsigned char *>(line.constData());
    for (qsizetype i = 0; i < line.size(); ++i) {
        const unsigned char byte = bytes[i];
        if (byte == '\t') {
            if (meaningEnd >= 0)
                return false;
            (wordEnd < 0 ? wordEnd : meaningEnd) = i;
        } else if (byte >= 0x80 || byte == '\\' || (wordEnd < 0 && unsigned(byte - 'A') < 26u)) {
            return false;
        }
    }
    if (meaningEnd < 0)
        meaningEnd = line.size();
    return wordEnd > 0;
}

void appendRecordLine(QByteArray &out, QByteArrayView key, QByteArrayView data)
{
    // The reading rule splits at the first "|" from position 1 on, and a NUL ends the text it
    // reads; only data that reading gives back whole, with synonyms, is written as two fields.
    const qsizetype bar = data.indexOf(kSynonymSeparator);
    const bool splits = bar >= 1 && bar + 1 < data.size() && !data.contains('\0');
    appendEscaped(out, key);
    out.append('\t');
    if (splits) {
        appendEscaped(out, data.first(bar));
        out.append('\t');
        appendEscaped(out, data.sliced(bar + 1));
    } else {
        appendEscaped(out, data);
    }
    out.append('\n');
}

QByteArray formatRecordLine(const QByteArray &key, const QByteArray &data)
{
    QByteArray line;
    line.reserve(2 * (key.size() + data.size()) + 3);
    appendRecordLine(line, key, data);
    return line;
}

QByteArray formatWord(const QByteArray &key)
{
    QByteArray word;
    appendEscaped(word, key);
    return word;
}

namespace {

// Why a meaning field cannot be stored as written: a "|" in it would be read back as the start
// of the synonyms. Export writes such a "|" only in data it does not split (a leading "|", one
// at the very end, or data with a NUL), always as the line's only text after the word.
QString whyMeaningSplits(QByteArrayView meaning, bool synonymsFollow)
{
    const qsizetype bar = meaning.indexOf(kSynonymSeparator);
    const bool splits =
        synonymsFollow ? bar >= 0 : bar >= 1 && bar + 1 < meaning.size() && !meaning.contains('\0');
    if (!splits)
        return {};
    return QStringLiteral("the meaning holds \"|\", which the dictionary keeps between the meaning "
                          "and the synonyms (give the synonyms as the third field)");
}

} // namespace

bool parseRecordLine(QByteArrayView line, QByteArray &key, QByteArray &data, QString *error)
{
    const qsizetype firstTab = line.indexOf('\t');
    if (firstTab < 0)
        return failWith(error, QStringLiteral("no tab after the word (a line holds word, meaning "
                                              "and optionally synonyms, separated by tabs)"));
    qsizetype secondTab = line.indexOf('\t', firstTab + 1);
    if (secondTab >= 0 && line.indexOf('\t', secondTab + 1) >= 0)
        return failWith(error, QStringLiteral("%1 tab-separated fields, at most 3 are allowed "
                                              "(write \\t for a tab inside a field)")
                                   .arg(line.count('\t') + 1));
    if (secondTab < 0)
        secondTab = line.size();

    qsizetype wordEnd = 0;
    qsizetype meaningEnd = 0;
    if (findPlainFields(line, wordEnd, meaningEnd)) {
        key.resize(0);
        key.append(line.first(wordEnd));
        data.resize(0);
        data.append(line.sliced(wordEnd + 1, meaningEnd - wordEnd - 1));
        if (meaningEnd + 1 < line.size())
            data.append(kSynonymSeparator).append(line.sliced(meaningEnd + 1));
        const QString why = whyMeaningSplits(line.sliced(wordEnd + 1, meaningEnd - wordEnd - 1),
                                             meaningEnd + 1 < line.size());
        return why.isEmpty() || failWith(error, why);
    }
    key.resize(0);
    data.resize(0);
    QString why = appendField(line.first(firstTab), "word", true, key);
    if (why.isEmpty())
        why = appendField(line.sliced(firstTab + 1, secondTab - firstTab - 1), "meaning", false,
                          data);
    if (why.isEmpty())
        why = whyMeaningSplits(data, secondTab + 1 < line.size());
    if (why.isEmpty() && secondTab + 1 < line.size()) {
        data.append(kSynonymSeparator);
        why = appendField(line.sliced(secondTab + 1), "synonyms", false, data);
    }
    if (why.isEmpty() && key.isEmpty())
        why = QStringLiteral("the word is empty");
    return why.isEmpty() || failWith(error, why);
}

} // namespace vantro
