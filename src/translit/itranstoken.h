// SPDX-License-Identifier: GPL-3.0-or-later
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

// Reads ITRANS text a token at a time, longest spelling first; an unclosed "##" runs to the
// end. The writers take the tokens as they come, so a long text needs no list of them.
class ItransTokenizer
{
public:
    explicit ItransTokenizer(QStringView text);
    bool next(ItransToken *token);

private:
    QStringView m_text;
    int m_position = 0;
    bool m_afterConsonant = false;
};

// All the tokens of a text at once, for those that look back and ahead (the lint).
QVector<ItransToken> tokenizeItrans(QStringView text);

// Whether text ends inside a "##" fence, as the tokenizer reads it.
bool leavesFenceOpen(QStringView text);

} // namespace vantro
