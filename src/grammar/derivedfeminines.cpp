// SPDX-License-Identifier: GPL-3.0-or-later
// The feminine of an adjective is mostly a stem of its own: priyA of priya, gurvI of guru,
// bhavantI of bhavat. The consonant stems derive it by rule; an a- or u-stem cannot tell an
// adjective from a noun (deva's feminine is not devA), so those are the adjectives named here.
#include "declensionparts.h"
#include "stemgroups.h"

#include <QHash>

namespace vantro {

namespace {

// Adjectives in -a, most of them as the starter dictionary cites them, whose feminine the
// grammars and lexicons give: most take -A; the gaurAdi words (gaura, taruNa), the agent
// nouns in -aka of the ShvuN type, sundara and purAtana (made with the suffix tyu, whose
// feminine is in -I) take -I; nUtana (made with tanap) takes -A.
const QHash<QString, QString> &aStemFeminines()
{
    static const QHash<QString, QString> feminines = [] {
        QHash<QString, QString> all;
        for (const char *stem :
             {"priya",     "shubha",      "nava",     "madhura",   "kaThina",   "komala",
              "dIrgha",    "hrasva",      "uchcha",   "nIcha",     "vishAla",   "vimala",
              "nirmala",   "chapala",     "sthira",   "bAla",      "vR^iddha",  "chatura",
              "pavitra",   "shuddha",     "satya",    "asatya",    "dhanya",    "pUrNa",
              "sampUrNa",  "shUnya",      "sthUla",   "sUkShma",   "shukla",    "shveta",
              "kR^iShNa",  "rakta",       "kR^isha",  "ramya",     "shAnta",    "durbala",
              "sabala",    "kushala",     "nipuNa",   "Adya",      "Ardra",     "adhama",
              "uttama",    "akhila",      "sakala",   "alpa",      "amla",      "tikta",
              "andha",     "badhira",     "aneka",    "antima",    "uchita",    "anuchita",
              "bhadra",    "daridra",     "nirdhana", "druta",     "duShTa",    "duShkara",
              "sukara",    "sugama",      "gabhIra",  "kShudra",   "khinna",    "klinna",
              "koShNa",    "uShNa",       "shIta",    "kruddha",   "kupita",    "kurUpa",
              "virUpa",    "malina",      "manda",    "mUDha",     "mUrkha",    "mR^ita",
              "nishchita", "paNDita",     "prAchIna", "prasanna",  "prasiddha", "vikhyAta",
              "puNya",     "rikta",       "sajja",    "samAna",    "sannaddha", "sarala",
              "shIghra",   "shrAnta",     "shuShka",  "tIkShNa",   "unnata",    "vAma",
              "vistIrNa",  "bubhukShita", "pipAsita", "kShudhita", "tR^iShita", "duHkhita",
              "nIla",      "pIta",        "purANa",   "nUtana",    "vIra",      "shUra",
              "sama",      "manohara",    "dhanika",  "jIvita",    "pratyeka",  "harita",
              "lohita"}) {
            const SoundString a(stem);
            all.insert(a.toItrans(), a.chopped(1).append(Sound::A).toItrans());
        }
        for (const char *stem : {"sundara", "gaura", "nartaka", "taruNa", "purAtana"}) {
            const SoundString a(stem);
            all.insert(a.toItrans(), a.chopped(1).append(Sound::I).toItrans());
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
    if (stem.isOneOf({"harita"}))
        feminines.append(SoundString("hariNI"));
    else if (stem.isOneOf({"lohita"}))
        feminines.append(SoundString("lohinI"));
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
    return withColourFeminine(stem, {*SoundString::fromItrans(feminine)});
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
