// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes in: the converter, the reverse reader and the lint must not crash, and everything
// they write must be valid UTF-8.
#include "fuzzcheck.h"
#include "itranslinter.h"
#include "linetransliterator.h"
#include "transliterate.h"

#include <cstddef>
#include <cstdint>

using namespace vantro;
using vantro::fuzz::require;

namespace {

void requireValidUtf8(const QString &text)
{
    // A lone surrogate would not survive the trip through UTF-8.
    require(QString::fromUtf8(text.toUtf8()) == text);
}

// Without "##" in the text every Devanagari result reads back to itself through ITRANS.
void requireRoundTrip(const QString &devanagari, TranslitOptions options)
{
    const QString itrans = devanagariToItrans(devanagari, options);
    requireValidUtf8(itrans);
    require(devanagari.contains(u'#') || itransToDevanagari(itrans, options) ==
                                             devanagari.normalized(QString::NormalizationForm_C));
}

// The whole text's conversion is valid UTF-8, and converting a line at a time, as the tool
// does, gives the same.
void requireSameByLines(const QString &text, Script target, TranslitOptions options,
                        const QString &whole)
{
    requireValidUtf8(whole);
    LineTransliterator converter(target, options);
    QString byLines;
    for (qsizetype start = 0, end = 0; start < text.size(); start = end) {
        end = text.indexOf(u'\n', start);
        end = end < 0 ? text.size() : end + 1;
        byLines += converter.convert(QStringView(text).mid(start, end - start));
    }
    require(byLines == whole);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    for (const FinalConsonant policy : {FinalConsonant::Virama, FinalConsonant::Explicit}) {
        const TranslitOptions options{policy};
        const QString devanagari = itransToDevanagari(text, options);
        requireRoundTrip(devanagari, options);
        requireSameByLines(text, Script::Devanagari, options, devanagari);
        requireSameByLines(text, Script::Iast, options, itransToIast(text, options));
        requireSameByLines(text, Script::Itrans, options, devanagariToItrans(text, options));
    }
    for (const LintFinding &finding : ItransLinter().lint(text)) {
        require(finding.line >= 1 && finding.column >= 1);
        requireValidUtf8(finding.message);
    }
    return 0;
}
