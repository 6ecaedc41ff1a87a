// SPDX-License-Identifier: GPL-3.0-or-later
// Sandhi after a final visarga, and after a final r, which is a visarga before voiceless
// sounds and stays r before voiced ones.
#include "sandhirules.h"

#include "sandhiwordgroups.h"

namespace vantro::sandhi {

namespace {

// Words whose visarga stands for an r: it comes back as r before voiced sounds ("punar api",
// "prAtar eva") instead of making aH into o. The vocatives of the nouns in R^i are among them.
bool endsInR(const SandhiWord &word)
{
    return inSandhiGroup(SandhiWordGroup::VisargaForR, word);
}

// antaH and svaH are also the nominatives of anta "end" and sva "own", which join as aH.
bool mayEndInAH(const SandhiWord &word)
{
    return inSandhiGroup(SandhiWordGroup::VisargaForROrAH, word);
}

// saH and eShaH lose their visarga before every consonant, not only before voiced ones.
bool dropsBeforeConsonants(const SandhiWord &word)
{
    return inSandhiGroup(SandhiWordGroup::VisargaDropsBeforeConsonant, word);
}

// bhoH, bhagoH and aghoH lose it before every voiced sound.
bool dropsBeforeVoiced(const SandhiWord &word)
{
    return inSandhiGroup(SandhiWordGroup::VisargaDropsBeforeVoiced, word);
}

// The prefixes nis, dus, bahis, Avis, prAdus and the numeral chatur in front of a word make
// their visarga Sh before k and p (niShkAraNa, duShkR^ita, chatuShpAda).
bool takesShBeforeKP(const SandhiWord &word)
{
    return inSandhiGroup(SandhiWordGroup::VisargaAsShBeforeKP, word);
}

// The visarga (or the r standing for it) before a voiceless sound: a sibilant of the place
// of a following stop; before a sibilant it stays, or becomes that sibilant, or, where the
// sibilant starts a cluster, may be dropped; before k kh p ph it stays.
SandhiJoins beforeVoiceless(const SandhiWord &left, const SandhiWord &right)
{
    const auto *s = &sounds();
    const S next = right.fromStart(0);
    if (next.is(S::Kind::Stop) && (next.place == Place::Velar || next.place == Place::Labial) &&
        !next.conjunct && takesShBeforeKP(left))
        return {join(1, {s->sibilant(Place::Retroflex)}, 0, {}, Written::AsOne)};
    const SandhiJoin stays = join(1, {s->visarga()}, 0, {}, Written::Apart);
    if (next.is(S::Kind::Stop) && next.place >= Place::Palatal && next.place <= Place::Dental)
        return {join(1, {s->sibilant(next.place)}, 0, {}, Written::AsOne)};
    if (!next.is(S::Kind::Sibilant))
        return {stays};
    SandhiJoins joins{stays, join(1, {s->sibilant(next.place)}, 0, {}, Written::AsOne)};
    if (right.fromStart(1).isConsonant())
        joins.append(join(1, {}, 0, {}, Written::Apart));
    return joins;
}

// Before r the r or visarga goes and a short vowel before it is lengthened.
SandhiJoin lengthenedBeforeR(const SandhiWord &left)
{
    const S vowel = left.fromEnd(1);
    return join(2, {sounds().vowel(vowel.quality, true)}, 0, {}, Written::Apart);
}

bool startsWithR(const SandhiWord &word)
{
    const S first = word.fromStart(0);
    return first.is(S::Kind::Semivowel) && first.place == Place::Retroflex;
}

// aH: o.a before a, o before voiced consonants, a before other vowels.
SandhiJoin aHBeforeVoiced(const SandhiWord &right)
{
    const S next = right.fromStart(0);
    const Letter *o = sounds().vowel(S::O);
    if (next.isVowel() && next.quality == S::A && !next.isLong)
        return join(2, {o}, 1, {sounds().avagraha()}, Written::AsOne);
    if (next.isVowel())
        return join(1, {}, 0, {}, Written::Apart);
    return join(2, {o}, 0, {}, Written::Apart);
}

} // namespace

SandhiJoins afterVisarga(const SandhiWord &left, const SandhiWord &right)
{
    const S vowel = left.fromEnd(1);
    const S next = right.fromStart(0);
    if (!vowel.isVowel())
        return {unchanged()};
    if (left.is(u"ahaH") && startsWithR(right))
        return {aHBeforeVoiced(right)}; // aho rAtram: ahar becomes aho before r
    if (endsInR(left)) {
        SandhiJoins joins = afterR(left, right);
        if (mayEndInAH(left) && next.isVoiced())
            joins.append(aHBeforeVoiced(right));
        return joins;
    }
    if (dropsBeforeConsonants(left) && next.isConsonant())
        return {join(1, {}, 0, {}, Written::Apart)};
    if (!next.isVoiced())
        return beforeVoiceless(left, right);
    if (dropsBeforeVoiced(left))
        return {join(1, {}, 0, {}, Written::Apart)};
    if (vowel.quality == S::A)
        return {vowel.isLong ? join(1, {}, 0, {}, Written::Apart) : aHBeforeVoiced(right)};
    if (startsWithR(right))
        return {lengthenedBeforeR(left)};
    return {join(1, {sounds().semivowel(Place::Retroflex)}, 0, {}, Written::AsOne)};
}

// A final r (typed, or the visarga of a word that ends in r): kept before voiced sounds and
// written with them, dropped with lengthening before r, a visarga before voiceless sounds.
SandhiJoins afterR(const SandhiWord &left, const SandhiWord &right)
{
    const S next = right.fromStart(0);
    if (startsWithR(right))
        return {lengthenedBeforeR(left)};
    if (!next.isVoiced())
        return beforeVoiceless(left, right);
    return {join(1, {sounds().semivowel(Place::Retroflex)}, 0, {}, Written::AsOne)};
}

} // namespace vantro::sandhi
