// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formtable.h"

namespace vantro {

// The endings of one declension as the grammars print them: eight rows (nom acc ins dat abl
// gen loc voc) of singular, dual and plural, written in ITRANS with s and r where the pause
// form has a visarga, alternatives joined by commas and "-" where no form is in use:
//   "as au As | am au An | ena AbhyAm ais | ..."
// The bars only guide the eye. Pronouns and irregular words give whole forms on an empty stem.
class EndingTable
{
public:
    explicit EndingTable(const char *rows);

    FormTable applyTo(const SoundString &stem) const;

private:
    std::array<QVarLengthArray<SoundString, 2>, kCaseCount * kNumberCount> m_endings;
};

// The table for the gender asked, applied to the stem.
FormTable applyForGender(Gender gender, const EndingTable &masculine, const EndingTable &feminine,
                         const EndingTable &neuter, const SoundString &stem = {});

// The table written in `*Rows`, read on first use.
template <const char *const *Rows> const EndingTable &endingTable()
{
    static const EndingTable table(*Rows);
    return table;
}

} // namespace vantro
