// SPDX-License-Identifier: GPL-3.0-or-later
#include "rootderivatives.h"

#include "conjugation.h"
#include "declension.h"
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

QStringList soundsOf(const QStringList &itrans)
{
    QStringList out;
    for (const QString &form : itrans) {
        bool ok = false;
        out.append(soundsFromItrans(form, &ok));
    }
    return out;
}

// The first cell of a tense of the bare root, in sounds, or nothing where it is not made.
QStringList cellOf(const QString &root, int verbClass, Pada pada, Tense tense, bool passive,
                   int cell)
{
    const Inflection<VerbParadigm> made = conjugate({root, verbClass, pada, tense, passive});
    return made.ok() ? soundsOf(made.paradigm.cells[std::size_t(cell)]) : QStringList();
}

// Forms ending in the ending, that ending replaced: "gacCanti" - "anti" + "at".
QStringList replacedEnding(const QStringList &forms, const QString &ending, const QString &by)
{
    QStringList out;
    for (const QString &form : forms) {
        if (form.endsWith(ending))
            out.append(finishWord(form.chopped(ending.size()) + by));
    }
    return out;
}

QStringList presentActive(const VerbRoot &root)
{
    // The third plural without its i, and the n the reduplicating class has not: gacCanti ->
    // gacCat, kurvanti -> kurvat, dadati -> dadat.
    const QStringList plural =
        cellOf(root.root, root.verbClass, Pada::Parasmaipada, Tense::Present, false, 2);
    QStringList out = replacedEnding(plural, QStringLiteral("anti"), QStringLiteral("at"));
    if (out.isEmpty())
        out = replacedEnding(plural, QStringLiteral("ati"), QStringLiteral("at"));
    return out;
}

QStringList presentMiddle(const VerbRoot &root, const QStringList &given)
{
    if (!given.isEmpty())
        return given;
    if (const auto fromTable = exceptionFor(root, "prA"))
        return *fromTable;
    if (root.isThematic())
        return replacedEnding(
            cellOf(root.root, root.verbClass, Pada::Atmanepada, Tense::Present, false, 0),
            QStringLiteral("ate"), QStringLiteral("amAna"));
    return replacedEnding(
        cellOf(root.root, root.verbClass, Pada::Atmanepada, Tense::Present, false, 2),
        QStringLiteral("ate"), QStringLiteral("Ana"));
}

QStringList withSuffix(const QStringList &stems, const QString &suffix)
{
    QStringList out;
    for (const QString &stem : stems)
        out.append(finishWord(stem + suffix));
    return out;
}

// The forms of one root entry by name, in sounds and without prefixes.
std::array<QStringList, NameCount>
derivativesOf(const VerbRoot &root, const QStringList &presentMiddleGiven, bool prefixed)
{
    std::array<QStringList, NameCount> forms;
    const QStringList participles = pastParticiples(root);
    forms[PastPassive] = participles;
    forms[PastActive] = withSuffix(participles, QStringLiteral("vat"));
    if (root.parasmaipada)
        forms[PresentActive] = presentActive(root);
    if (root.atmanepada)
        forms[PresentMiddle] = presentMiddle(root, presentMiddleGiven);
    forms[PresentPassive] =
        replacedEnding(cellOf(root.root, root.verbClass, Pada::Atmanepada, Tense::Present, true, 0),
                       QStringLiteral("ate"), QStringLiteral("amAna"));
    const Pada futureActive = Pada::Parasmaipada, futureMiddle = Pada::Atmanepada;
    if (root.parasmaipada || root.futureParasmaipada)
        forms[FutureActive] =
            replacedEnding(cellOf(root.root, root.verbClass, futureActive, Tense::Future, false, 0),
                           QStringLiteral("ati"), QStringLiteral("at"));
    if (root.atmanepada && !root.futureParasmaipada)
        forms[FutureMiddle] =
            replacedEnding(cellOf(root.root, root.verbClass, futureMiddle, Tense::Future, false, 0),
                           QStringLiteral("ate"), QStringLiteral("amAna"));
    forms[Gerund] = prefixed ? prefixedGerunds(root) : gerunds(root);
    const QStringList infinitives = infinitiveStems(root);
    forms[Infinitive] = withSuffix(infinitives, QStringLiteral("um"));
    forms[GerundiveTavya] = withSuffix(infinitives, QStringLiteral("avya"));
    forms[GerundiveAniya] = gerundivesInAniya(root);
    forms[GerundiveYa] = gerundivesInYa(root);
    return forms;
}

QStringList inItrans(const QStringList &prefixes, const QString &rootSounds,
                     const QStringList &forms)
{
    QStringList out;
    for (const QString &form : forms)
        out.append(itransFromSounds(withPrefixes(prefixes, rootSounds, form)));
    out.removeDuplicates();
    return out;
}

// dA after a prefix in a keeps only its t (Atta, pratta); after one in i or u the grammars
// lengthen that vowel (nItta), which is not made here.
void shortenedDatta(const QStringList &prefixes, RootDerivatives *result,
                    std::array<QStringList, NameCount> *forms)
{
    const QString &last = prefixes.back();
    if (!isVowel(last.back()))
        return;
    (*forms)[PastPassive].clear();
    (*forms)[PastActive].clear();
    if (last.back() != u'a' && last.back() != u'A')
        return;
    const QString stem = itransFromSounds(withPrefixes(prefixes.mid(0, prefixes.size() - 1),
                                                       QString(), last + QStringLiteral("tta")));
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
    QStringList prefixes;
    QString bare;
    if (!splitPrefixes(root, &prefixes, &bare, &result.error))
        return result;
    // The present tells whether the root and class are known, and why not.
    const VerbRoot *entry = nullptr;
    const QList<VerbRoot> entries = findVerbRoot(bare);
    for (const VerbRoot &candidate : entries) {
        if (candidate.verbClass == verbClass) {
            entry = &candidate;
            break;
        }
    }
    if (!entry) {
        const Inflection<VerbParadigm> refused =
            conjugate({bare, verbClass, Pada::Parasmaipada, Tense::Present, false});
        result.error = refused.ok() ? QStringLiteral("%1 is not known in class %2")
                                          .arg(bare, QString::number(verbClass))
                                    : refused.error;
        return result;
    }
    // A root with a line for each pada (i: eti, adhIte) takes its middle participle from the
    // middle line.
    QStringList middle;
    VerbRoot merged = *entry;
    for (const VerbRoot &candidate : entries) {
        if (candidate.verbClass == verbClass && candidate.atmanepada && !entry->atmanepada) {
            middle = presentMiddle(candidate, {});
            merged.atmanepada = true;
        }
    }
    auto forms = derivativesOf(merged, middle, !prefixes.isEmpty());
    if (entry->rootSounds == u"dA" && entry->verbClass == 3 && !prefixes.isEmpty())
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
