// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formtable.h"

#include <optional>

namespace vantro {

// What one part of the declension made of a stem: its forms, the reason it cannot decline it
// in that gender, or neither when the stem is not of its kind and the next part should look.
struct StemResult
{
    std::optional<FormTable> forms;
    QString error;
    QStringList derivedStems; // the feminine stems declined instead, as in Inflection
    QStringList derivedStemUses;

    bool handled() const { return forms || !error.isEmpty(); }
};

inline StemResult declined(FormTable forms)
{
    return {std::move(forms), {}, {}, {}};
}
StemResult refused(const QString &reason);
// "X is declined in the masculine only" and the like.
StemResult refusedGender(const QString &stem, std::initializer_list<Gender> genders);

// The parts, asked in this order: words the grammar declines by name, then stems by their
// final sound. `key` is the stem in preferred ITRANS.
StemResult declinePronoun(const QString &key, Gender gender);
StemResult declineNumeral(const QString &key, Gender gender);
StemResult declineIrregularNoun(const QString &key, Gender gender);
StemResult declineVowelStem(const SoundString &stem, Gender gender);
StemResult declineConsonantStem(const SoundString &stem, Gender gender);

// The feminine of an adjective made with a suffix: the stems (the usual one first) declined
// as feminines, the later ones' forms given as alternatives after the forms `before`.
StemResult declineDerivedFeminine(const QList<SoundString> &stems, FormTable before = {});
// The feminine stems of an adjective in -a the grammars give (none for a noun), or the -vI
// stem an adjective in -u may take beside its own.
QList<SoundString> feminineStemsOfAdjective(const SoundString &stem);

// A consonant stem in its three grades, with the forms that do not follow from them.
struct ConsonantStem
{
    SoundString strong;  // nom. and acc. sg. and du., nom. pl. (masculine and feminine)
    SoundString middle;  // before the endings in bh- and s-
    SoundString weakest; // before the other endings that begin with a vowel
    SoundString nominative;
    FormTable::Forms vocative;
    FormTable::Forms neuterSingular; // nom. acc.; the vocative too unless given
    FormTable::Forms neuterVocative;
    FormTable::Forms neuterDual;
    FormTable::Forms neuterPlural;
    FormTable::Forms locativeSingular; // when it is not weakest + i alone
    // The compounds of han keep n after gh though an r stands before (vR^itraghnaH, not N).
    bool dentalNInWeakest = false;

    // A stem with one grade: marut, vAch, jagat.
    static ConsonantStem invariable(const SoundString &stem);
};
FormTable declineConsonant(const ConsonantStem &stem, Gender gender);

} // namespace vantro
