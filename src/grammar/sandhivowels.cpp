// SPDX-License-Identifier: GPL-3.0-or-later
// Sandhi after a word that ends in a vowel.
#include "sandhirules.h"

namespace vantro::sandhi {

namespace {

// Words whose final vowel never joins the next (pragrhya): the particles of one vowel, those
// in o, amI and amU, and the forms that can only be duals.
bool isPragrhya(const SandhiWord &word)
{
    return word.isOneOf({u"a", u"i", u"u", u"U", u"e", u"o", u"aho", u"atho", u"utAho", u"amI",
                         u"amU", u"ubhe", u"dve"});
}

// A final I, U or e is pragrhya when the word is a dual ("kavI", "sAdhU", "phale"), which the
// letters alone cannot tell: the hiatus is offered after the usual join.
bool mayBeDual(const SandhiWord &word)
{
    const S last = word.fromEnd(0);
    return word.size() > 1 && ((last.isLong && (last.quality == S::I || last.quality == S::U)) ||
                               last.quality == S::E);
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
        return join(1, {s->vowel(S::A)}, 1, {s->semivowel(S::Retroflex)}, Written::AsOne);
    case S::L:
        return join(1, {s->vowel(S::A)}, 1, {s->semivowel(S::Dental)}, Written::AsOne);
    case S::E:
    case S::Ai:
        return join(1, {s->vowel(S::Ai)}, 1, {}, Written::AsOne);
    default:
        return join(1, {s->vowel(S::Au)}, 1, {}, Written::AsOne);
    }
}

// i u R L: the long vowel with its like, else the semivowel of its place before the vowel.
SandhiJoin simpleVowelWithVowel(const S &first, const S &second)
{
    if (first.quality == second.quality)
        return join(1, {sounds().vowel(first.quality, true)}, 1, {}, Written::AsOne);
    static const quint8 places[] = {0, S::Palatal, S::Labial, S::Retroflex, S::Dental};
    return join(1, {sounds().semivowel(places[first.quality])}, 0, {}, Written::AsOne);
}

// e o ai au become ay av Ay Av; the y of ay and Ay and the v of av are usually dropped,
// leaving the two vowels apart, while Av usually stays. e and o take in a following a, which
// the avagraha marks.
SandhiJoins diphthongWithVowel(const S &first, const S &second)
{
    const auto *s = &sounds();
    const bool e = first.quality == S::E || first.quality == S::Ai;
    const Letter *semivowel = s->semivowel(e ? S::Palatal : S::Labial);
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

SandhiJoins vowelWithVowel(const SandhiWord &left, const SandhiWord &right)
{
    if (isPragrhya(left))
        return {unchanged()};
    const S first = left.fromEnd(0);
    const S second = right.fromStart(0);
    SandhiJoins joins;
    if (first.quality == S::A)
        joins.append(aWithVowel(second));
    else if (first.isSimpleVowel())
        joins.append(simpleVowelWithVowel(first, second));
    else
        joins = diphthongWithVowel(first, second);
    if (mayBeDual(left))
        joins.append(unchanged());
    return joins;
}

bool startsWithCh(const SandhiWord &word)
{
    const S first = word.fromStart(0);
    return first.is(S::Kind::Stop) && first.place == S::Palatal && !first.voiced && first.aspirated;
}

} // namespace

// Ch doubles to chCh after a short vowel and after the particles A and mA; after any other
// long vowel the doubling is optional.
SandhiJoins afterVowel(const SandhiWord &left, const SandhiWord &right)
{
    if (right.fromStart(0).isVowel())
        return vowelWithVowel(left, right);
    if (!startsWithCh(right))
        return {unchanged()};
    const SandhiJoin doubled = join(0, {}, 0, {sounds().stop(S::Palatal, false)}, Written::Apart);
    const S last = left.fromEnd(0);
    if ((last.isSimpleVowel() && !last.isLong) || left.isOneOf({u"A", u"mA"}))
        return {doubled};
    return {unchanged(), doubled};
}

} // namespace vantro::sandhi
