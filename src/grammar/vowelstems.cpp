// SPDX-License-Identifier: GPL-3.0-or-later
// Stems in a vowel: the endings are written after the stem without its final vowel.
#include "declensionparts.h"
#include "endingtable.h"
#include "stemgroups.h"

#include <algorithm>

namespace vantro {

namespace {

// clang-format off
const char *const kAMasculine = // deva
    "as au As | am au An | ena AbhyAm ais | Aya AbhyAm ebhyas | At AbhyAm ebhyas |"
    " asya ayos AnAm | e ayos eShu | a au As";
const char *const kANeuter = // jala
    "am e Ani | am e Ani | ena AbhyAm ais | Aya AbhyAm ebhyas | At AbhyAm ebhyas |"
    " asya ayos AnAm | e ayos eShu | a e Ani";
const char *const kLongAFeminine = // latA
    "A e As | Am e As | ayA AbhyAm Abhis | Ayai AbhyAm Abhyas | AyAs AbhyAm Abhyas |"
    " AyAs ayos AnAm | AyAm ayos Asu | e e As";
const char *const kLongAMasculine = // vishvapA, gopA: roots in A
    "As au As | Am au as | A AbhyAm Abhis | e AbhyAm Abhyas | as AbhyAm Abhyas |"
    " as os Am | i os Asu | As au As";
const char *const kIMasculine = // agni
    "is I ayas | im I In | inA ibhyAm ibhis | aye ibhyAm ibhyas | es ibhyAm ibhyas |"
    " es yos InAm | au yos iShu | e I ayas";
const char *const kIFeminine = // mati
    "is I ayas | im I Is | yA ibhyAm ibhis | yai,aye ibhyAm ibhyas | yAs,es ibhyAm ibhyas |"
    " yAs,es yos InAm | yAm,au yos iShu | e I ayas";
const char *const kINeuter = // vAri
    "i inI Ini | i inI Ini | inA ibhyAm ibhis | ine ibhyAm ibhyas | inas ibhyAm ibhyas |"
    " inas inos InAm | ini inos iShu | i,e inI Ini";
const char *const kLongIFeminine = // nadI
    "I yau yas | Im yau Is | yA IbhyAm Ibhis | yai IbhyAm Ibhyas | yAs IbhyAm Ibhyas |"
    " yAs yos InAm | yAm yos IShu | i yau yas";
const char *const kLongIFeminineWithS = // lakShmI, tarI, tantrI, avI
    "Is yau yas | Im yau Is | yA IbhyAm Ibhis | yai IbhyAm Ibhyas | yAs IbhyAm Ibhyas |"
    " yAs yos InAm | yAm yos IShu | i yau yas";
const char *const kMonosyllabicIFeminine = // dhI, shrI
    "Is iyau iyas | iyam iyau iyas | iyA IbhyAm Ibhis | iye,iyai IbhyAm Ibhyas |"
    " iyas,iyAs IbhyAm Ibhyas | iyas,iyAs iyos iyAm,InAm | iyi,iyAm iyos IShu | Is iyau iyas";
// Masculines in I and U are compounds ending in a root: -nI, -pU make a semivowel of it
// (grAmaNyau, khalapvau; -nI with a locative in -Am), sudhI, -bhU and the words of one syllable
// or after a conjunct keep the vowel (sudhiyau, svayambhuvau).
const char *const kLongIMasculineNI = // grAmaNI, senAnI
    "Is yau yas | yam yau yas | yA IbhyAm Ibhis | ye IbhyAm Ibhyas | yas IbhyAm Ibhyas |"
    " yas yos yAm | yAm yos IShu | Is yau yas";
const char *const kLongIMasculine = // pradhI
    "Is yau yas | yam yau yas | yA IbhyAm Ibhis | ye IbhyAm Ibhyas | yas IbhyAm Ibhyas |"
    " yas yos yAm | yi yos IShu | Is yau yas";
const char *const kLongIMasculineIy = // sudhI
    "Is iyau iyas | iyam iyau iyas | iyA IbhyAm Ibhis | iye IbhyAm Ibhyas | iyas IbhyAm Ibhyas |"
    " iyas iyos iyAm | iyi iyos IShu | Is iyau iyas";
const char *const kLongUMasculine = // khalapU
    "Us vau vas | vam vau vas | vA UbhyAm Ubhis | ve UbhyAm Ubhyas | vas UbhyAm Ubhyas |"
    " vas vos vAm | vi vos UShu | Us vau vas";
const char *const kLongUMasculineUv = // svayambhU
    "Us uvau uvas | uvam uvau uvas | uvA UbhyAm Ubhis | uve UbhyAm Ubhyas | uvas UbhyAm Ubhyas |"
    " uvas uvos uvAm | uvi uvos UShu | Us uvau uvas";
const char *const kUMasculine = // guru
    "us U avas | um U Un | unA ubhyAm ubhis | ave ubhyAm ubhyas | os ubhyAm ubhyas |"
    " os vos UnAm | au vos uShu | o U avas";
const char *const kUFeminine = // dhenu
    "us U avas | um U Us | vA ubhyAm ubhis | vai,ave ubhyAm ubhyas | vAs,os ubhyAm ubhyas |"
    " vAs,os vos UnAm | vAm,au vos uShu | o U avas";
const char *const kUNeuter = // madhu
    "u unI Uni | u unI Uni | unA ubhyAm ubhis | une ubhyAm ubhyas | unas ubhyAm ubhyas |"
    " unas unos UnAm | uni unos uShu | u,o unI Uni";
const char *const kLongUFeminine = // vadhU
    "Us vau vas | Um vau Us | vA UbhyAm Ubhis | vai UbhyAm Ubhyas | vAs UbhyAm Ubhyas |"
    " vAs vos UnAm | vAm vos UShu | u vau vas";
const char *const kMonosyllabicUFeminine = // bhU, bhrU
    "Us uvau uvas | uvam uvau uvas | uvA UbhyAm Ubhis | uve,uvai UbhyAm Ubhyas |"
    " uvas,uvAs UbhyAm Ubhyas | uvas,uvAs uvos uvAm,UnAm | uvi,uvAm uvos UShu | Us uvau uvas";
const char *const kAgentMasculine = // dAtR^i
    "A Arau Aras | Aram Arau R^In | rA R^ibhyAm R^ibhis | re R^ibhyAm R^ibhyas |"
    " us R^ibhyAm R^ibhyas | us ros R^InAm | ari ros R^iShu | ar Arau Aras";
const char *const kKinshipMasculine = // pitR^i
    "A arau aras | aram arau R^In | rA R^ibhyAm R^ibhis | re R^ibhyAm R^ibhyas |"
    " us R^ibhyAm R^ibhyas | us ros R^InAm | ari ros R^iShu | ar arau aras";
const char *const kKinshipFeminine = // mAtR^i
    "A arau aras | aram arau R^Is | rA R^ibhyAm R^ibhis | re R^ibhyAm R^ibhyas |"
    " us R^ibhyAm R^ibhyas | us ros R^InAm | ari ros R^iShu | ar arau aras";
const char *const kSvasRiFeminine = // svasR^i: the strong stem of the agent nouns
    "A Arau Aras | Aram Arau R^Is | rA R^ibhyAm R^ibhis | re R^ibhyAm R^ibhyas |"
    " us R^ibhyAm R^ibhyas | us ros R^InAm | ari ros R^iShu | ar Arau Aras";
const char *const kRiNeuter = // kartR^i: optionally like the masculine in the weak cases
    "R^i R^inI R^Ini | R^i R^inI R^Ini | R^inA,rA R^ibhyAm R^ibhis | R^ine,re R^ibhyAm R^ibhyas |"
    " R^inas,us R^ibhyAm R^ibhyas | R^inas,us R^inos,ros R^InAm | R^ini,ari R^inos,ros R^iShu |"
    " R^i,ar R^inI R^Ini";
const char *const kO = // go, dyo
    "aus Avau Avas | Am Avau As | avA obhyAm obhis | ave obhyAm obhyas | os obhyAm obhyas |"
    " os avos avAm | avi avos oShu | aus Avau Avas";
const char *const kAu = // nau, glau
    "aus Avau Avas | Avam Avau Avas | AvA aubhyAm aubhis | Ave aubhyAm aubhyas |"
    " Avas aubhyAm aubhyas | Avas Avos AvAm | Avi Avos auShu | aus Avau Avas";
const char *const kAi = // rai
    "As Ayau Ayas | Ayam Ayau Ayas | AyA AbhyAm Abhis | Aye AbhyAm Abhyas | Ayas AbhyAm Abhyas |"
    " Ayas Ayos AyAm | Ayi Ayos Asu | As Ayau Ayas";
// clang-format on

template <const char *const *Rows> FormTable decline(const SoundString &stem)
{
    return endingTable<Rows>().applyTo(stem.chopped(1));
}

StemResult byGender(Gender gender, FormTable (*masculine)(const SoundString &),
                    FormTable (*feminine)(const SoundString &),
                    FormTable (*neuter)(const SoundString &), const SoundString &stem)
{
    FormTable (*decliner)(const SoundString &) = gender == Gender::Masculine  ? masculine
                                                 : gender == Gender::Feminine ? feminine
                                                                              : neuter;
    if (decliner)
        return declined(decliner(stem));
    std::initializer_list<Gender> genders[] = {{Gender::Feminine, Gender::Neuter},
                                               {Gender::Masculine, Gender::Neuter},
                                               {Gender::Masculine, Gender::Feminine}};
    return refusedGender(stem.toItrans(), genders[static_cast<int>(gender)]);
}

FormTable declineLongIFeminine(const SoundString &stem)
{
    if (stem.syllableCount() == 1)
        return decline<&kMonosyllabicIFeminine>(stem);
    if (inStemGroup(StemGroup::LongIWithS, stem))
        return decline<&kLongIFeminineWithS>(stem);
    return decline<&kLongIFeminine>(stem);
}

// An adjective in -i or -u may take the masculine's forms in the neuter's weak cases before a
// vowel (shuchine or shuchaye, guruNe or gurave); the nouns that are neuter only may not.
FormTable withMasculineAlternatives(FormTable neuter, const FormTable &masculine,
                                    const SoundString &stem)
{
    if (inStemGroup(StemGroup::NeuterOnlyIU, stem))
        return neuter;
    using C = GrammaticalCase;
    using N = GrammaticalNumber;
    const std::pair<C, N> cells[] = {{C::Dative, N::Singular},   {C::Ablative, N::Singular},
                                     {C::Genitive, N::Singular}, {C::Locative, N::Singular},
                                     {C::Genitive, N::Dual},     {C::Locative, N::Dual}};
    for (const auto &[c, n] : cells)
        for (const SoundString &form : masculine.at(c, n))
            neuter.add(c, n, form);
    return neuter;
}

FormTable declineINeuter(const SoundString &stem)
{
    return withMasculineAlternatives(decline<&kINeuter>(stem), decline<&kIMasculine>(stem), stem);
}

FormTable declineUNeuter(const SoundString &stem)
{
    return withMasculineAlternatives(decline<&kUNeuter>(stem), decline<&kUMasculine>(stem), stem);
}

bool keepsLongVowel(const SoundString &stem)
{
    return stem.syllableCount() == 1 || inStemGroup(StemGroup::LongVowelKept, stem) ||
           (isConsonant(stem.last(2)) && isConsonant(stem.last(3)));
}

FormTable declineLongIMasculine(const SoundString &stem)
{
    if (keepsLongVowel(stem)) {
        FormTable forms = decline<&kLongIMasculineIy>(stem);
        // nI "leader" and unnI take the locative in -Am as grAmaNI does (niyAm, not niyi).
        if (inStemGroup(StemGroup::LocativeInAm, stem))
            forms.set(GrammaticalCase::Locative, GrammaticalNumber::Singular,
                      stem.chopped(1) + SoundString("iyAm"));
        return forms;
    }
    return inStemGroup(StemGroup::LeaderNI, stem) ? decline<&kLongIMasculineNI>(stem)
                                                  : decline<&kLongIMasculine>(stem);
}

FormTable declineLongUMasculine(const SoundString &stem)
{
    return keepsLongVowel(stem) ? decline<&kLongUMasculineUv>(stem)
                                : decline<&kLongUMasculine>(stem);
}

FormTable declineLongUFeminine(const SoundString &stem)
{
    return stem.syllableCount() == 1 ? decline<&kMonosyllabicUFeminine>(stem)
                                     : decline<&kLongUFeminine>(stem);
}

bool isKinshipMasculine(const SoundString &stem)
{
    return inStemGroup(StemGroup::KinshipMasculine, stem);
}

// The words of relationship keep a short vowel in the strong cases; agent nouns and svasR^i,
// naptR^i lengthen it.
FormTable declineRiMasculine(const SoundString &stem)
{
    if (isKinshipMasculine(stem))
        return decline<&kKinshipMasculine>(stem);
    return decline<&kAgentMasculine>(stem);
}

// The feminine R^i-stems are the few words of relationship; an agent noun's feminine is its
// own stem in -trI (dAtrI, kartrI, draShTrI); a masculine word of relationship has none.
StemResult declineRiFeminine(const SoundString &stem)
{
    if (inStemGroup(StemGroup::LengtheningFeminineRi, stem))
        return declined(decline<&kSvasRiFeminine>(stem));
    if (inStemGroup(StemGroup::KinshipFeminine, stem))
        return declined(decline<&kKinshipFeminine>(stem));
    const Sound suffix = stem.last(2);
    if (isKinshipMasculine(stem) || stem.size() < 3 ||
        !(suffix == Sound::t || suffix == Sound::T || suffix == Sound::Dh))
        return refusedGender(stem.toItrans(), {Gender::Masculine, Gender::Neuter});
    return declineDerivedFeminine({stem.chopped(1) + SoundString("rI")});
}

StemResult declineAFeminine(const SoundString &stem)
{
    const QList<SoundString> feminines = feminineStemsOfAdjective(stem);
    if (feminines.isEmpty())
        return refused(QStringLiteral("%1 is masculine or neuter; an adjective's feminine is a "
                                      "stem of its own in -A or -I (%2A or %2I): give that")
                           .arg(stem.toItrans(), stem.chopped(1).toItrans()));
    return declineDerivedFeminine(feminines);
}

// An adjective of quality in -u may take -vI beside (guruH or gurvI).
StemResult declineUFeminine(const SoundString &stem)
{
    // pa~Ngu and the like make their feminine in -U (pa~NgUH), not as dhenu.
    if (inStemGroup(StemGroup::FeminineInU, stem))
        return declineDerivedFeminine({stem.chopped(1) + Sound::U});
    FormTable own = decline<&kUFeminine>(stem);
    const QList<SoundString> feminines = feminineStemsOfAdjective(stem);
    if (feminines.isEmpty())
        return declined(std::move(own));
    StemResult result = declineDerivedFeminine(feminines, std::move(own));
    result.derivedStems.prepend(stem.toItrans());
    return result;
}

// jarA may take jaras before the endings that begin with a vowel (jarasau, jarasA, jarasAm).
void addFormsInAs(const SoundString &stemInAs, FormTable &forms)
{
    using C = GrammaticalCase;
    using N = GrammaticalNumber;
    const StemResult jaras = declineConsonantStem(stemInAs, Gender::Feminine);
    if (!jaras.forms)
        return;
    const std::pair<C, N> cells[] = {
        {C::Nominative, N::Dual}, {C::Nominative, N::Plural}, {C::Accusative, N::Singular},
        {C::Accusative, N::Dual}, {C::Accusative, N::Plural}, {C::Instrumental, N::Singular},
        {C::Dative, N::Singular}, {C::Ablative, N::Singular}, {C::Genitive, N::Singular},
        {C::Genitive, N::Dual},   {C::Genitive, N::Plural},   {C::Locative, N::Singular},
        {C::Locative, N::Dual},   {C::Vocative, N::Dual},     {C::Vocative, N::Plural}};
    for (const auto &[c, n] : cells)
        for (const SoundString &form : jaras.forms->at(c, n))
            forms.add(c, n, form);
}

// ambA, akkA, allA "mother" shorten their vowel in the vocative.
FormTable declineLongAFeminine(const SoundString &stem)
{
    FormTable forms = decline<&kLongAFeminine>(stem);
    if (const SoundString inAs = stemGroupPartner(StemGroup::StemInAsBeside, stem); !inAs.isEmpty())
        addFormsInAs(inAs, forms);
    if (inStemGroup(StemGroup::ShortVocativeA, stem))
        forms.set(GrammaticalCase::Vocative, GrammaticalNumber::Singular,
                  stem.chopped(1) + Sound::a);
    return forms;
}

} // namespace

StemResult declineVowelStem(const SoundString &stem, Gender gender)
{
    switch (stem.last()) {
    case Sound::a:
        if (gender == Gender::Feminine)
            return declineAFeminine(stem);
        return byGender(gender, decline<&kAMasculine>, nullptr, decline<&kANeuter>, stem);
    case Sound::A:
        return byGender(gender, decline<&kLongAMasculine>, declineLongAFeminine, nullptr, stem);
    case Sound::i:
        return byGender(gender, decline<&kIMasculine>, decline<&kIFeminine>, declineINeuter, stem);
    case Sound::I:
        return byGender(gender, declineLongIMasculine, declineLongIFeminine, nullptr, stem);
    case Sound::u:
        if (gender == Gender::Feminine)
            return declineUFeminine(stem);
        return byGender(gender, decline<&kUMasculine>, nullptr, declineUNeuter, stem);
    case Sound::U:
        return byGender(gender, declineLongUMasculine, declineLongUFeminine, nullptr, stem);
    case Sound::Ri:
        if (gender == Gender::Feminine)
            return declineRiFeminine(stem);
        return byGender(gender, declineRiMasculine, nullptr, decline<&kRiNeuter>, stem);
    case Sound::o:
        return byGender(gender, decline<&kO>, decline<&kO>, nullptr, stem);
    case Sound::au:
        return byGender(gender, decline<&kAu>, decline<&kAu>, nullptr, stem);
    case Sound::ai:
        return byGender(gender, decline<&kAi>, decline<&kAi>, nullptr, stem);
    default:
        return {};
    }
}

} // namespace vantro
