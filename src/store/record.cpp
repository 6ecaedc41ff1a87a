// SPDX-License-Identifier: GPL-3.0-or-later
#include "record.h"

#include <algorithm>
#include <cstring>

namespace vantro {

bool fitsLatin1(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
}

QByteArray encodeKey(const QString &word)
{
    return word.toLower().toLatin1();
}

QByteArray encodeData(const QString &meaning, const QString &synonyms)
{
    QByteArray data = meaning.toLatin1();
    if (!synonyms.isEmpty()) {
        data.append(kSynonymSeparator);
        data.append(synonyms.toLatin1());
    }
    return data;
}

QString decodeKey(const char *bytes, qsizetype size)
{
    return QString::fromLatin1(bytes, size);
}

void decodeData(const char *bytes, qsizetype size, QString &meaning, QString &synonyms)
{
    const void *nul = size > 0 ? std::memchr(bytes, '\0', size_t(size)) : nullptr;
    const qsizetype length = nul ? static_cast<const char *>(nul) - bytes : size;
    const QString text = QString::fromLatin1(bytes, length);
    const qsizetype bar = text.indexOf(QLatin1Char(kSynonymSeparator));
    if (bar >= 1) {
        meaning = text.left(bar);
        synonyms = text.mid(bar + 1);
    } else {
        meaning = text;
        synonyms.clear();
    }
}

QString whyNotReadBack(const QString &meaning, const QString &synonyms)
{
    // A danda pasted from Devanagari text is the one such character a translator types often;
    // it gets the advice "|" gets, before any question.
    const auto holdsDanda = [](const QString &text) {
        return text.contains(QChar(0x0964)) || text.contains(QChar(0x0965));
    };
    if (holdsDanda(meaning) || holdsDanda(synonyms))
        return QStringLiteral("the %1 a Devanagari danda (\u0964 or \u0965), which the "
                              "dictionary cannot store; write a danda in a meaning as \";\"")
            .arg(holdsDanda(meaning) ? QStringLiteral("meaning holds")
                                     : QStringLiteral("synonyms hold"));
    // Characters without a Latin-1 form are refused by the store with a reason of their own.
    if (!fitsLatin1(meaning) || !fitsLatin1(synonyms))
        return {};
    const QByteArray data = encodeData(meaning, synonyms);
    QString readMeaning;
    QString readSynonyms;
    decodeData(data.constData(), data.size(), readMeaning, readSynonyms);
    if (readMeaning == meaning && readSynonyms == synonyms)
        return {};
    if (meaning.contains(QLatin1Char(kSynonymSeparator)))
        return QStringLiteral("the meaning holds \"|\", which the dictionary keeps between the "
                              "meaning and the synonyms; write a danda in a meaning as \";\"");
    if (meaning.isEmpty())
        return QStringLiteral("synonyms without a meaning would be read back as the meaning; "
                              "give the record a meaning");
    return QStringLiteral("the meaning or the synonyms hold a NUL character");
}

} // namespace vantro
