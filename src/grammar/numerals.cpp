// SPDX-License-Identifier: GPL-3.0-or-later
// The cardinals from two to nineteen and kati (eka is a pronominal adjective).
#include "declensionparts.h"
#include "endingtable.h"
#include "ownparadigms.h"
#include "stemgroups.h"

namespace vantro {

namespace {

// clang-format off
// After the stem without its last vowel: kati, yati, tati.
const char *const kKati =
    "- - i | - - i | - - ibhis | - - ibhyas | - - ibhyas | - - InAm | - - iShu | - - i";
// After the stem without its -an: pa~nchan, saptan, navan, dashan, ekAdashan...
const char *const kPanchan =
    "- - a | - - a | - - abhis | - - abhyas | - - abhyas | - - AnAm | - - asu | - - a";
// clang-format on

template <const char *const *Rows> FormTable fromTable(const SoundString &base = {})
{
    return endingTable<Rows>().applyTo(base);
}

} // namespace

StemResult declineNumeral(const QString &key, Gender gender)
{
    if (std::optional<FormTable> own = ownParadigm(key, gender))
        return declined(*std::move(own));
    const SoundString stem = SoundString::fromItrans(key).value;
    if (inStemGroup(StemGroup::CardinalInAn, stem))
        return declined(fromTable<&kPanchan>(stem.chopped(2)));
    if (inStemGroup(StemGroup::DeclinedAsKati, stem))
        return declined(fromTable<&kKati>(stem.chopped(1)));
    return {};
}

} // namespace vantro
