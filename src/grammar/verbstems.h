// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "verbroots.h"

#include "soundstring.h"

#include <QStringList>

#include <optional>

namespace vantro::verbs {

// The stems outside the present system, in sounds (soundstring.h), the usual first. An
// empty list means the form is not known for the root: the rules do not reach it and the table
// of exceptions (data/verbderivatives.tsv) does not give it.

// The causative stem in -aya ("kAraya", "sthApaya", "ghAtaya"), the usual first; empty where
// neither the rules nor the table of exceptions know it.
SoundStrings causativeStems(const VerbRoot &root);
// The desiderative stem in -a ("jigamiSha") and the one pada it is conjugated in where it keeps
// to one (jij~nAsate, jigamiShati); from the table of exceptions, empty for a root it does not
// list.
SoundStrings desiderativeStems(const VerbRoot &root, std::optional<Pada> *onlyPada);

// A root of the table conjugated without prefixes, in sounds, for the forms made from its
// tenses; the caller has checked that the root takes the pada and the tense (conjugate()).
SoundParadigm conjugateInSounds(const VerbRoot &root, Pada pada, Tense tense, bool passive);
// One cell of that table (0 the third singular ... 8 the first plural), made alone where the
// table is thematic: the participles read one cell each.
SoundStrings conjugateCellInSounds(const VerbRoot &root, Pada pada, Tense tense, bool passive,
                                   int cell);

// The forms the table of exceptions gives for a key of its ("ppp", "inf", "prA"...): nothing
// when it is silent (the rules speak), an empty list when it withholds them.
std::optional<SoundStrings> exceptionFor(const VerbRoot &root, const char *key);
// The same in ITRANS as the table writes it, for the keys whose values carry a kind
// ("a:gam", "s:vAh/voDh" of the aorist).
std::optional<QStringList> exceptionTextFor(const VerbRoot &root, const char *key);

// The root that stands for this one outside the present system (as: bhU, brU: vach), or itself.
VerbRoot substituteRoot(const VerbRoot &root);

// Whether the root takes i before the t of the infinitive and the periphrastic future, either
// way first (kartum without i though kariShyati); nothing where the rules do not tell.
std::optional<QList<bool>> takesIBeforeT(const VerbRoot &root);

// The stem before the t of the infinitive, the periphrastic future and the gerundive in
// -tavya, ending in that t ("gant", "kart", "bhavit", "draShT", "labdh").
SoundStrings infinitiveStems(const VerbRoot &root);
// The past passive participles ("gata", "kR^ita", "bhinna").
SoundStrings pastParticiples(const VerbRoot &root);
// The gerunds in -tvA ("gatvA") and, after a prefix, in -ya ("gatya" of Agatya, "jitya").
SoundStrings gerunds(const VerbRoot &root);
SoundStrings prefixedGerunds(const VerbRoot &root);
// The gerund after a prefix of a stem in -aya, of class 10 or a causative: -ya in place of
// -aya ("chintya", "kArya"), -ayya after a light root syllable ("gaNayya").
SoundString prefixedGerundOfAyaStem(const SoundString &stem);
// The gerundives in -anIya ("karaNIya") and -ya ("kArya", "deya", "gamya").
SoundStrings gerundivesInAniya(const VerbRoot &root);
SoundStrings gerundivesInYa(const VerbRoot &root);
// The stem of the active benedictive before its endings, ending in y ("bhUy", "dey", "kriy"),
// given the stem of the passive the root makes.
SoundStrings benedictiveStems(const VerbRoot &root, const SoundString &passiveStem);

} // namespace vantro::verbs
