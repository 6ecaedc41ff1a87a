// SPDX-License-Identifier: GPL-3.0-or-later
#include "rootderivatives.h"

#include "conjugation.h"
#include "declension.h"
#include "rootgroups.h"
#include "verbphonology.h"
#include "verbprefixes.h"
#include "verbroots.h"
#include "verbstems.h"

namespace vantro {

namespace {

using namespace verbs;

enum Name {
    PastPassive,
    PastActive,
    PresentActive,
    PresentMiddle,
    PresentPassive,
    FutureActive,
    FutureMiddle,
    Gerund,
    Infinitive,
    GerundiveTavya,
    GerundiveAniya,
    GerundiveYa,
    NameCount
};

// One cell of a tense of the bare root, in sounds.
SoundStrings cellOf(const VerbRoot &root, Pada pada, Tense tense, bool passive, int cell)
{
    return conjugateCellInSounds(root, pada, tense, passive, cell);
}

// Forms ending in the ending, that ending replaced: "gachChanti" - "anti" + "at".
SoundStrings replacedEnding(const SoundStrings &forms, const SoundString &ending,
                            const SoundString &by)
{
    SoundStrings out;
    for (const SoundString &form : forms) {
        if (form.endsWith(ending))
            out.append(finishWord(form.chopped(ending.size()) + by));
    }
    return out;
}

SoundStrings presentActive(const VerbRoot &root)
{
    // The third plural without its i, and the n the reduplicating class has not: gachChanti ->
    // gachChat, kurvanti -> kurvat, yAnti -> yAt, dadati -> dadat.
    const SoundStrings plural = cellOf(root, Pada::Parasmaipada, Tense::Present, false, 2);
    SoundStrings out = replacedEnding(plural, "anti"_sounds, "at"_sounds);
    if (out.isEmpty()) // yAnti -> yAt
        out = replacedEnding(plural, "Anti"_sounds, "At"_sounds);
    if (out.isEmpty())
        out = replacedEnding(plural, "ati"_sounds, "at"_sounds);
    return out;
}

SoundStrings presentMiddle(const VerbRoot &root)
{
    if (const auto fromTable = exceptionFor(root, "prA"))
        return *fromTable;
    if (root.isThematic())
        return replacedEnding(cellOf(root, Pada::Atmanepada, Tense::Present, false, 0),
                              "ate"_sounds, "amAna"_sounds);
    return replacedEnding(cellOf(root, Pada::Atmanepada, Tense::Present, false, 2), "ate"_sounds,
                          "Ana"_sounds);
}

SoundStrings withSuffix(const SoundStrings &stems, const SoundString &suffix)
{
    SoundStrings out;
    for (const SoundString &stem : stems)
        out.append(finishWord(stem + suffix));
    return out;
}

// The forms by name, in sounds and without prefixes, from the root's line for each pada (a
// root may have one for each, with futures of their own: gamiShyati but saMgaMsyate).
std::array<SoundStrings, NameCount> derivativesOf(const VerbRoot *active, const VerbRoot *middle,
                                                  bool prefixed)
{
    std::array<SoundStrings, NameCount> forms;
    const VerbRoot &root = active ? *active : *middle;
    const SoundStrings participles = pastParticiples(root);
    forms[PastPassive] = participles;
    forms[PastActive] = withSuffix(participles, "vat"_sounds);
    if (active)
        forms[PresentActive] = presentActive(*active);
    if (middle)
        forms[PresentMiddle] = presentMiddle(*middle);
    forms[PresentPassive] = replacedEnding(cellOf(root, Pada::Atmanepada, Tense::Present, true, 0),
                                           "ate"_sounds, "amAna"_sounds);
    if (active || root.futureParasmaipada)
        forms[FutureActive] = replacedEnding(
            cellOf(root, Pada::Parasmaipada, Tense::Future, false, 0), "ati"_sounds, "at"_sounds);
    if (middle && !middle->futureParasmaipada)
        forms[FutureMiddle] =
            replacedEnding(cellOf(*middle, Pada::Atmanepada, Tense::Future, false, 0), "ate"_sounds,
                           "amAna"_sounds);
    forms[Gerund] = prefixed ? prefixedGerunds(root) : gerunds(root);
    const SoundStrings infinitives = infinitiveStems(root);
    forms[Infinitive] = withSuffix(infinitives, "um"_sounds);
    forms[GerundiveTavya] = withSuffix(infinitives, "avya"_sounds);
    forms[GerundiveAniya] = gerundivesInAniya(root);
    forms[GerundiveYa] = gerundivesInYa(root);
    return forms;
}

QStringList inItrans(const SoundStrings &prefixes, const SoundString &rootSounds,
                     const SoundStrings &forms)
{
    QStringList out;
    for (const SoundString &form : forms)
        out.append(withPrefixes(prefixes, rootSounds, form).toItrans());
    out.removeDuplicates();
    return out;
}

// dA after a prefix in a keeps only its t (Atta, pratta); after one in i or u the grammars
// lengthen that vowel (nItta), which is not made here.
void shortenedDatta(const SoundStrings &prefixes, RootDerivatives *result,
                    std::array<SoundStrings, NameCount> *forms)
{
    const SoundString &last = prefixes.back();
    if (!isVowel(last.back()))
        return;
    (*forms)[PastPassive].clear();
    (*forms)[PastActive].clear();
    if (last.back() != Sound::a && last.back() != Sound::A)
        return;
    const QString stem =
        withPrefixes(prefixes.mid(0, prefixes.size() - 1), SoundString(), last + "tta").toItrans();
    result->derivatives.append({QStringLiteral("past passive participle"), {stem}, true});
    result->derivatives.append(
        {QStringLiteral("past active participle"), {stem + QStringLiteral("vat")}, true});
}

} // namespace

const QStringList &rootDerivativeNames()
{
    static const QStringList names = {QStringLiteral("past passive participle"),
                                      QStringLiteral("past active participle"),
                                      QStringLiteral("present active participle"),
                                      QStringLiteral("present middle participle"),
                                      QStringLiteral("present passive participle"),
                                      QStringLiteral("future active participle"),
                                      QStringLiteral("future middle participle"),
                                      QStringLiteral("gerund"),
                                      QStringLiteral("infinitive"),
                                      QStringLiteral("gerundive in -tavya"),
                                      QStringLiteral("gerundive in -anIya"),
                                      QStringLiteral("gerundive in -ya")};
    return names;
}

RootDerivatives rootDerivatives(const QString &root, int verbClass)
{
    RootDerivatives result;
    const Outcome<PrefixedRoot> split = splitPrefixes(root);
    if (!split.ok()) {
        result.error = split.error;
        return result;
    }
    const SoundStrings &prefixes = split.value.prefixes;
    const QString &bare = split.value.root;
    // The present tells whether the root and class are known, and why not.
    const VerbRoot *active = nullptr, *middle = nullptr;
    const QList<VerbRoot> entries = findVerbRoot(bare);
    for (const VerbRoot &candidate : entries) {
        if (candidate.verbClass != verbClass)
            continue;
        if (candidate.parasmaipada && !active)
            active = &candidate;
        if (candidate.atmanepada && !middle)
            middle = &candidate;
    }
    if (!active && !middle) {
        const Inflection<VerbParadigm> refused =
            conjugate({bare, verbClass, Pada::Parasmaipada, Tense::Present, false});
        result.error = refused.ok() ? QStringLiteral("%1 is not known in class %2")
                                          .arg(bare, QString::number(verbClass))
                                    : refused.error;
        return result;
    }
    const VerbRoot *entry = active ? active : middle;
    auto forms = derivativesOf(active, middle, !prefixes.isEmpty());
    if (inRootGroup(RootGroup::TtaAfterPrefix, entry->rootSounds) && entry->verbClass == 3 &&
        !prefixes.isEmpty())
        shortenedDatta(prefixes, &result, &forms);
    for (int name = 0; name < NameCount; ++name) {
        if (forms[name].isEmpty())
            continue;
        const bool stem = name != Gerund && name != Infinitive;
        result.derivatives.append({rootDerivativeNames().at(name),
                                   inItrans(prefixes, entry->rootSounds, forms[name]), stem});
    }
    return result;
}

Inflection<NounParadigm> declineDerivative(const QString &stem, Gender gender)
{
    const QString trimmed = stem.trimmed();
    if (gender != Gender::Feminine || !trimmed.endsWith(u'a'))
        return declineNoun(trimmed, gender);
    Inflection<NounParadigm> feminine = declineNoun(trimmed.chopped(1) + u'A', gender);
    if (feminine.ok())
        feminine.derivedStems = {trimmed.chopped(1) + u'A'};
    return feminine;
}

} // namespace vantro
