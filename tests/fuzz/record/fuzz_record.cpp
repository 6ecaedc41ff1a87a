// Any stored data bytes: reading them back must not crash, must stop at a NUL, and writing the
// texts read and reading again must give the same texts. Texts that the reading rule can
// reproduce (no "|" in the meaning, no meaning-less synonyms, no NUL) survive the round trip.
#include "fuzzcheck.h"
#include "record.h"

#include <cstddef>
#include <cstdint>

using namespace vantro;
using vantro::fuzz::require;

namespace {

void checkStoredBytes(const char *bytes, qsizetype size)
{
    QString meaning;
    QString synonyms;
    decodeData(bytes, size, meaning, synonyms);
    const qsizetype nul = QByteArray(bytes, size).indexOf('\0');
    require(meaning.size() + synonyms.size() <= (nul < 0 ? size : nul));
    require(fitsLatin1(meaning) && fitsLatin1(synonyms));
    QString meaningAgain;
    QString synonymsAgain;
    const QByteArray written = encodeData(meaning, synonyms);
    decodeData(written.constData(), written.size(), meaningAgain, synonymsAgain);
    require(meaningAgain == meaning && synonymsAgain == synonyms);
}

void checkTexts(const QString &meaning, const QString &synonyms)
{
    const QByteArray written = encodeData(meaning, synonyms);
    require(written.size() == meaning.size() + (synonyms.isEmpty() ? 0 : 1 + synonyms.size()));
    const bool reproducible = !meaning.contains(u'|') && !meaning.contains(QChar(0)) &&
                              !synonyms.contains(QChar(0)) &&
                              !(meaning.isEmpty() && !synonyms.isEmpty());
    if (!reproducible)
        return;
    QString meaningBack;
    QString synonymsBack;
    decodeData(written.constData(), written.size(), meaningBack, synonymsBack);
    require(meaningBack == meaning && synonymsBack == synonyms);
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
    const char *bytes = reinterpret_cast<const char *>(data);
    checkStoredBytes(bytes, qsizetype(size));
    const qsizetype half = qsizetype(size) / 2;
    const QString meaning = QString::fromLatin1(bytes, half);
    const QString synonyms = QString::fromLatin1(bytes + half, qsizetype(size) - half);
    checkTexts(meaning, synonyms);
    checkKey(meaning);
    checkKey(QString::fromUtf8(bytes, qsizetype(size)));
    return 0;
}
