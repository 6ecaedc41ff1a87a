// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paradigm.h"
#include "soundstring.h"

#include <QVarLengthArray>

#include <array>

namespace vantro {

// A paradigm while it is being made: the forms as sounds, not yet in their pause form, so that
// a stem type can still put alternatives in or take cells out.
class FormTable
{
public:
    using Forms = QVarLengthArray<SoundString, 2>;

    Forms &at(GrammaticalCase c, GrammaticalNumber n) { return m_cells[index(c, n)]; }
    const Forms &at(GrammaticalCase c, GrammaticalNumber n) const { return m_cells[index(c, n)]; }
    Forms &at(int cell) { return m_cells[std::size_t(cell)]; }

    void set(GrammaticalCase c, GrammaticalNumber n, const SoundString &form);
    void add(GrammaticalCase c, GrammaticalNumber n, const SoundString &form);
    void clear(GrammaticalCase c, GrammaticalNumber n) { at(c, n).clear(); }
    // The vocative dual and plural are the nominative's in every declension.
    void vocativeDualAndPluralFromNominative();
    void clearVocative();

    // Each form in its pause form and in ITRANS, alternatives after the first, none twice.
    NounParadigm render() const;

private:
    static std::size_t index(GrammaticalCase c, GrammaticalNumber n)
    {
        return std::size_t(static_cast<int>(c) * kNumberCount + static_cast<int>(n));
    }

    std::array<Forms, kCaseCount * kNumberCount> m_cells;
};

} // namespace vantro
