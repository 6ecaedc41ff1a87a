// SPDX-License-Identifier: GPL-3.0-or-later
// Sandhi after a word that ends in a vowel.
#include "sandhirules.h"

#include "sandhiwordgroups.h"

namespace vantro::sandhi {

namespace {

// Words whose final vowel never joins the next (pragrhya): the particles of one vowel, those
// in o, amI and amU, and the forms that can only be duals.
bool isPragrhya(const SandhiWord &word)
{
    return inSandhiGroup(SandhiWordGroup::Pragrhya, word);
}

// A final I, U or e is pragrhya when the word is a dual ("kavI", "sAdhU", "phale"), which the
// letters alone cannot tell: the hiatus is offered after the usual join, or before it where the
// next word is a dual pronoun that agrees with it (harI etau, viShNU imau, ga~Nge amU).
bool mayBeDual(const SandhiWord &word)
{
    const S last = word.fromEnd(0);
    return word.size() > 1 && ((last.isLong && (last.quality == S::I || last.quality == S::U)) ||
                               last.quality == S::E);
}

// ete and ime are also plural, but after a word that may be a dual they agree with it as one.
bool isDualPronoun(const SandhiWord &word)
{
    return inSandhiGroup(SandhiWordGroup::DualPronoun, word);
}

// a or A with any vowel: like vowels lengthen, i u R L give guna, the diphthongs vrddhi.
SandhiJoin aWithVowel(const S &second)
{
    const auto *s = &sounds();
    switch (second.quality) {
    case S::A:
        return join(1, {s->vowel(S::A, true)}, 1, {}, Written::AsOne);
    case S::I:
        return join(1, {s->vowel(S::E)}, 1, {}, Written::AsOne);
    case S::U:
        return join(1, {s->vowel(S::O)}, 1, {}, Written::AsOne);
    case S::R:
        return join(1, {s->vowel(S::A)}, 1, {s->semivowel(Place::Retroflex)}, Written::AsOne);
    case S::L:
        return join(1, {s->vowel(S::A)}, 1, {s->semivowel(Place::Dental)}, Written::AsOne);
    case S::E:
    case S::Ai:
        return join(1, {s->vowel(S::Ai)}, 1, {}, Written::AsOne);
    default:
        return join(1, {s->vowel(S::Au)}, 1, {}, Written::AsOne);
    }
}

// The words with which a or A makes vrddhi where guna or a long vowel would be the rule:
// svairaH, akShauhiNI, prauDhaH, praiShaH; a prefix in a before a verb in R^i (prArchChati);
// R^iNa "debt" after pra, dasha and the like (prArNam, dashArNam); R^ita "struck" after
// the word of what strikes (shItArtaH).
bool takesVrddhi(const SandhiWord &left, const SandhiWord &right)
{
    if (inSandhiGroup(SandhiWordGroup::PrefixInA, left) && right.startsWith(u"R^i"))
        return true;
    return inSandhiGroup(SandhiWordGroup::VrddhiWithNext, left, right);
}

// A prefix in a before a verb in e or o is taken in by it (prejate, upoShati), except before
// the forms of i "go" and edh "grow" (upaiti, praidhate); the nouns above take vrddhi too, and
// so does eva after ava "protect!".
bool takesPararupa(const SandhiWord &left, const SandhiWord &right)
{
    if (!inSandhiGroup(SandhiWordGroup::PrefixInA, left) || takesVrddhi(left, right))
        return false;
    const S second = right.fromStart(0);
    return (second.quality == S::E &&
            !inSandhiGroup(SandhiWordGroup::VrddhiAfterPrefixInA, right)) ||
           second.quality == S::O;
}

SandhiJoin vrddhi(const S &second)
{
    const auto *s = &sounds();
    if (second.quality == S::I)
        return join(1, {s->vowel(S::Ai)}, 1, {}, Written::AsOne);
    if (second.quality == S::U)
        return join(1, {s->vowel(S::Au)}, 1, {}, Written::AsOne);
    if (second.quality == S::R)
        return join(1, {s->vowel(S::A, true)}, 1, {s->semivowel(Place::Retroflex)}, Written::AsOne);
    return aWithVowel(second);
}

// a or A where the words decide: before om the a goes (shivAyom), as it does in the prefixes
// above, and with the words above it makes vrddhi.
SandhiJoin aBeforeVowel(const SandhiWord &left, const SandhiWord &right)
{
    if (inSandhiGroup(SandhiWordGroup::TakeInABefore, right) || takesPararupa(left, right))
        return join(1, {}, 0, {}, Written::AsOne);
    const S second = right.fromStart(0);
    return takesVrddhi(left, right) ? vrddhi(second) : aWithVowel(second);
}

// i u R L: the long vowel with its like, else the semivowel of its place before the vowel.
SandhiJoin simpleVowelWithVowel(const S &first, const S &second)
{
    const bool rAndL = (first.quality == S::R || first.quality == S::L) &&
                       (second.quality == S::R || second.quality == S::L);
    // R^i and L^i count as like vowels: hotR^i L^ikAraH is hotR^IkAraH.
    if (first.quality == second.quality || rAndL)
        return join(1, {sounds().vowel(first.quality, true)}, 1, {}, Written::AsOne);
    // A vowel's place is that of its semivowel; a has none: the velar row of the semivowels is
    // empty.
    return join(1, {sounds().semivowel(placeOf(first.quality))}, 0, {}, Written::AsOne);
}

// e o ai au become ay av Ay Av; the y of ay and Ay and the v of av are usually dropped,
// leaving the two vowels apart, while Av usually stays. e and o take in a following a, which
// the avagraha marks.
SandhiJoins diphthongWithVowel(const S &first, const S &second)
{
    const auto *s = &sounds();
    const bool e = first.quality == S::E || first.quality == S::Ai;
    const Letter *semivowel = s->semivowel(e ? Place::Palatal : Place::Labial);
    if ((first.quality == S::E || first.quality == S::O) && second.quality == S::A &&
        !second.isLong)
        return {join(0, {}, 1, {s->avagraha()}, Written::AsOne)};
    const Letter *a = s->vowel(S::A, first.quality == S::Ai || first.quality == S::Au);
    const SandhiJoin dropped = join(1, {a}, 0, {}, Written::Apart);
    const SandhiJoin kept = join(1, {a, semivowel}, 0, {}, Written::AsOne);
    if (first.quality == S::Au)
        return {kept, dropped};
    return {dropped, kept};
}

// Before a short R^i a final a, i, u or R^i may also stay apart, a long one shortened
// (brahma R^iShiH beside brahmarShiH), except where the words ask for vrddhi.
bool mayStayApartBeforeR(const SandhiWord &left, const SandhiWord &right)
{
    const S first = left.fromEnd(0);
    const S second = right.fromStart(0);
    return first.isSimpleVowel() && second.quality == S::R && !second.isLong &&
           !(first.quality == S::A && takesVrddhi(left, right));
}

// go "cow" becomes gava before indra (gavendraH); before a it may also become gava or stay
// apart (go.agram, gavAgram, go agram). Before other vowels it joins as any o.
SandhiJoins goWithVowel(const SandhiWord &right)
{
    const auto *s = &sounds();
    const Letter *a = s->vowel(S::A);
    const Letter *v = s->semivowel(Place::Labial);
    if (right.startsWith(u"indr"))
        return {join(1, {a, v, s->vowel(S::E)}, 1, {}, Written::AsOne)};
    const S second = right.fromStart(0);
    if (second.quality != S::A || second.isLong)
        return diphthongWithVowel(s->of(s->vowel(S::O)), second);
    return {join(0, {}, 1, {s->avagraha()}, Written::AsOne),
            join(1, {a, v, s->vowel(S::A, true)}, 1, {}, Written::AsOne), unchanged()};
}

SandhiJoins vowelWithVowel(const SandhiWord &left, const SandhiWord &right)
{
    if (isPragrhya(left))
        return {unchanged()};
    if (left.is(u"go"))
        return goWithVowel(right);
    const S first = left.fromEnd(0);
    const S second = right.fromStart(0);
    SandhiJoins joins;
    if (first.quality == S::A)
        joins.append(aBeforeVowel(left, right));
    else if (first.isSimpleVowel())
        joins.append(simpleVowelWithVowel(first, second));
    else
        joins = diphthongWithVowel(first, second);
    if (mayStayApartBeforeR(left, right))
        joins.append(join(1, {sounds().vowel(first.quality)}, 0, {}, Written::Apart));
    if (mayBeDual(left))
        joins.insert(isDualPronoun(right) ? 0 : joins.size(), unchanged());
    return joins;
}

bool startsWithCh(const SandhiWord &word)
{
    const S first = word.fromStart(0);
    return first.is(S::Kind::Stop) && first.place == Place::Palatal && !first.voiced &&
           first.aspirated;
}

} // namespace

// Ch doubles to chCh after a short vowel and after the particles A and mA; after any other
// long vowel the doubling is optional. The ch put in closes the first word's last syllable, so
// the two are written as one (tavachChAyA, mAchChinddhi), as the editions print them.
SandhiJoins afterVowel(const SandhiWord &left, const SandhiWord &right)
{
    if (right.fromStart(0).isVowel())
        return vowelWithVowel(left, right);
    if (!startsWithCh(right))
        return {unchanged()};
    const SandhiJoin doubled =
        join(0, {}, 0, {sounds().stop(Place::Palatal, false)}, Written::AsOne);
    const S last = left.fromEnd(0);
    if ((last.isSimpleVowel() && !last.isLong) ||
        inSandhiGroup(SandhiWordGroup::ChDoubledAfter, left))
        return {doubled};
    return {unchanged(), doubled};
}

} // namespace vantro::sandhi
