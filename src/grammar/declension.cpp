// SPDX-License-Identifier: GPL-3.0-or-later
#include "declension.h"

#include "declensionparts.h"
#include "stemgroups.h"

namespace vantro {

namespace {

QString genderName(Gender gender)
{
    switch (gender) {
    case Gender::Masculine:
        return QStringLiteral("masculine");
    case Gender::Feminine:
        return QStringLiteral("feminine");
    default:
        return QStringLiteral("neuter");
    }
}

// Words that may take a shorter stem from the accusative plural on (pAda: padaH, padA,
// padbhyAm beside pAdAn, pAdena, pAdAbhyAm); the neuters from the instrumental on.
QString substituteStemOf(const QString &key, Gender gender)
{
    const StemGroup group = gender == Gender::Masculine  ? StemGroup::ShorterStemMasculine
                            : gender == Gender::Feminine ? StemGroup::ShorterStemFeminine
                                                         : StemGroup::ShorterStemNeuter;
    const Outcome<SoundString> stem = SoundString::fromItrans(key);
    const SoundString shorter = stem.ok() ? stemGroupPartner(group, stem.value) : SoundString();
    return shorter.isEmpty() ? QString() : shorter.toItrans();
}

StemResult declineByKind(const SoundString &stem, const QString &key, Gender gender);

void addSubstituteForms(FormTable &forms, const QString &substitute, Gender gender)
{
    const StemResult shorter =
        declineByKind(SoundString::fromItrans(substitute).value, substitute, gender);
    if (!shorter.forms)
        return;
    const int from = static_cast<int>(gender == Gender::Neuter ? GrammaticalCase::Instrumental
                                                               : GrammaticalCase::Accusative);
    for (int c = from; c < static_cast<int>(GrammaticalCase::Vocative); ++c) {
        for (int n = 0; n < kNumberCount; ++n) {
            const auto gc = static_cast<GrammaticalCase>(c);
            const auto gn = static_cast<GrammaticalNumber>(n);
            if (gc == GrammaticalCase::Accusative && gn != GrammaticalNumber::Plural)
                continue;
            for (const SoundString &form : shorter.forms->at(gc, gn))
                forms.add(gc, gn, form);
        }
    }
}

StemResult declineStem(const SoundString &stem, const QString &key, Gender gender)
{
    StemResult result = declineByKind(stem, key, gender);
    if (result.forms)
        if (const QString substitute = substituteStemOf(key, gender); !substitute.isEmpty())
            addSubstituteForms(*result.forms, substitute, gender);
    return result;
}

StemResult declineByKind(const SoundString &stem, const QString &key, Gender gender)
{
    for (StemResult (*named)(const QString &, Gender) :
         {declinePronoun, declineNumeral, declineIrregularNoun}) {
        StemResult result = named(key, gender);
        if (result.handled())
            return result;
    }
    if (StemResult result = declineVowelStem(stem, gender); result.handled())
        return result;
    if (StemResult result = declineConsonantStem(stem, gender); result.handled())
        return result;
    return refused(QStringLiteral("no declension of stems in -%1 is known")
                       .arg(stem.mid(stem.size() - 1).toItrans()));
}

} // namespace

StemResult refused(const QString &reason)
{
    return {std::nullopt, reason, {}, {}};
}

StemResult refusedGender(const QString &stem, std::initializer_list<Gender> genders)
{
    QStringList names;
    for (const Gender gender : genders)
        names.append(genderName(gender));
    return refused(QStringLiteral("%1 is declined in the %2 only")
                       .arg(stem, names.join(QStringLiteral(" and "))));
}

Inflection<NounParadigm> declineNoun(const QString &stem, Gender gender)
{
    Inflection<NounParadigm> inflection;
    const Outcome<SoundString> read = SoundString::fromItrans(stem.trimmed());
    if (!read.ok() || read.value.syllableCount() == 0) {
        inflection.error = QStringLiteral("\"%1\" is not a stem written in ITRANS").arg(stem);
        return inflection;
    }
    const SoundString &sounds = read.value;
    const StemResult result = declineStem(sounds, sounds.toItrans(), gender);
    if (result.forms) {
        inflection.paradigm = result.forms->render();
        inflection.derivedStems = result.derivedStems;
        inflection.derivedStemUses = result.derivedStemUses;
    } else
        inflection.error = result.error;
    return inflection;
}

} // namespace vantro
