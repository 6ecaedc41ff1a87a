// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes opened as an English or ITRANS document: the window's loader probes the file, reads
// it a piece at a time and, unchanged, writes it back byte for byte; the word rules applied to
// the text must not crash, the word under any position is a run of letters of the text around
// that position, and the lemma rules give other words.
#include "englishlemma.h"
#include "fuzzcheck.h"
#include "textfile.h"
#include "wordat.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <unistd.h>

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

// The text as the loader reads it, piece by piece, from a file holding bytes.
QString loadedText(const QByteArray &bytes, TextFormat &format)
{
    static const QString path =
        QDir::temp().filePath(QStringLiteral("fuzz_textload.%1").arg(::getpid()));
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
            file.write(bytes) == bytes.size());
    file.close();
    TextProbe probe;
    QString error;
    require(probeTextFile(path, probe, error));
    format = probe.format;
    TextReader reader(path, format.encoding);
    require(reader.open(error));
    QString text, piece;
    while (!reader.atEnd()) {
        require(reader.read(piece, error));
        text += piece;
    }
    return text;
}

// An untouched text goes back to the same bytes: the probe's encoding holds every byte, and
// where the file has one kind of line end, the editor's "\n" is written back as that one.
void checkRoundTrip(const QByteArray &bytes, const QString &text, const TextFormat &format)
{
    require((format.encoding == TextFormat::Utf8 ? text.toUtf8() : text.toLatin1()) == bytes);
    if (format.mixedLineEnds)
        return;
    QString editorText = text;
    editorText.replace(format.lineEnd, QStringLiteral("\n"));
    require(encodeText(editorText, format) == bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    TextFormat format;
    const QString text = loadedText(bytes, format);
    checkRoundTrip(bytes, text, format);
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
    return 0;
}
