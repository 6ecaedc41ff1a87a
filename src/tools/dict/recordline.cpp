#include "recordline.h"

#include <QList>
#include <QStringDecoder>

namespace vantro::dict {
namespace {

void appendEscaped(QByteArray &line, const QByteArray &latin1)
{
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\':
            line.append("\\\\");
            break;
        case '\t':
            line.append("\\t");
            break;
        case '\n':
            line.append("\\n");
            break;
        case '\r':
            line.append("\\r");
            break;
        case '\0':
            line.append("\\0");
            break;
        default:
            if (byte < 0x80) {
                line.append(c);
            } else {
                line.append(char(0xC0 | (byte >> 6)));
                line.append(char(0x80 | (byte & 0x3F)));
            }
        }
    }
}

QChar unescaped(QChar code)
{
    switch (code.unicode()) {
    case '\\':
        return QLatin1Char('\\');
    case 't':
        return QLatin1Char('\t');
    case 'n':
        return QLatin1Char('\n');
    case 'r':
        return QLatin1Char('\r');
    case '0':
        return QChar(0);
    default:
        return QChar(0xFFFF);
    }
}

// Undoes the escapes of one field; answers the reason when an escape is not one of ours.
QString unescapeField(QStringView field, QString &text)
{
    text.clear();
    text.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field.at(i) != QLatin1Char('\\')) {
            text.append(field.at(i));
            continue;
        }
        if (i + 1 == field.size())
            return QStringLiteral("a backslash ends a field (write \\\\ for a backslash)");
        const QChar code = field.at(++i);
        const QChar c = unescaped(code);
        if (c == QChar(0xFFFF))
            return QStringLiteral("unknown escape \\%1 (known: \\\\ \\t \\n \\r \\0)").arg(code);
        text.append(c);
    }
    return {};
}

} // namespace

QByteArray formatRecordLine(const QByteArray &key, const QByteArray &data)
{
    QString meaning;
    QString synonyms;
    decodeData(data.constData(), data.size(), meaning, synonyms);
    const bool splits = !synonyms.isEmpty() && encodeData(meaning, synonyms) == data;

    QByteArray line;
    line.reserve(key.size() + data.size() + 8);
    appendEscaped(line, key);
    line.append('\t');
    if (splits) {
        appendEscaped(line, meaning.toLatin1());
        line.append('\t');
        appendEscaped(line, synonyms.toLatin1());
    } else {
        appendEscaped(line, data);
    }
    line.append('\n');
    return line;
}

QString parseRecordLine(const QByteArray &line, Record &record)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(line);
    if (decoder.hasError())
        return QStringLiteral("not valid UTF-8 text");
    const QList<QStringView> fields = QStringView(text).split(QLatin1Char('\t'));
    if (fields.size() < 2)
        return QStringLiteral("no tab after the word (a line holds word, meaning and "
                              "optionally synonyms, separated by tabs)");
    if (fields.size() > 3)
        return QStringLiteral("%1 tab-separated fields, at most 3 are allowed (write \\t for "
                              "a tab inside a field)")
            .arg(fields.size());

    static const char *const names[] = {"word", "meaning", "synonyms"};
    QString *targets[] = {&record.word, &record.meaning, &record.synonyms};
    record.synonyms.clear();
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString why = unescapeField(fields.at(i), *targets[i]);
        if (!why.isEmpty())
            return QStringLiteral("in the %1: %2").arg(QLatin1String(names[i]), why);
        if (!fitsLatin1(*targets[i]))
            return QStringLiteral("the %1 holds characters that a dictionary cannot store "
                                  "(only Latin-1 is possible)")
                .arg(QLatin1String(names[i]));
    }
    if (record.word.isEmpty())
        return QStringLiteral("the word is empty");
    return {};
}

} // namespace vantro::dict
