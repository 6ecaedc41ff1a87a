// SPDX-License-Identifier: GPL-3.0-or-later
// The feminine of an adjective is mostly a stem of its own: priyA of priya, gurvI of guru,
// bhavantI of bhavat. The consonant stems derive it by rule; an a- or u-stem cannot tell an
// adjective from a noun (deva's feminine is not devA), so those are the adjectives named here.
#include "declensionparts.h"
#include "stemgroups.h"

#include <QHash>

namespace vantro {

namespace {

// Adjectives in -a whose feminine the grammars and lexicons give, in -A or in -I
// (data/stemgroups.tsv says which and why).
const QHash<QString, QString> &aStemFeminines()
{
    static const QHash<QString, QString> feminines = [] {
        QHash<QString, QString> all;
        for (const SoundString &stem : stemGroupMembers(StemGroup::FeminineInA)) {
            all.insert(stem.toItrans(), stem.chopped(1).append(Sound::A).toItrans());
        }
        for (const SoundString &stem : stemGroupMembers(StemGroup::FeminineInI)) {
            all.insert(stem.toItrans(), stem.chopped(1).append(Sound::I).toItrans());
        }
        return all;
    }();
    return feminines;
}

// Adjectives in -u of quality take -vI beside the u-stem (gurvI, prAMshvI).
bool takesVIFeminine(const SoundString &stem)
{
    return inStemGroup(StemGroup::VIFeminine, stem);
}

// The colours in -ita may also take -inI (haritA or hariNI, lohitA or lohinI).
QList<SoundString> withColourFeminine(const SoundString &stem, QList<SoundString> feminines)
{
    if (const SoundString inNI = stemGroupPartner(StemGroup::ColourInNI, stem); !inNI.isEmpty())
        feminines.append(inNI);
    return feminines;
}

// The gerundives in -tavya and -anIya are adjectives whatever they stand beside.
bool isGerundive(const SoundString &stem)
{
    return stem.size() > 5 && stem.endsWithOneOf({"tavya", "anIya", "aNIya"});
}

void addForms(FormTable &into, const FormTable &from)
{
    for (int c = 0; c < kCaseCount; ++c) {
        for (int n = 0; n < kNumberCount; ++n) {
            const auto gc = static_cast<GrammaticalCase>(c);
            const auto gn = static_cast<GrammaticalNumber>(n);
            for (const SoundString &form : from.at(gc, gn))
                into.add(gc, gn, form);
        }
    }
}

} // namespace

QList<SoundString> feminineStemsOfAdjective(const SoundString &stem)
{
    if (stem.last() == Sound::u)
        return takesVIFeminine(stem) ? QList<SoundString>{stem.chopped(1) + SoundString("vI")}
                                     : QList<SoundString>{};
    if (stem.last() != Sound::a)
        return {};
    if (isGerundive(stem))
        return {stem.chopped(1) + Sound::A};
    const QString feminine = aStemFeminines().value(stem.toItrans());
    if (feminine.isEmpty())
        return {};
    return withColourFeminine(stem, {SoundString::fromItrans(feminine).value});
}

StemResult declineDerivedFeminine(const QList<SoundString> &stems, FormTable before)
{
    StemResult result = declined(std::move(before));
    for (const SoundString &stem : stems) {
        const StemResult one = declineVowelStem(stem, Gender::Feminine);
        if (!one.forms)
            return one;
        addForms(*result.forms, *one.forms);
        result.derivedStems.append(stem.toItrans());
    }
    return result;
}

} // namespace vantro
