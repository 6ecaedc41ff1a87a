// SPDX-License-Identifier: GPL-3.0-or-later
// Sandhi after a final stop, nasal or anusvara. A word that ends in a consonant is written
// together with the next, as Devanagari writes it.
#include "sandhirules.h"

#include "sandhiwordgroups.h"

namespace vantro::sandhi {

namespace {

SandhiJoin asOne(int dropLeft, Letters addLeft, int dropRight = 0, Letters addRight = {})
{
    return join(dropLeft, addLeft, dropRight, addRight, Written::AsOne);
}

bool isPalatalSibilant(const S &sound)
{
    return sound.is(S::Kind::Sibilant) && sound.place == Place::Palatal;
}

// sh after a stop may become Ch before a vowel, h, a semivowel or a nasal (tachChrutvA, and
// by the gloss that widens the rule from y v r to l and the nasals, tachChlokena and
// tachChmashAnam), but not before a stop or sibilant.
bool shMayBecomeCh(const SandhiWord &word)
{
    const S after = word.fromStart(1);
    return isPalatalSibilant(word.fromStart(0)) &&
           (after.isVowel() || after.is(S::Kind::Aspirate) || after.is(S::Kind::Semivowel) ||
            after.is(S::Kind::Nasal));
}

SandhiJoin withCh(int dropLeft, const Letter *final)
{
    return asOne(dropLeft, {final}, 1, {sounds().stop(Place::Palatal, false, true)});
}

// t before palatals and retroflexes takes their place; before l it becomes l; before sh it
// becomes ch, and the sh usually Ch.
SandhiJoins dentalAssimilated(const SandhiWord &right)
{
    const auto *s = &sounds();
    const S next = right.fromStart(0);
    const Letter *ch = s->stop(Place::Palatal, false);
    if (next.is(S::Kind::Stop) && (next.place == Place::Palatal || next.place == Place::Retroflex))
        return {asOne(1, {s->stop(next.place, next.voiced)})};
    if (next.is(S::Kind::Semivowel) && next.place == Place::Dental)
        return {asOne(1, {s->semivowel(Place::Dental)})};
    if (shMayBecomeCh(right))
        return {withCh(1, ch), asOne(1, {ch})};
    if (isPalatalSibilant(next))
        return {asOne(1, {ch})};
    return {};
}

// rAj "ruler" after sam keeps the m (samrAT, samrAjam, not saMrAT).
bool isRAj(const SandhiWord &word)
{
    return inSandhiGroup(SandhiWordGroup::Ruler, word);
}

// Before a sibilant ~N and N may take the voiceless stop of their class after them, before s
// n may take t (prA~Nk ShaShThaH, mahAnt sAdhuH). n before sh becomes ~n, the sh usually Ch,
// and the ch that may come in between gives ~nchCh and ~nchsh.
SandhiJoins nasalBeforeSibilant(const S &last, const SandhiWord &right)
{
    const auto *s = &sounds();
    const S next = right.fromStart(0);
    const SandhiJoin plain = asOne(0, {});
    const bool nBeforeS = last.place == Place::Dental && next.place == Place::Dental;
    if (last.place == Place::Velar || last.place == Place::Retroflex || nBeforeS)
        return {plain, asOne(0, {s->stop(last.place, false)})};
    if (last.place != Place::Dental || !isPalatalSibilant(next))
        return {plain};
    const Letter *n = s->nasal(Place::Palatal);
    const Letter *ch = s->stop(Place::Palatal, false);
    if (!shMayBecomeCh(right))
        return {asOne(1, {n}), asOne(1, {n, ch})};
    return {withCh(1, n), asOne(1, {n}),
            asOne(1, {n, ch}, 1, {s->stop(Place::Palatal, false, true)}), asOne(1, {n, ch})};
}

} // namespace

// A final stop is voiced before voiced sounds and voiceless before voiceless ones; before a
// nasal it usually becomes the nasal of its class; an h after it becomes the voiced aspirate
// of the stop's class; sh after it usually becomes Ch. The palatal finals, whose pause forms
// differ from word to word, are left as typed.
SandhiJoins afterStop(const SandhiWord &left, const SandhiWord &right)
{
    const auto *s = &sounds();
    const S last = left.fromEnd(0);
    const S next = right.fromStart(0);
    if (last.place == Place::Palatal)
        return {unchanged()};
    const Letter *voiced = s->stop(last.place, true);
    if (next.is(S::Kind::Nasal))
        return {asOne(1, {s->nasal(last.place)}), asOne(1, {voiced})};
    if (next.is(S::Kind::Aspirate))
        return {asOne(1, {voiced}, 1, {s->stop(last.place, true, true)}), asOne(1, {voiced})};
    if (last.place == Place::Dental) {
        const SandhiJoins assimilated = dentalAssimilated(right);
        if (!assimilated.isEmpty())
            return assimilated;
    }
    const SandhiJoin plain = asOne(1, {s->stop(last.place, next.isVoiced())});
    if (shMayBecomeCh(right))
        return {withCh(1, s->stop(last.place, false)), plain};
    return {plain};
}

// n (and ~N, N) doubles after a short vowel before a vowel. n before ch, T, t of either
// kind becomes the anusvara with the sibilant of that place; before j, D and sh it takes
// their place, and sh after it usually becomes Ch; before l it becomes a nasal l. m before a
// consonant becomes the anusvara, or the class nasal of a following stop.
SandhiJoins afterNasal(const SandhiWord &left, const SandhiWord &right)
{
    const auto *s = &sounds();
    const S last = left.fromEnd(0);
    const S next = right.fromStart(0);
    if (last.place == Place::Labial)
        return afterAnusvara(left, right);
    if (next.isVowel()) {
        const S before = left.fromEnd(1);
        const bool doubles =
            before.isSimpleVowel() && !before.isLong && last.place != Place::Palatal;
        return {doubles ? asOne(0, {s->nasal(last.place)}) : asOne(0, {})};
    }
    if (next.is(S::Kind::Sibilant))
        return nasalBeforeSibilant(last, right);
    if (last.place != Place::Dental || left.is(u"prashAn"))
        return {asOne(0, {})};
    if (next.is(S::Kind::Stop) && next.place >= Place::Palatal && next.place <= Place::Dental) {
        if (!next.voiced)
            return {asOne(1, {s->anusvara(), s->sibilant(next.place)})};
        if (next.place != Place::Dental)
            return {asOne(1, {s->nasal(next.place)})};
    }
    if (next.is(S::Kind::Semivowel) && next.place == Place::Dental)
        return {asOne(1, {s->chandrabindu(), s->semivowel(Place::Dental)})};
    return {asOne(0, {})};
}

// A final m, or the anusvara typed for it: m before a vowel, the anusvara before a consonant,
// where before a stop or nasal the class nasal may be written instead.
SandhiJoins afterAnusvara(const SandhiWord &left, const SandhiWord &right)
{
    const auto *s = &sounds();
    const S next = right.fromStart(0);
    if (next.isVowel())
        return {asOne(1, {s->nasal(Place::Labial)})};
    if (left.fromEnd(0).is(S::Kind::Nasal) && !left.fromEnd(1).isVowel())
        return {asOne(0, {})};
    if (left.is(u"sam") && isRAj(right))
        return {asOne(0, {})};
    const SandhiJoin classNasal = asOne(1, {s->nasal(next.place)});
    const bool beforeStop = next.is(S::Kind::Stop) || next.is(S::Kind::Nasal);
    // The prefix sam and the particles chit and chana make one word with their neighbour;
    // inside a word the class nasal is the usual spelling before a stop (ki~nchit).
    if (left.is(u"sam") || inSandhiGroup(SandhiWordGroup::OneWordWithBefore, right)) {
        const SandhiJoin anusvara = asOne(1, {s->anusvara()});
        return beforeStop ? SandhiJoins{classNasal, anusvara} : SandhiJoins{anusvara};
    }
    const SandhiJoin anusvara = join(1, {s->anusvara()}, 0, {}, Written::Apart);
    return beforeStop ? SandhiJoins{anusvara, classNasal} : SandhiJoins{anusvara};
}

} // namespace vantro::sandhi
