// SPDX-License-Identifier: GPL-3.0-or-later
// The benedictive of the atmanepada. Its s takes i where the t of the infinitive does (the
// future's i of kariShyati, gamiShyati is its own); without i the roots in R^i and those with i,
// u or R^i before one final consonant keep their vowel (kR^iShIShTa, bhutsIShTa), the others take
// guna (neShIShTa). Where the grammars let a root choose, the form is left to the table.
#include "middlebenedictive.h"

#include "rootgroups.h"
#include "soundclasses.h"
#include "verbphonology.h"
#include "verbstems.h"

namespace vantro::verbs {

namespace {

// vR^i, the roots in R^I and those in R^i after two consonants take i or not at choice here.
bool choosesI(const SoundString &r)
{
    const int n = r.size();
    const bool afterConjunct = n >= 3 && isConsonant(r.at(n - 2)) && isConsonant(r.at(n - 3));
    return r.back() == Sound::RI || inRootGroup(RootGroup::IMayLengthen, r) ||
           (r.back() == Sound::Ri && afterConjunct);
}

SoundString withoutI(const VerbRoot &root)
{
    SoundString r = root.rootSounds;
    if (isDiphthong(r.back()))
        r = r.chopped(1) + Sound::A;
    const Sound last = r.back();
    if (last == Sound::A)
        return r + Sound::s;
    if (last == Sound::Ri)
        return withS(r);
    if (isVowel(last))
        return withS(gunaOfRoot(r));
    // A nasal before the last consonant, or an irregular future, is not followed by a rule.
    const int n = r.size();
    if (!root.futureStem.isEmpty() ||
        (n >= 2 && (isNasal(r.at(n - 2)) || r.at(n - 2) == Sound::M)) ||
        inRootGroup(RootGroup::HAsDentalDh, r))
        return {};
    return joinBeforeFutureS(r, "s"_sounds);
}

SoundString withI(const VerbRoot &root)
{
    const SoundString &r = root.rootSounds;
    SoundString strong = isDiphthong(r.back()) ? r.chopped(1) + Sound::A : gunaOfRoot(r);
    if (strong.endsWith(Sound::e))
        strong = strong.chopped(1) + "ay";
    else if (strong.endsWith(Sound::o))
        strong = strong.chopped(1) + "av";
    return withS(strong + Sound::i);
}

// The second plural after one stem: an empty string where the grammars allow both.
SoundString secondPluralEnding(const SoundString &stem)
{
    const SoundString before = stem.chopped(1);
    if (before.endsWith(Sound::i) && before.size() >= 2)
        return isSemivowel(before.at(before.size() - 2)) || before.at(before.size() - 2) == Sound::h
                   ? SoundString()
                   : "Idhvam"_sounds;
    const Sound last = before.back();
    return isVowel(last) && !sameVowelQuality(last, Sound::a) ? "IDhvam"_sounds : "Idhvam"_sounds;
}

} // namespace

SoundStrings middleBenedictiveStems(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (const auto fromTable = exceptionFor(root, "benA"))
        return *fromTable;
    if (root.verbClass == 10)
        return {withS(root.strongStem.chopped(1) + Sound::i)};
    const std::optional<QList<bool>> flags = takesIBeforeT(root);
    // A root whose future has a second stem (gAhiShyate, ghAkShyate) chooses here too.
    if (!flags || choosesI(root.rootSounds) || exceptionFor(root, "inf") ||
        !root.futureAlternatives.isEmpty())
        return {};
    SoundStrings stems;
    for (const bool i : *flags) {
        const SoundString stem = i ? withI(root) : withoutI(root);
        if (stem.isEmpty())
            return {};
        stems.append(stem);
    }
    return stems;
}

SoundParadigm middleBenedictive(const VerbRoot &root, const SoundStrings &furtherStems)
{
    static const char *const endings[9] = {"IShTa", "IyAstAm", "Iran",  "IShThAs", "IyAsthAm",
                                           "",      "Iya",     "Ivahi", "Imahi"};
    SoundStrings stems = middleBenedictiveStems(root);
    if (stems.isEmpty())
        return {};
    stems += furtherStems;
    // A final h has become a stop before the s by the time the dh is reached: not settled here.
    const bool secondPlural = !root.rootSounds.endsWith(Sound::h) || root.verbClass == 10;
    SoundParadigm paradigm;
    for (int cell = 0; cell < 9; ++cell) {
        for (const SoundString &stem : stems) {
            const SoundString ending = cell != 5      ? SoundString::literal(endings[cell])
                                       : secondPlural ? secondPluralEnding(stem)
                                                      : SoundString();
            if (ending.isEmpty()) {
                paradigm.cells[cell].clear();
                break;
            }
            paradigm.cells[cell].append(finishWord(stem + ending));
        }
        removeDuplicates(paradigm.cells[cell]);
    }
    return paradigm;
}

} // namespace vantro::verbs
