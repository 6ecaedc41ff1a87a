// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "verbroots.h"

#include <QStringList>

#include <optional>

namespace vantro::verbs {

// The stems outside the present system, in sounds (see verbphonology.h), the usual first. An
// empty list means the form is not known for the root: the rules do not reach it and the table
// of exceptions (data/verbderivatives.tsv) does not give it.

// The causative stem in -aya ("kAraya", "sTApaya", "GAtaya"), the usual first; empty where
// neither the rules nor the table of exceptions know it.
QStringList causativeStems(const VerbRoot &root);
// The desiderative stem in -a ("jigamiza") and the one pada it is conjugated in where it keeps
// to one (jijYAsate, jigamizati); from the table of exceptions, empty for a root it does not
// list.
QStringList desiderativeStems(const VerbRoot &root, std::optional<Pada> *onlyPada);

// The perfect's stems, in sounds: the third and first singular and the second singular active
// as words, the weak stem the other endings go on, the stem without i before the consonant
// endings for the roots that take none (cakf), and the stem in -Am of the periphrastic
// perfect (IkzAM, corayAM). Empty lists where the perfect of the root is not known.
struct PerfectStems
{
    QStringList third, first, second;
    QString weak, withoutI, periphrastic;
};
PerfectStems perfectStems(const VerbRoot &root);

// The active aorist's formations and stems, in sounds, without the augment: "root" (BU, dA),
// "a" (gam, voc), "sa" (dikz), "s" (nEz, with the stem's s), "iS" (boD) or "siS" (yAs); the
// usual first, empty where the aorist of the root is not known.
QList<QPair<QString, QString>> aoristStems(const VerbRoot &root);

// A root of the table conjugated without prefixes, in sounds, for the forms made from its
// tenses; the caller has checked that the root takes the pada and the tense (conjugate()).
VerbParadigm conjugateInSounds(const VerbRoot &root, Pada pada, Tense tense, bool passive);

// The forms the table of exceptions gives for a key of its ("ppp", "inf", "prA"...): nothing
// when it is silent (the rules speak), an empty list when it withholds them.
std::optional<QStringList> exceptionFor(const VerbRoot &root, const char *key);

// The root that stands for this one outside the present system (as: BU, brU: vac), or itself.
VerbRoot substituteRoot(const VerbRoot &root);

// The stem before the t of the infinitive, the periphrastic future and the gerundive in
// -tavya, ending in that t ("gant", "kart", "Bavit", "drazw", "labD").
QStringList infinitiveStems(const VerbRoot &root);
// The past passive participles ("gata", "kfta", "Binna").
QStringList pastParticiples(const VerbRoot &root);
// The gerunds in -tvA ("gatvA") and, after a prefix, in -ya ("gatya" of Agatya, "jitya").
QStringList gerunds(const VerbRoot &root);
QStringList prefixedGerunds(const VerbRoot &root);
// The gerund after a prefix of a stem in -aya, of class 10 or a causative: -ya in place of
// -aya ("cintya", "kArya"), -ayya after a light root syllable ("gaRayya").
QString prefixedGerundOfAyaStem(const QString &stem);
// The gerundives in -anIya ("karaRIya") and -ya ("kArya", "deya", "gamya").
QStringList gerundivesInAniya(const VerbRoot &root);
QStringList gerundivesInYa(const VerbRoot &root);
// The stem of the active benedictive before its endings, ending in y ("BUy", "dey", "kriy"),
// given the stem of the passive the root makes.
QStringList benedictiveStems(const VerbRoot &root, const QString &passiveStem);

} // namespace vantro::verbs
