// SPDX-License-Identifier: GPL-3.0-or-later
#include "sandhirules.h"

#include "sandhiwordgroups.h"

namespace vantro {

using Kind = SandhiSound::Kind;

namespace {

// Prefixes typed apart belong to the word after them and are written with it whatever the
// join: "niH rasaH" is nIrasaH, not nI rasaH.
bool isPrefix(const SandhiWord &word)
{
    return inSandhiGroup(SandhiWordGroup::WrittenWithNext, word);
}

SandhiJoins joinsByFinal(const SandhiWord &left, const SandhiWord &right);

} // namespace

SandhiJoins sandhiJoins(const SandhiWord &left, const SandhiWord &right)
{
    SandhiJoins joins = joinsByFinal(left, right);
    if (isPrefix(left) && right.fromStart(0).kind != Kind::None)
        for (SandhiJoin &join : joins)
            join.written = SandhiJoin::Written::AsOne;
    return joins;
}

namespace {

SandhiJoins joinsByFinal(const SandhiWord &left, const SandhiWord &right)
{
    const SandhiSound last = left.fromEnd(0);
    const SandhiSound first = right.fromStart(0);
    if (!first.isVowel() && !first.isConsonant())
        return {sandhi::unchanged()};
    if (last.conjunct)
        return {sandhi::unchanged()};
    switch (last.kind) {
    case Kind::Vowel:
        return sandhi::afterVowel(left, right);
    case Kind::Visarga:
        return sandhi::afterVisarga(left, right);
    case Kind::Semivowel:
        if (last.place == Place::Retroflex && left.fromEnd(1).isVowel())
            return sandhi::afterR(left, right);
        break;
    case Kind::Stop:
        return sandhi::afterStop(left, right);
    case Kind::Nasal:
        return sandhi::afterNasal(left, right);
    case Kind::Anusvara:
        return sandhi::afterAnusvara(left, right);
    default:
        break;
    }
    return {sandhi::unchanged()};
}

} // namespace

namespace sandhi {

SandhiJoin unchanged()
{
    return {};
}

SandhiJoin join(int dropLeft, Letters addLeft, int dropRight, Letters addRight, Written written)
{
    SandhiJoin result;
    result.dropLeft = dropLeft;
    result.addLeft.append(addLeft.begin(), int(addLeft.size()));
    result.dropRight = dropRight;
    result.addRight.append(addRight.begin(), int(addRight.size()));
    result.written = written;
    return result;
}

} // namespace sandhi

} // namespace vantro
