// SPDX-License-Identifier: GPL-3.0-or-later
// The nouns the grammars decline by name.
#include "declensionparts.h"
#include "endingtable.h"
#include "nounstems.h"

#include <QHash>

namespace vantro {

namespace {

// clang-format off
// Endings after the stem without its final vowel.
const char *const kSakhi =
    "A Ayau Ayas | Ayam Ayau In | yA ibhyAm ibhis | ye ibhyAm ibhyas | yus ibhyAm ibhyas |"
    " yus yos InAm | yau yos iShu | e Ayau Ayas";
const char *const kPati =
    "is I ayas | im I In | yA ibhyAm ibhis | ye ibhyAm ibhyas | yus ibhyAm ibhyas |"
    " yus yos InAm | yau yos iShu | e I ayas";
const char *const kStrI =
    "I iyau iyas | iyam,Im iyau iyas,Is | iyA IbhyAm Ibhis | iyai IbhyAm Ibhyas |"
    " iyAs IbhyAm Ibhyas | iyAs iyos InAm | iyAm iyos IShu | i iyau iyas";
// Like an agent noun in the strong cases and, at choice, in the weak cases before a vowel.
const char *const kKroShTu =
    "A Arau Aras | Aram Arau Un | rA,unA ubhyAm ubhis | re,ave ubhyAm ubhyas |"
    " us,os ubhyAm ubhyas | us,os ros,vos UnAm | ari,au ros,vos uShu | o Arau Aras";
// dadhi, asthi, sakthi, akShi: the weak cases before a vowel from a stem in -an.
const char *const kDadhi =
    "i inI Ini | i inI Ini | nA ibhyAm ibhis | ne ibhyAm ibhyas | nas ibhyAm ibhyas |"
    " nas nos nAm | ni,ani nos iShu | i,e inI Ini";
const char *const kNRi =
    "A arau aras | aram arau R^In | rA R^ibhyAm R^ibhis | re R^ibhyAm R^ibhyas |"
    " us R^ibhyAm R^ibhyas | us ros R^InAm,R^inAm | ari ros R^iShu | ar arau aras";
// Endings after d-.
const char *const kDiv =
    "yaus ivau ivas | ivam ivau ivas | ivA yubhyAm yubhis | ive yubhyAm yubhyas |"
    " ivas yubhyAm yubhyas | ivas ivos ivAm | ivi ivos yuShu | yaus ivau ivas";
// Whole forms: ap is used in the plural only.
const char *const kAp =
    "- - Apas | - - apas | - - adbhis | - - adbhyas | - - adbhyas | - - apAm | - - apsu |"
    " - - Apas";
// clang-format on

template <const char *const *Rows> FormTable fromTable(const SoundString &stem)
{
    return endingTable<Rows>().applyTo(stem.chopped(1));
}

FormTable declineDiv(const SoundString &)
{
    return endingTable<&kDiv>().applyTo(SoundString("d"));
}

FormTable declineAp(const SoundString &)
{
    return endingTable<&kAp>().applyTo({});
}

// pathin, mathin: strong panthAn-, nominative panthAH, weakest path-; R^ibhukShin alike
// without the nasal.
FormTable declinePathin(const SoundString &stem)
{
    const SoundString base = stem.chopped(2);
    SoundString strong = base;
    if (base.last() == Sound::th)
        strong.insert(base.size() - 1, Sound::n);
    ConsonantStem s;
    s.strong = strong + SoundString("An");
    s.nominative = strong + SoundString("As");
    s.vocative = {s.nominative};
    s.middle = base + SoundString("i");
    s.weakest = base;
    return declineConsonant(s, Gender::Masculine);
}

// A masculine given by its grades, as the grammars print them.
FormTable declineByGrades(const char *strong, const char *nominative, const char *vocative,
                          const char *middle, const char *weakest)
{
    ConsonantStem s;
    s.strong = SoundString(strong);
    s.nominative = SoundString(nominative);
    s.vocative = {SoundString(vocative)};
    s.middle = SoundString(middle);
    s.weakest = SoundString(weakest);
    return declineConsonant(s, Gender::Masculine);
}

FormTable declinePuMs(const SoundString &)
{
    return declineByGrades("pumAns", "pumAn", "puman", "pum", "puMs");
}

// The d of the middle stem is the grammar's own (anaDudbhyAm, anaDutsu).
FormTable declineAnaDuh(const SoundString &)
{
    return declineByGrades("anaDvAh", "anaDvAn", "anaDvan", "anaDud", "anaDuh");
}

FormTable declineAhan(const SoundString &)
{
    ConsonantStem s;
    s.middle = SoundString("ahas");
    s.weakest = SoundString("ahn");
    s.neuterSingular = {SoundString("ahas")};
    s.neuterDual = {SoundString("ahnI"), SoundString("ahanI")};
    s.neuterPlural = {SoundString("ahAni")};
    s.locativeSingular = {SoundString("ahani")};
    return declineConsonant(s, Gender::Neuter);
}

using Decline = FormTable (*)(const SoundString &stem);

// The irregular paradigms by the name data/nounstems.tsv gives them.
Decline paradigmNamed(const QString &name)
{
    static const QHash<QString, Decline> paradigms = {
        {QStringLiteral("sakhi"), fromTable<&kSakhi>},
        {QStringLiteral("pati"), fromTable<&kPati>},
        {QStringLiteral("strI"), fromTable<&kStrI>},
        {QStringLiteral("kroShTu"), fromTable<&kKroShTu>},
        {QStringLiteral("dadhi"), fromTable<&kDadhi>},
        {QStringLiteral("nR^i"), fromTable<&kNRi>},
        {QStringLiteral("div"), declineDiv},
        {QStringLiteral("ap"), declineAp},
        {QStringLiteral("pathin"), declinePathin},
        {QStringLiteral("puMs"), declinePuMs},
        {QStringLiteral("anaDuh"), declineAnaDuh},
        {QStringLiteral("ahan"), declineAhan},
    };
    return paradigms.value(name);
}

struct Irregular
{
    Gender gender;
    Decline decline;
};

const QHash<QString, Irregular> &irregulars()
{
    static const QHash<QString, Irregular> table = [] {
        QHash<QString, Irregular> byStem;
        for (const NamedNounStem &row : namedNounStems())
            if (const Decline decline = paradigmNamed(row.declinedBy))
                byStem.insert(row.stem, {row.genders.first(), decline});
        return byStem;
    }();
    return table;
}

} // namespace

StemResult declineIrregularNoun(const QString &key, Gender gender)
{
    const auto found = irregulars().constFind(key);
    if (found == irregulars().constEnd())
        return {};
    if (found->gender != gender)
        return refusedGender(key, {found->gender});
    return declined(found->decline(SoundString::fromItrans(key).value));
}

} // namespace vantro
