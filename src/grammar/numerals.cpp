// SPDX-License-Identifier: GPL-3.0-or-later
// The cardinals from two to nineteen and kati (eka is a pronominal adjective).
#include "declensionparts.h"
#include "endingtable.h"
#include "stemgroups.h"

namespace vantro {

namespace {

// clang-format off
// After the stem without its last vowel.
const char *const kDviMasculine =
    "- au - | - au - | - AbhyAm - | - AbhyAm - | - AbhyAm - | - ayos - | - ayos - | - au -";
const char *const kDviOther =
    "- e - | - e - | - AbhyAm - | - AbhyAm - | - AbhyAm - | - ayos - | - ayos - | - e -";
const char *const kKati = // kati, yati, tati
    "- - i | - - i | - - ibhis | - - ibhyas | - - ibhyas | - - InAm | - - iShu | - - i";
// After the stem without its -an: pa~nchan, saptan, navan, dashan, ekAdashan...
const char *const kPanchan =
    "- - a | - - a | - - abhis | - - abhyas | - - abhyas | - - AnAm | - - asu | - - a";
const char *const kAShTan =
    "- - au,a | - - au,a | - - Abhis,abhis | - - Abhyas,abhyas | - - Abhyas,abhyas |"
    " - - AnAm | - - Asu,asu | - - au,a";
// Whole forms.
const char *const kShaSh =
    "- - ShaT | - - ShaT | - - ShaDbhis | - - ShaDbhyas | - - ShaDbhyas | - - ShaNNAm |"
    " - - ShaTsu | - - ShaT";
const char *const kTriMasculine =
    "- - trayas | - - trIn | - - tribhis | - - tribhyas | - - tribhyas | - - trayANAm |"
    " - - triShu | - - trayas";
const char *const kTriNeuter =
    "- - trINi | - - trINi | - - tribhis | - - tribhyas | - - tribhyas | - - trayANAm |"
    " - - triShu | - - trINi";
const char *const kTriFeminine =
    "- - tisras | - - tisras | - - tisR^ibhis | - - tisR^ibhyas | - - tisR^ibhyas |"
    " - - tisR^iNAm | - - tisR^iShu | - - tisras";
const char *const kChaturMasculine =
    "- - chatvAras | - - chaturas | - - chaturbhis | - - chaturbhyas | - - chaturbhyas |"
    " - - chaturNAm | - - chaturShu | - - chatvAras";
const char *const kChaturNeuter =
    "- - chatvAri | - - chatvAri | - - chaturbhis | - - chaturbhyas | - - chaturbhyas |"
    " - - chaturNAm | - - chaturShu | - - chatvAri";
const char *const kChaturFeminine =
    "- - chatasras | - - chatasras | - - chatasR^ibhis | - - chatasR^ibhyas |"
    " - - chatasR^ibhyas | - - chatasR^iNAm | - - chatasR^iShu | - - chatasras";
// clang-format on

template <const char *const *Rows> FormTable fromTable(const SoundString &base = {})
{
    return endingTable<Rows>().applyTo(base);
}

} // namespace

StemResult declineNumeral(const QString &key, Gender gender)
{
    const SoundString stem = SoundString::fromItrans(key).value;
    if (key == u"dvi")
        return declined(gender == Gender::Masculine ? fromTable<&kDviMasculine>(stem.chopped(1))
                                                    : fromTable<&kDviOther>(stem.chopped(1)));
    if (key == u"tri")
        return declined(applyForGender(gender, endingTable<&kTriMasculine>(),
                                       endingTable<&kTriFeminine>(), endingTable<&kTriNeuter>()));
    if (key == u"chatur")
        return declined(applyForGender(gender, endingTable<&kChaturMasculine>(),
                                       endingTable<&kChaturFeminine>(),
                                       endingTable<&kChaturNeuter>()));
    if (key == u"ShaSh")
        return declined(fromTable<&kShaSh>());
    if (key == u"aShTan")
        return declined(fromTable<&kAShTan>(stem.chopped(2)));
    if (inStemGroup(StemGroup::CardinalInAn, stem))
        return declined(fromTable<&kPanchan>(stem.chopped(2)));
    if (inStemGroup(StemGroup::DeclinedAsKati, stem))
        return declined(fromTable<&kKati>(stem.chopped(1)));
    return {};
}

} // namespace vantro
