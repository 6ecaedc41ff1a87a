// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sandhiword.h"

#include <QVarLengthArray>

#include <initializer_list>

namespace vantro {

// One permitted way of joining two words: sounds taken off the end of the first and the start
// of the second, the letters put in their place, and whether the two are then written as one
// word (as Devanagari writes a final consonant with what follows) or stay apart.
struct SandhiJoin
{
    enum class Written { Apart, AsOne };

    int dropLeft = 0;
    QVarLengthArray<const Letter *, 3> addLeft;
    int dropRight = 0;
    QVarLengthArray<const Letter *, 3> addRight;
    Written written = Written::Apart;
};

using SandhiJoins = QVarLengthArray<SandhiJoin, 4>;

// Every join the grammar permits between left and right, the usual one first; where no rule
// applies, the one join that changes nothing.
SandhiJoins sandhiJoins(const SandhiWord &left, const SandhiWord &right);

// The rules by the sound that ends the first word; each returns at least one join.
namespace sandhi {

using Letters = std::initializer_list<const Letter *>;
using Written = SandhiJoin::Written;
using S = SandhiSound;

inline const SandhiSounds &sounds()
{
    return SandhiSounds::instance();
}

SandhiJoin unchanged();
SandhiJoin join(int dropLeft, Letters addLeft, int dropRight, Letters addRight, Written written);

SandhiJoins afterVowel(const SandhiWord &left, const SandhiWord &right);
SandhiJoins afterVisarga(const SandhiWord &left, const SandhiWord &right);
SandhiJoins afterR(const SandhiWord &left, const SandhiWord &right);
SandhiJoins afterStop(const SandhiWord &left, const SandhiWord &right);
SandhiJoins afterNasal(const SandhiWord &left, const SandhiWord &right);
SandhiJoins afterAnusvara(const SandhiWord &left, const SandhiWord &right);

} // namespace sandhi

} // namespace vantro
