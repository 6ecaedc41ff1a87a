// SPDX-License-Identifier: GPL-3.0-or-later
// Pronouns and the pronominal adjectives.
#include "declensionparts.h"
#include "endingtable.h"
#include "ownparadigms.h"
#include "stemgroups.h"

#include <QHash>

namespace vantro {

namespace {

using C = GrammaticalCase;
using N = GrammaticalNumber;

// clang-format off
// The pronominal declension, after the stem without its a (sarva, tad, yad, kim, eka).
const char *const kSarvaMasculine =
    "as au e | am au An | ena AbhyAm ais | asmai AbhyAm ebhyas | asmAt AbhyAm ebhyas |"
    " asya ayos eShAm | asmin ayos eShu | a au e";
const char *const kSarvaNeuter =
    "am e Ani | am e Ani | ena AbhyAm ais | asmai AbhyAm ebhyas | asmAt AbhyAm ebhyas |"
    " asya ayos eShAm | asmin ayos eShu | a e Ani";
const char *const kSarvaFeminine =
    "A e As | Am e As | ayA AbhyAm Abhis | asyai AbhyAm Abhyas | asyAs AbhyAm Abhyas |"
    " asyAs ayos AsAm | asyAm ayos Asu | e e As";
// clang-format on

FormTable pronominal(const SoundString &base, Gender gender)
{
    return applyForGender(gender, endingTable<&kSarvaMasculine>(), endingTable<&kSarvaFeminine>(),
                          endingTable<&kSarvaNeuter>(), base);
}

// How a pronominal adjective departs from sarva.
enum class Pronominal {
    Full,     // sarva, vishva
    NemAH,    // nema: the nominal nominative plural nemAH beside neme
    NeuterAt, // anya, itara, katara, katama...: neuter anyat
    Optional, // pUrva, para, avara...: nominal forms beside the pronominal ones
    NoDual,   // eka ("eke": some), ubhaya
    DualOnly, // ubha
};

// The kind of pronominal adjective the stem is, by the stem group that names it.
std::optional<Pronominal> pronominalKind(const SoundString &stem)
{
    using P = Pronominal;
    const std::pair<StemGroup, Pronominal> kinds[] = {
        {StemGroup::PronominalFull, P::Full},         {StemGroup::PronominalNemAH, P::NemAH},
        {StemGroup::PronominalNeuterAt, P::NeuterAt}, {StemGroup::PronominalOptional, P::Optional},
        {StemGroup::PronominalNoDual, P::NoDual},     {StemGroup::PronominalDualOnly, P::DualOnly},
    };
    for (const auto &[group, kind] : kinds)
        if (inStemGroup(group, stem))
            return kind;
    return std::nullopt;
}

void clearNumber(FormTable &forms, N number)
{
    for (int c = 0; c < kCaseCount; ++c)
        forms.clear(static_cast<C>(c), number);
}

FormTable declinePronominal(const SoundString &stem, Pronominal kind, Gender gender)
{
    const SoundString base = stem.chopped(1);
    FormTable forms = pronominal(base, gender);
    if (kind == Pronominal::NeuterAt && gender == Gender::Neuter) {
        forms.set(C::Nominative, N::Singular, base + SoundString("at"));
        forms.set(C::Accusative, N::Singular, base + SoundString("at"));
        forms.clear(C::Vocative, N::Singular); // the grammars give no vocative here
    }
    if (kind == Pronominal::Optional && gender != Gender::Feminine) {
        if (gender == Gender::Masculine)
            forms.add(C::Nominative, N::Plural, base + SoundString("As"));
        forms.add(C::Ablative, N::Singular, base + SoundString("At"));
        forms.add(C::Locative, N::Singular, base + SoundString("e"));
        forms.vocativeDualAndPluralFromNominative();
    }
    if (kind == Pronominal::NemAH && gender == Gender::Masculine) {
        forms.add(C::Nominative, N::Plural, base + SoundString("As"));
        forms.vocativeDualAndPluralFromNominative();
    }
    if (kind == Pronominal::NoDual)
        clearNumber(forms, N::Dual);
    if (kind == Pronominal::DualOnly) {
        clearNumber(forms, N::Singular);
        clearNumber(forms, N::Plural);
    }
    return forms;
}

// prathama, charama, alpa, ardha, katipaya and the words in -taya and -aya are nominal but
// for a nominative plural masculine in -e beside -AH; dvitIya and tR^itIya take the
// pronominal dative, ablative and locative singular at choice.
StemResult declineHalfPronominal(const SoundString &stem, Gender gender)
{
    const bool ordinal = inStemGroup(StemGroup::OrdinalHalfPronominal, stem);
    if (!ordinal && !inStemGroup(StemGroup::HalfPronominal, stem))
        return {};
    const SoundString base = stem.chopped(1);
    const SoundString nominal = gender == Gender::Feminine ? base + Sound::A : stem;
    StemResult result = declineVowelStem(nominal, gender);
    if (!result.forms)
        return result;
    FormTable &forms = *result.forms;
    if (!ordinal) {
        if (gender == Gender::Masculine) {
            forms.set(C::Nominative, N::Plural, base + SoundString("e"));
            forms.add(C::Nominative, N::Plural, base + SoundString("As"));
            forms.vocativeDualAndPluralFromNominative();
        }
        return result;
    }
    const FormTable pronominalForms = pronominal(base, gender);
    for (const C c : {C::Dative, C::Ablative, C::Genitive, C::Locative})
        for (const SoundString &form : pronominalForms.at(c, N::Singular))
            if (!forms.at(c, N::Singular).contains(form))
                forms.add(c, N::Singular, form);
    return result;
}

struct Demonstrative
{
    const char *base;
    const char *masculine; // nominative singular
    const char *feminine;
    const char *neuter; // nominative and accusative singular
};

// tad, tyad, etad, yad, kim: the pronominal declension with their own nominatives; etad has
// the unstressed ena- forms beside it.
StemResult declineDemonstrative(const QString &key, Gender gender)
{
    static const QHash<QString, Demonstrative> table = {
        {"tad", {"t", "sas", "sA", "tat"}},        {"tyad", {"ty", "syas", "syA", "tyat"}},
        {"etad", {"et", "eShas", "eShA", "etat"}}, {"yad", {"y", "yas", "yA", "yat"}},
        {"kim", {"k", "kas", "kA", "kim"}},
    };
    const auto found = table.constFind(key);
    if (found == table.constEnd())
        return {};
    FormTable forms = pronominal(SoundString(found->base), gender);
    const char *nominative = gender == Gender::Masculine  ? found->masculine
                             : gender == Gender::Feminine ? found->feminine
                                                          : found->neuter;
    forms.set(C::Nominative, N::Singular, SoundString(nominative));
    if (gender == Gender::Neuter)
        forms.set(C::Accusative, N::Singular, SoundString(nominative));
    forms.clearVocative();
    if (key == u"etad") {
        const FormTable enclitic = pronominal(SoundString("en"), gender);
        for (const N n : {N::Singular, N::Dual, N::Plural})
            forms.add(C::Accusative, n, enclitic.at(C::Accusative, n).front());
        if (gender == Gender::Neuter)
            forms.at(C::Accusative, N::Singular).back() = SoundString("enat");
        forms.add(C::Instrumental, N::Singular, enclitic.at(C::Instrumental, N::Singular).front());
        forms.add(C::Genitive, N::Dual, SoundString("enayos"));
        forms.add(C::Locative, N::Dual, SoundString("enayos"));
    }
    return declined(forms);
}

} // namespace

StemResult declinePronoun(const QString &key, Gender gender)
{
    if (std::optional<FormTable> own = ownParadigm(key, gender))
        return declined(*std::move(own));
    // bhavat "your honour" has bhavatI; the participle of bhU, bhavantI.
    if (key == u"bhavat" && gender == Gender::Feminine) {
        StemResult both = declineDerivedFeminine({SoundString("bhavatI"), SoundString("bhavantI")});
        both.derivedStemUses = {QStringLiteral("pronoun"), QStringLiteral("participle")};
        return both;
    }
    if (StemResult demonstrative = declineDemonstrative(key, gender); demonstrative.handled())
        return demonstrative;
    const SoundString stem = SoundString::fromItrans(key).value;
    QString aStem = key;
    if (gender == Gender::Feminine && stem.last() == Sound::A)
        aStem = (stem.chopped(1) + Sound::a).toItrans();
    const SoundString aSounds = SoundString::fromItrans(aStem).value;
    if (const std::optional<Pronominal> kind = pronominalKind(aSounds)) {
        const SoundString own = stemGroupPartner(StemGroup::FeminineOfItsOwn, aSounds);
        if (gender == Gender::Feminine && !own.isEmpty())
            return refused(QStringLiteral("the feminine of %1 is %2").arg(aStem, own.toItrans()));
        return declined(declinePronominal(aSounds, *kind, gender));
    }
    return declineHalfPronominal(SoundString::fromItrans(aStem).value, gender);
}

} // namespace vantro
