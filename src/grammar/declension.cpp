// SPDX-License-Identifier: GPL-3.0-or-later
#include "declension.h"

#include "declensionparts.h"

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

StemResult declineStem(const SoundString &stem, const QString &key, Gender gender)
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
    return {std::nullopt, reason};
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
    const std::optional<SoundString> sounds = SoundString::fromItrans(stem.trimmed());
    if (!sounds || sounds->syllableCount() == 0) {
        inflection.error = QStringLiteral("\"%1\" is not a stem written in ITRANS").arg(stem);
        return inflection;
    }
    const StemResult result = declineStem(*sounds, sounds->toItrans(), gender);
    if (result.forms)
        inflection.paradigm = result.forms->render();
    else
        inflection.error = result.error;
    return inflection;
}

} // namespace vantro
