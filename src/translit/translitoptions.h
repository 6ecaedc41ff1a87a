// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vantro {

// What happens to a consonant at the end of a word (before a space, punctuation, a sign or the
// end of the text) when no vowel follows it.
enum class FinalConsonant {
    // It takes a virama: "vAk" gives वाक्. ITRANS has always read a bare consonant this way and
    // Sanskrit needs it, so this is the default.
    Virama,
    // It keeps its inherent vowel, and only an explicit ".h" writes the virama: "rAm" gives
    // राम, "vAk.h" gives वाक्. Convenient for Hindi, where the final a is silent.
    Explicit,
};

struct TranslitOptions
{
    FinalConsonant finalConsonant = FinalConsonant::Virama;
};

} // namespace vantro
