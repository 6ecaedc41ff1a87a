#pragma once

#include "scheme.h"

#include <QStringView>
#include <QVector>

namespace vantro {

// A piece of ITRANS text as the greedy reader sees it. Positions index the source text.
struct ItransToken
{
    enum class Kind {
        Letter,    // a spelling from the scheme
        Separator, // "_": keeps two spellings apart, writes nothing
        Verbatim,  // the text between "##" markers, markers excluded
        Other,     // one character that is not ITRANS, passed through
    };
    Kind kind = Kind::Other;
    Spelling spelling;
    int position = 0;
    int length = 0;

    bool isLetter() const { return kind == Kind::Letter; }
    const Letter *letter() const { return spelling.letter; }
};

// Splits ITRANS text into tokens, longest spelling first; an unclosed "##" runs to the end.
QVector<ItransToken> tokenizeItrans(QStringView text);

// Whether text ends inside a "##" fence, as the tokenizer reads it.
bool leavesFenceOpen(QStringView text);

} // namespace vantro
