// SPDX-License-Identifier: GPL-3.0-or-later
// Stems in a consonant: one, two or three grades of the stem under the common endings.
#include "declensionparts.h"
#include "nounsandhi.h"
#include "stemgroups.h"

#include <algorithm>

namespace vantro {

namespace {

using C = GrammaticalCase;
using N = GrammaticalNumber;

struct Endings
{
    SoundString am{"am"}, au{"au"}, as{"as"}, A{"A"}, e{"e"}, i{"i"}, I{"I"}, os{"os"}, Am{"Am"},
        bhyAm{"bhyAm"}, bhis{"bhis"}, bhyas{"bhyas"}, su{"su"};
};

const Endings &endings()
{
    static const Endings all;
    return all;
}

// manaHsu has manassu beside it, haviHShu haviShShu.
SoundString withSibilantForVisarga(SoundString form)
{
    for (int i = 0; i + 1 < form.size(); ++i)
        if (form.at(i) == Sound::H)
            form.set(i, form.at(i + 1));
    return form;
}

SoundString weakestWith(const ConsonantStem &stem, const SoundString &ending)
{
    return stem.dentalNInWeakest ? stem.weakest + ending : attachEnding(stem.weakest, ending);
}

void addWeakCases(FormTable &forms, const ConsonantStem &stem)
{
    const Endings &e = endings();
    const auto vowel = [&](C c, N n, const SoundString &ending) {
        forms.set(c, n, weakestWith(stem, ending));
    };
    vowel(C::Instrumental, N::Singular, e.A);
    vowel(C::Dative, N::Singular, e.e);
    vowel(C::Ablative, N::Singular, e.as);
    vowel(C::Genitive, N::Singular, e.as);
    vowel(C::Locative, N::Singular, e.i);
    for (const SoundString &form : stem.locativeSingular)
        forms.add(C::Locative, N::Singular, form);
    vowel(C::Genitive, N::Dual, e.os);
    vowel(C::Locative, N::Dual, e.os);
    vowel(C::Genitive, N::Plural, e.Am);
    const SoundString bhyAm = joinBeforeConsonant(stem.middle, e.bhyAm);
    for (const C c : {C::Instrumental, C::Dative, C::Ablative})
        forms.set(c, N::Dual, bhyAm);
    forms.set(C::Instrumental, N::Plural, joinBeforeConsonant(stem.middle, e.bhis));
    const SoundString bhyas = joinBeforeConsonant(stem.middle, e.bhyas);
    forms.set(C::Dative, N::Plural, bhyas);
    forms.set(C::Ablative, N::Plural, bhyas);
    const SoundString su = joinBeforeConsonant(stem.middle, e.su);
    forms.set(C::Locative, N::Plural, su);
    if (stem.middle.last() == Sound::s)
        forms.add(C::Locative, N::Plural, withSibilantForVisarga(su));
}

void addStrongCases(FormTable &forms, const ConsonantStem &stem, Gender gender)
{
    const Endings &e = endings();
    if (gender == Gender::Neuter) {
        for (const C c : {C::Nominative, C::Accusative}) {
            forms.at(c, N::Singular) = stem.neuterSingular;
            forms.at(c, N::Dual) = stem.neuterDual;
            forms.at(c, N::Plural) = stem.neuterPlural;
        }
        forms.at(C::Vocative, N::Singular) =
            stem.neuterVocative.isEmpty() ? stem.neuterSingular : stem.neuterVocative;
        return;
    }
    forms.set(C::Nominative, N::Singular, stem.nominative);
    forms.set(C::Accusative, N::Singular, attachEnding(stem.strong, e.am));
    const SoundString dual = attachEnding(stem.strong, e.au);
    forms.set(C::Nominative, N::Dual, dual);
    forms.set(C::Accusative, N::Dual, dual);
    forms.set(C::Nominative, N::Plural, attachEnding(stem.strong, e.as));
    forms.set(C::Accusative, N::Plural, weakestWith(stem, e.as));
    forms.at(C::Vocative, N::Singular) = stem.vocative;
}

SoundString lengthenedLastVowel(SoundString word)
{
    for (int i = word.size() - 1; i >= 0; --i) {
        if (isVowel(word.at(i))) {
            word.set(i, lengthened(word.at(i)));
            break;
        }
    }
    return word;
}

// The an-stems are masculine or neuter; sIman is a feminine declined as they are, and rAjan,
// yuvan and shvan make a feminine stem of their own (rAj~nI, yuvati, shunI).
StemResult anStemFeminine(const SoundString &stem, const ConsonantStem &s)
{
    if (inStemGroup(StemGroup::FeminineAn, stem))
        return declined(declineConsonant(s, Gender::Feminine));
    if (const SoundString own = stemGroupPartner(StemGroup::FeminineOfItsOwn, stem); !own.isEmpty())
        return declineDerivedFeminine({own});
    return refusedGender(stem.toItrans(), {Gender::Masculine, Gender::Neuter});
}

// rAjan, Atman, nAman, brahman; yuvan, shvan, maghavan weaken irregularly; pUShan and
// aryaman lengthen only in the nominative singular.
StemResult anStem(const SoundString &stem, Gender gender)
{
    const SoundString base = stem.chopped(2), a("a"), an("an"), An("An");
    const bool shortStrong = inStemGroup(StemGroup::ShortStrongAn, stem);
    ConsonantStem s;
    s.strong = base + (shortStrong ? an : An);
    s.middle = base + a;
    s.nominative = base + SoundString("A");
    s.vocative = {stem};
    const Sound before = base.last();
    const bool keepsVowel = (before == Sound::m || before == Sound::v) && isConsonant(base.last(2));
    s.weakest = keepsVowel ? stem : base + SoundString("n");
    if (const SoundString own = stemGroupPartner(StemGroup::WeakestOfItsOwn, stem);
        !own.isEmpty()) {
        s.weakest = own;
    } else if (inStemGroup(StemGroup::CompoundOfHan, stem)) { // vR^itrahaNau, vR^itraghnaH
        s.strong = stem;
        s.weakest = base.chopped(1) + SoundString("ghn");
        s.dentalNInWeakest = true;
        s.locativeSingular = {attachEnding(stem, endings().i)};
    } else if (!keepsVowel) {
        s.locativeSingular = {attachEnding(stem, endings().i)};
    }
    s.neuterSingular = {s.middle};
    s.neuterVocative = {stem, s.middle};
    s.neuterDual = {attachEnding(s.weakest, endings().I)};
    if (!keepsVowel)
        s.neuterDual.append(attachEnding(stem, endings().I));
    s.neuterPlural = {attachEnding(base + An, endings().i)};
    if (gender == Gender::Feminine)
        return anStemFeminine(stem, s);
    return declined(declineConsonant(s, gender));
}

// The feminine of the participles, the possessives, the comparatives and the stems in -in
// and -a~nch is their neuter dual's stem in -I: bhavantI, sunvatI, bhagavatI, dhaninI,
// viduShI, garIyasI, prAchI.
StemResult declinedOrFeminine(const ConsonantStem &s, Gender gender)
{
    if (gender != Gender::Feminine)
        return declined(declineConsonant(s, gender));
    return declineDerivedFeminine(QList<SoundString>(s.neuterDual.cbegin(), s.neuterDual.cend()));
}

StemResult inStem(const SoundString &stem, Gender gender)
{
    ConsonantStem s;
    s.strong = s.weakest = stem;
    s.middle = stem.chopped(1);
    s.nominative = lengthenedLastVowel(s.middle);
    s.vocative = {stem};
    s.neuterSingular = {s.middle};
    s.neuterVocative = {stem, s.middle};
    s.neuterDual = {attachEnding(stem, endings().I)};
    s.neuterPlural = {attachEnding(lengthenedLastVowel(stem), endings().i)};
    return declinedOrFeminine(s, gender);
}

// The perfect participle: vidvas, jagmivas, chakR^ivas; strong vidvAMs-, middle vidvat-,
// weakest viduSh- (the linking i dropped, a root's final vowel made a semivowel).
StemResult vasStem(const SoundString &stem, Gender gender)
{
    SoundString root = stem.chopped(3);
    if (root.last() == Sound::i && root.size() > 1 && isConsonant(root.last(2)))
        root = root.chopped(1);
    else if (root.last() == Sound::u || root.last() == Sound::U)
        root.append(Sound::v);
    else if (isVowel(root.last()))
        root.set(root.size() - 1, semivowelOf(root.last()));
    const SoundString base = stem.chopped(2);
    ConsonantStem s;
    s.strong = base + SoundString("Ans");
    s.nominative = base + SoundString("An");
    s.vocative = {base + SoundString("an")};
    s.middle = base + SoundString("ad");
    s.weakest = root + SoundString("uSh");
    s.neuterSingular = {wordFinal(s.middle)};
    s.neuterDual = {attachEnding(s.weakest, endings().I)};
    s.neuterPlural = {attachEnding(s.strong, endings().i)};
    return declinedOrFeminine(s, gender);
}

// as, is, us and the comparatives in -yas (strong -yAMs-).
StemResult sStem(const SoundString &stem, Gender gender, bool comparative)
{
    ConsonantStem s = ConsonantStem::invariable(stem);
    const SoundString base = stem.chopped(2);
    if (inStemGroup(StemGroup::AsWithNominativeA, stem)) {
        s.nominative = base + Sound::A; // ushanA
        if (inStemGroup(StemGroup::VocativeInAn, stem))
            s.vocative = {wordFinal(stem), base + Sound::a, base + SoundString("an")};
    } else if (comparative) {
        s.strong = base + SoundString("Ans");
        s.nominative = base + SoundString("An");
        s.vocative = {base + SoundString("an")};
    } else if (stem.last(2) == Sound::a) {
        s.nominative = base + SoundString("As");
    } else if (inStemGroup(StemGroup::IsUsLengthening, stem)) { // lengthen like gir: AshIH, sajUH
        s.middle = lengthenedLastVowel(stem);
        s.nominative = s.middle;
        s.vocative = {s.middle};
    }
    return comparative ? declinedOrFeminine(s, gender) : declined(declineConsonant(s, gender));
}

// Whether -vat, -mat is the possessive suffix (dhanavat, shrImat, bhavat "your honour")
// rather than a present participle (sunvat, kurvat, bhramat). kiyat and iyat are made with
// the suffix of tAvat and lengthen as it does (kiyAn).
bool isPossessive(const SoundString &stem)
{
    if (inStemGroup(StemGroup::PossessiveLike, stem))
        return true;
    const Sound before = stem.last(4);
    if (stem.endsWith("mat"))
        return before != Sound::a;
    if (!stem.endsWith("vat"))
        return false;
    if (before == Sound::n || before == Sound::r || before == Sound::u)
        return false;
    return !inStemGroup(StemGroup::ParticipleInVat, stem);
}

Sound reduplicantOf(Sound consonant)
{
    if (consonant == Sound::h)
        return Sound::j;
    Place place = placeOf(consonant);
    if (place == Place::Velar)
        place = Place::Palatal;
    return isStop(consonant) && !isNasal(consonant) ? stopOf(place, isVoiced(consonant), false)
                                                    : consonant;
}

// Reduplicated presents take no nasal: dadat, dadhat, bibhrat, juhvat, jAgrat (but jighrat,
// of the thematic jighrati, does, and nindat, whose first syllables only look reduplicated).
bool isReduplicatedParticiple(const SoundString &stem)
{
    if (inStemGroup(StemGroup::NotReduplicatedParticiple, stem))
        return false;
    if (inStemGroup(StemGroup::ReduplicatedParticiple, stem))
        return true;
    return stem.size() >= 5 && isConsonant(stem.at(0)) && !isNasal(stem.at(0)) &&
           isShortVowel(stem.at(1)) && isConsonant(stem.at(2)) &&
           reduplicantOf(stem.at(2)) == stem.at(0);
}

// Neuter dual -antI after a thematic present (bhavantI), -atI after the others: the fifth
// and eighth classes (sunvatI, kurvatI), the ninth (jAnatI), the seventh (rundhatI,
// yu~njatI), the root presents of one syllable (satI) and the common ones of the second class
// (adatI, dviShatI).
bool isThematicParticiple(const SoundString &stem)
{
    if (stem.syllableCount() == 1 || inStemGroup(StemGroup::NotThematicAt, stem))
        return false;
    const Sound before = stem.last(3), earlier = stem.last(4);
    if (before == Sound::v)
        return !(earlier == Sound::n || earlier == Sound::r || earlier == Sound::u);
    if (before == Sound::n || before == Sound::N)
        return earlier == Sound::a;
    return !((before == Sound::dh || before == Sound::j) &&
             (earlier == Sound::n || earlier == Sound::ny));
}

// The sixth class keeps the root's light short vowel without guNa (tudat, likhat, vishat,
// sR^ijat), or has the nasal or chCh of its present (mu~nchat, ichChat): its neuter dual is
// tudantI or tudatI. pibat, of the first class, only looks like one.
bool isSixthClassParticiple(const SoundString &stem)
{
    if (inStemGroup(StemGroup::NotSixthClassParticiple, stem))
        return false;
    if (inStemGroup(StemGroup::SixthClassParticiple, stem))
        return true;
    const Sound vowel = stem.last(4);
    return stem.size() >= 5 && isConsonant(stem.last(3)) && stem.last(3) != Sound::y &&
           stem.last(3) != Sound::v &&
           (vowel == Sound::i || vowel == Sound::u || vowel == Sound::Ri);
}

StemResult atStem(const SoundString &stem, Gender gender)
{
    // jagat and the feminine tens (triMshat, chatvAriMshat, pa~nchAshat) keep one stem; the
    // participles in -shat (vishat, spR^ishat) do not.
    if (inStemGroup(StemGroup::InvariableAt, stem) || inStemGroup(StemGroup::InvariableTens, stem))
        return declined(declineConsonant(ConsonantStem::invariable(stem), gender));
    const SoundString base = stem.chopped(1); // ends in a, or in A for yAt, pAt
    ConsonantStem s = ConsonantStem::invariable(stem);
    const bool possessive = isPossessive(stem), great = inStemGroup(StemGroup::LongStrongAt, stem);
    if (!possessive && !great && isReduplicatedParticiple(stem)) {
        s.neuterPlural = {attachEnding(stem, endings().i),
                          attachEnding(withPluralNasal(stem), endings().i)};
        return declinedOrFeminine(s, gender);
    }
    const SoundString n("n"), nt("nt");
    const SoundString longBase = base.chopped(1) + Sound::A;
    s.strong = (great ? longBase : base) + nt;
    s.nominative = (possessive || great ? longBase : base) + n;
    s.vocative = {base + n};
    s.neuterPlural = {attachEnding(s.strong, endings().i)};
    if (base.last() == Sound::A) // yAntI or yAtI
        s.neuterDual = {attachEnding(base + nt, endings().I), attachEnding(stem, endings().I)};
    else if (!possessive && !great && isThematicParticiple(stem)) {
        s.neuterDual = {attachEnding(base + nt, endings().I)};
        if (isSixthClassParticiple(stem)) // tudantI or tudatI
            s.neuterDual.append(attachEnding(stem, endings().I));
    }
    return declinedOrFeminine(s, gender);
}

// gir, pur, dvAr: i and u lengthen before a consonant and at the end (gIH, gIrbhiH).
StemResult rStem(const SoundString &stem, Gender gender)
{
    ConsonantStem s = ConsonantStem::invariable(stem);
    s.middle = lengthenedLastVowel(stem);
    s.nominative = s.middle;
    s.vocative = {s.middle};
    s.neuterSingular = {s.middle};
    s.neuterPlural = {attachEnding(stem, endings().i)};
    return declined(declineConsonant(s, gender));
}

// The adjectives in -a~nch: strong prA~nch-, middle prAch- (prAgbhyAm), weakest prAch-,
// pratIch-, udIch-, anUch-, tirashch-; nominative prA~N, pratya~N.
StemResult anchStem(const SoundString &stem, Gender gender)
{
    const SoundString before = stem.chopped(2), ch("ch");
    ConsonantStem s = ConsonantStem::invariable(stem);
    s.middle = before + ch;
    if (const SoundString own = stemGroupPartner(StemGroup::WeakestOfItsOwn, stem); !own.isEmpty())
        s.weakest = own;
    else if (before.endsWith("ya"))
        s.weakest = before.chopped(2) + SoundString("Ich");
    else if (before.endsWith("va"))
        s.weakest = before.chopped(2) + SoundString("Uch");
    else
        s.weakest = s.middle;
    s.nominative = before + Sound::ng;
    s.vocative = {s.nominative};
    s.neuterSingular = {wordFinal(s.middle)};
    s.neuterDual = {attachEnding(s.weakest, endings().I)};
    s.neuterPlural = {attachEnding(stem, endings().i)};
    return declinedOrFeminine(s, gender);
}

// druh, muh, snih and snuh end at choice in a velar or a cerebral (dhruk or dhruT, dhrugbhyAm
// or dhruDbhyAm, dhrukShu or dhruTsu): the other one is added after the usual form.
SoundString withOtherFinalOfH(SoundString form, int at)
{
    const Sound final = form.at(at);
    const Sound other = final == Sound::k   ? Sound::T
                        : final == Sound::T ? Sound::k
                        : final == Sound::g ? Sound::D
                                            : Sound::g;
    form.set(at, other);
    if (at + 1 < form.size() && (form.at(at + 1) == Sound::s || form.at(at + 1) == Sound::Sh))
        form.set(at + 1, other == Sound::k ? Sound::Sh : Sound::s);
    return form;
}

void addOtherFinalsOfH(FormTable &forms, int at)
{
    for (int cell = 0; cell < kCaseCount * kNumberCount; ++cell) {
        const FormTable::Forms usual = forms.at(cell);
        for (const SoundString &form : usual) {
            const Sound final = form.size() > at ? form.at(at) : Sound::a;
            if (final == Sound::k || final == Sound::T || final == Sound::g || final == Sound::D)
                forms.at(cell).append(withOtherFinalOfH(form, at));
        }
    }
}

bool isParticipleInVas(const SoundString &stem)
{
    return stem.endsWith("vas") && stem.size() > 3 && stem.last(4) != Sound::a;
}

bool isComparativeInYas(const SoundString &stem)
{
    const Sound before = stem.last(4);
    return stem.endsWith("yas") &&
           (before == Sound::I || before == Sound::e || before == Sound::U || before == Sound::A);
}

} // namespace

ConsonantStem ConsonantStem::invariable(const SoundString &stem)
{
    ConsonantStem s;
    s.strong = s.middle = s.weakest = stem;
    s.nominative = wordFinal(stem);
    s.vocative = {s.nominative};
    s.neuterSingular = {s.nominative};
    s.neuterDual = {attachEnding(stem, endings().I)};
    s.neuterPlural = {attachEnding(withPluralNasal(stem), endings().i)};
    return s;
}

FormTable declineConsonant(const ConsonantStem &stem, Gender gender)
{
    FormTable forms;
    addStrongCases(forms, stem, gender);
    addWeakCases(forms, stem);
    forms.vocativeDualAndPluralFromNominative();
    return forms;
}

StemResult declineConsonantStem(const SoundString &stem, Gender gender)
{
    const Sound last = stem.last(), before = stem.last(2);
    if (stem.isEmpty() || isVowel(last))
        return {};
    if (last == Sound::H || last == Sound::M)
        return refused(QStringLiteral("%1 ends in a visarga or anusvara: give the stem (manas, "
                                      "not manaH; jala, not jalaM)")
                           .arg(stem.toItrans()));
    if (last == Sound::n && before == Sound::a)
        return anStem(stem, gender);
    if (last == Sound::n && before == Sound::i)
        return inStem(stem, gender);
    if (last == Sound::s && isParticipleInVas(stem))
        return vasStem(stem, gender);
    if (inStemGroup(StemGroup::SComesBack, stem)) // sajUH: the s of juSh comes back at the end
        return sStem(stem.chopped(1) + Sound::s, gender, false);
    if (last == Sound::s && isVowel(before))
        return sStem(stem, gender, isComparativeInYas(stem));
    if (last == Sound::t && (before == Sound::a || before == Sound::A))
        return atStem(stem, gender);
    if (last == Sound::r && isVowel(before))
        return rStem(stem, gender);
    if (stem.endsWith("~nch"))
        return anchStem(stem, gender);
    if (isNasal(last) || last == Sound::y || last == Sound::l || last == Sound::v)
        return refused(QStringLiteral("no declension of stems in -%1 is known")
                           .arg(SoundString().append(last).toItrans()));
    FormTable forms = declineConsonant(ConsonantStem::invariable(stem), gender);
    if (inStemGroup(StemGroup::HAsKOrT, stem))
        addOtherFinalsOfH(forms, stem.size() - 1);
    return declined(forms);
}

} // namespace vantro
