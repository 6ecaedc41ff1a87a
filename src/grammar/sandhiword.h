// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "itranstoken.h"
#include "sandhisound.h"

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

namespace vantro {

// One sound of a word as it will be written: the letter and its ITRANS text, which stays the
// typist's own spelling wherever sandhi leaves the sound alone.
struct SandhiPiece
{
    const Letter *letter = nullptr; // null for the separator "_"
    QStringView text;
    // Put in by a rule, or the first sound after one: the spellings on either side of it may
    // read as one letter ("g" + "h" as "gh"), which the writer prevents with "_".
    bool boundary = false;
};

// A word between blanks as the sandhi rules see it.
class SandhiWord
{
public:
    SandhiWord() = default;
    SandhiWord(QStringView line, const ItransToken *begin, const ItransToken *end);

    // The sound n places from the end or from the start; Kind::None past either end and for
    // "_", so that a typed separator keeps the words apart.
    SandhiSound fromEnd(int n) const;
    SandhiSound fromStart(int n) const;
    // Whether the word as typed is this one (in the scheme's preferred spellings).
    bool is(QStringView itrans) const { return m_name == itrans; }
    bool startsWith(QStringView itrans) const { return m_name.startsWith(itrans); }
    bool startsWithOneOf(std::initializer_list<QStringView> starts) const;
    int size() const { return int(pieces.size()); }

    QVarLengthArray<SandhiPiece, 16> pieces;
    // The ".h" the word ended in, written again only where the final stays as it was.
    QStringView virama;

private:
    QString m_name;
};

} // namespace vantro
