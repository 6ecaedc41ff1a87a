// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes loaded as an English or ITRANS text: decoding them as the locale's text and
// applying the word rules must not crash; the word under any position is a run of letters
// of the text around that position, and the lemma rules give other words.
#include "englishlemma.h"
#include "fuzzcheck.h"
#include "search.h"

#include <QString>

#include <cstddef>
#include <cstdint>

using namespace vantro;
using vantro::fuzz::require;

namespace {

void checkWordAt(const QString &text, int position)
{
    const QString word = wordAt(text, position);
    if (word.isEmpty())
        return;
    require(text.at(position).isLetter());
    for (const QChar c : word)
        require(c.isLetter());
    require(text.indexOf(word) >= 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text =
        QString::fromLocal8Bit(reinterpret_cast<const char *>(data), qsizetype(size));
    // Every position in a short text; a sample in a long one.
    const int step = text.size() > 512 ? int(text.size() / 256) : 1;
    for (int position = -1; position <= text.size(); position += step)
        checkWordAt(text, position);
    // The look-up's lemmas of any word are other words, and relating them ends.
    static const EnglishLemmas lemmas{QString()};
    const QString word = wordAt(text, int(text.size() / 2)).toLower();
    for (const QString &lemma : lemmas.lemmasOf(word)) {
        require(!lemma.isEmpty() && lemma != word);
        require(lemmas.relates(word, lemma));
    }
    // Saving the text again writes bytes that decode to the same text.
    require(QString::fromLocal8Bit(text.toLocal8Bit()) == text);
    return 0;
}
