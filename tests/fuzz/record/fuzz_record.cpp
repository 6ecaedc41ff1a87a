// SPDX-License-Identifier: GPL-3.0-or-later
// Any stored data bytes: reading them back must not crash, must stop at a NUL, and writing the
// texts read and reading again must give the same texts. Texts that the reading rule can
// reproduce (no "|" in the meaning, no meaning-less synonyms, no NUL) survive the round trip.
#include "fuzzcheck.h"
#include "record.h"

#include <cstddef>
#include <cstdint>
#include <utility>

using namespace vantro;
using vantro::fuzz::require;

namespace {

std::pair<QString, QString> decoded(const QByteArray &bytes)
{
    std::pair<QString, QString> texts;
    decodeData(bytes.constData(), bytes.size(), texts.first, texts.second);
    return texts;
}

void checkKey(const QString &word)
{
    // Lower-casing may lengthen a word (U+0130 becomes i and a combining dot); a Latin-1 word,
    // the only kind the store accepts, keeps its length and reads back lower-cased.
    const QByteArray key = encodeKey(word);
    require(key.size() == word.toLower().size());
    if (fitsLatin1(word)) {
        require(key.size() == word.size());
        require(decodeKey(key.constData(), key.size()) == word.toLower());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto stored = decoded(bytes);
    const qsizetype nul = bytes.indexOf('\0');
    require(stored.first.size() + stored.second.size() <= (nul < 0 ? bytes.size() : nul));
    require(fitsLatin1(stored.first) && fitsLatin1(stored.second));
    require(decoded(encodeData(stored.first, stored.second)) == stored);

    const QString meaning = QString::fromLatin1(bytes.left(bytes.size() / 2));
    const QString synonyms = QString::fromLatin1(bytes.mid(bytes.size() / 2));
    const QByteArray written = encodeData(meaning, synonyms);
    require(written.size() == meaning.size() + (synonyms.isEmpty() ? 0 : 1 + synonyms.size()));
    const bool reproducible = !meaning.contains(u'|') && !meaning.contains(QChar(0)) &&
                              !synonyms.contains(QChar(0)) &&
                              !(meaning.isEmpty() && !synonyms.isEmpty());
    require(!reproducible || decoded(written) == std::pair{meaning, synonyms});
    checkKey(meaning);
    checkKey(QString::fromUtf8(bytes));
    return 0;
}
