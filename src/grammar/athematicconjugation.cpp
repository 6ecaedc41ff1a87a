// SPDX-License-Identifier: GPL-3.0-or-later
#include "athematicconjugation.h"

#include "rootgroups.h"
#include "verboverrides.h"
#include "verbphonology.h"
#include "verbstems.h"

namespace vantro::verbs {

namespace {

// The rules' own short lists of sounds, none of them a class: dhA's weak stem is dhat before
// t, th, s and dh (dhattaH, dhatse); the u of the nasal classes may fall before v and m, and
// in kR^i also before y (kurvaH, kuryAt); a stem in d, dh or s may end the second singular of
// the imperfect in the visarga.
constexpr const char *kDhatBefore = "tthsdh";
constexpr const char *kNasalUMayFallBefore = "vm";
constexpr const char *kNasalUFallsBefore = "vmy";
constexpr const char *kVisargaAfter = "ddhs";

struct Ending
{
    const char *text;
    bool strong;
};

// clang-format off
// [pada][tense][cell]: present, imperfect, imperative, optative; cells 3sg 3du 3pl 2sg ... 1pl.
const Ending kEndings[2][4][9] = {
    {
        {{"ti", true}, {"tas", false}, {"anti", false}, {"si", true}, {"thas", false},
         {"tha", false}, {"mi", true}, {"vas", false}, {"mas", false}},
        {{"t", true}, {"tAm", false}, {"an", false}, {"s", true}, {"tam", false},
         {"ta", false}, {"am", true}, {"va", false}, {"ma", false}},
        {{"tu", true}, {"tAm", false}, {"antu", false}, {"hi", false}, {"tam", false},
         {"ta", false}, {"Ani", true}, {"Ava", true}, {"Ama", true}},
        {{"yAt", false}, {"yAtAm", false}, {"yus", false}, {"yAs", false},
         {"yAtam", false}, {"yAta", false}, {"yAm", false}, {"yAva", false},
         {"yAma", false}},
    },
    {
        {{"te", false}, {"Ate", false}, {"ate", false}, {"se", false}, {"Athe", false},
         {"dhve", false}, {"e", false}, {"vahe", false}, {"mahe", false}},
        {{"ta", false}, {"AtAm", false}, {"ata", false}, {"thAs", false},
         {"AthAm", false}, {"dhvam", false}, {"i", false}, {"vahi", false},
         {"mahi", false}},
        {{"tAm", false}, {"AtAm", false}, {"atAm", false}, {"sva", false},
         {"AthAm", false}, {"dhvam", false}, {"ai", true}, {"Avahai", true},
         {"Amahai", true}},
        {{"Ita", false}, {"IyAtAm", false}, {"Iran", false}, {"IthAs", false},
         {"IyAthAm", false}, {"Idhvam", false}, {"Iya", false}, {"Ivahi", false},
         {"Imahi", false}},
    },
};

// clang-format on

const int kThirdPlural = 2;
const int kSecondSingular = 3;

// The roots that put i before consonant endings other than y (roditi, svapiti).
bool takesConnectingI(const VerbRoot &root)
{
    return root.verbClass == 2 && inRootGroup(RootGroup::ConnectingI, root.rootSounds);
}

// Reduplicated stems and a few others (shAs, jAgR^i) take ati, atu, us in the third plural
// active.
bool takesReduplicatedPlural(const VerbRoot &root)
{
    return root.verbClass == 3 || inRootGroup(RootGroup::ReduplicatedPlural, root.rootSounds);
}

SoundString weakBeforeVowel(const VerbRoot &root)
{
    if (!root.weakStemBeforeVowel.isEmpty())
        return root.weakStemBeforeVowel;
    SoundString stem = root.weakStem;
    const int last = stem.size() - 1;
    const bool afterConjunct =
        last >= 2 && isConsonant(stem.at(last - 1)) && followsConsonant(stem, last - 1);
    switch (stem.at(last)) {
    case Sound::u:
    case Sound::U:
        stem.replace(last, 1,
                     root.verbClass == 2 || (root.verbClass == 5 && afterConjunct) ? "uv" : "v");
        break;
    case Sound::I:
        if (root.verbClass == 9)
            stem.chop(1);
        else
            stem.replace(last, 1, afterConjunct ? "iy" : "y");
        break;
    case Sound::i:
        stem.set(last, Sound::y);
        break;
    case Sound::Ri:
        stem.set(last, Sound::r);
        break;
    default:
        break;
    }
    return stem;
}

SoundString stemFor(const VerbRoot &root, bool strong, const SoundString &ending)
{
    const bool vowelEnding = !ending.isEmpty() && isVowel(ending.front());
    if (strong)
        return vowelEnding && !root.strongStemBeforeVowel.isEmpty() ? root.strongStemBeforeVowel
                                                                    : root.strongStem;
    // dadh throws its aspiration back before t, th, s, dh (dhattaH, dhatse): the table gives it.
    if (!ending.isEmpty() && SoundString::literal(kDhatBefore).contains(ending.front())) {
        if (const auto thrownBack = exceptionFor(root, "weakT"))
            return thrownBack->value(0);
    }
    return vowelEnding ? weakBeforeVowel(root) : root.weakStem;
}

// The u of the nasal classes may fall before v and m after a simple consonant, and must in
// kR^i, also before y (kurvaH, kuryAt).
SoundStrings weakStemChoices(const VerbRoot &root, const SoundString &stem,
                             const SoundString &ending)
{
    const bool nasalClass = root.verbClass == 5 || root.verbClass == 8;
    const int n = stem.size();
    if (!nasalClass || !stem.endsWith(Sound::u) || n < 3 || followsConsonant(stem, n - 2) ||
        ending.isEmpty())
        return {stem};
    if (inRootGroup(RootGroup::NasalUFalls, root.rootSounds) &&
        SoundString::literal(kNasalUFallsBefore).contains(ending.front()))
        return {stem.chopped(1)};
    if (SoundString::literal(kNasalUMayFallBefore).contains(ending.front()))
        return {stem, stem.chopped(1)};
    return {stem};
}

// bhI and hA may shorten the I of the weak stem before consonants (bibhitaH, jahitaH); hA's
// own optative and second singular imperative are in data/overrides.tsv.
SoundStrings shortenedWeakStems(const VerbRoot &root, const SoundStrings &stems)
{
    return SoundStrings(stems) << root.weakStem.chopped(1) + Sound::i;
}

// The second singular imperative active: hi, dhi after consonants and in hu, nothing after
// the u of the nasal classes, Ana for the consonant roots of class 9.
QPair<SoundString, SoundString> imperativeSecondSingular(const VerbRoot &root)
{
    const SoundString weak = root.weakStem;
    const int n = weak.size();
    if (root.verbClass == 9 && n >= 3 && isConsonant(weak.at(n - 3)))
        return {weak.chopped(2), "Ana"_sounds};
    if ((root.verbClass == 5 || root.verbClass == 8) && weak.endsWith(Sound::u) &&
        !followsConsonant(weak, n - 2))
        return {weak, SoundString()};
    if ((isConsonant(weak.back()) && !takesConnectingI(root)) ||
        inRootGroup(RootGroup::ImperativeDhi, root.rootSounds))
        return {weak, "dhi"_sounds};
    return {weak, "hi"_sounds};
}

// The imperfect singular endings t and s vanish after a consonant; in the second person a
// root in d, dh or s may end in the visarga instead (aveH, avet).
SoundStrings bareImperfect(const SoundString &stem, bool secondPerson)
{
    const SoundString bare = attach(stem, SoundString());
    if (secondPerson && SoundString::literal(kVisargaAfter).contains(stem.back()))
        return {stem.chopped(1) + Sound::s, bare};
    return {bare};
}

SoundStrings joinCell(const VerbRoot &root, Tense tense, const SoundString &stem,
                      const SoundString &ending)
{
    const bool singularPast =
        tense == Tense::Imperfect && (ending == "t"_sounds || ending == "s"_sounds);
    if (takesConnectingI(root) && !ending.isEmpty() && isConsonant(ending.front()) &&
        ending.front() != Sound::y) {
        if (singularPast)
            return {stem + Sound::I + ending, stem + Sound::a + ending};
        return {attach(stem + Sound::i, ending)};
    }
    if (singularPast && isConsonant(stem.back()))
        return bareImperfect(stem, ending == "s"_sounds);
    return {attach(stem, ending)};
}

// Where two like stops meet after a nasal one of them may be dropped (runddhaH, rundhaH).
SoundStrings withSimplifiedClusters(const SoundStrings &forms)
{
    SoundStrings out = forms;
    for (const SoundString &form : forms) {
        for (const char *pair : {"Mtt", "Mtth", "Mddh"}) {
            const SoundString cluster = SoundString::literal(pair);
            if (form.contains(cluster))
                out.append(SoundString(form).replaceAll(cluster.left(2), cluster.left(1)));
        }
    }
    return out;
}

SoundStrings athematicCell(const VerbRoot &root, Pada pada, Tense tense, int cell)
{
    const Ending &entry = kEndings[pada == Pada::Atmanepada][static_cast<int>(tense)][cell];
    SoundString ending = SoundString::literal(entry.text);
    bool strong = entry.strong;
    if (pada == Pada::Parasmaipada && cell == kThirdPlural && tense != Tense::Optative &&
        takesReduplicatedPlural(root)) {
        ending = tense == Tense::Imperfect ? "us"_sounds : ending.mid(0, 1) + ending.mid(2);
        strong = tense == Tense::Imperfect;
    }
    SoundStrings stems;
    if (pada == Pada::Parasmaipada && tense == Tense::Imperative && cell == kSecondSingular) {
        const auto [stem, imperative] = imperativeSecondSingular(root);
        stems = {stem};
        ending = imperative;
    } else {
        stems = strong ? SoundStrings{stemFor(root, true, ending)}
                       : weakStemChoices(root, stemFor(root, false, ending), ending);
    }
    if (inRootGroup(RootGroup::WeakIShortens, root.rootSounds) && !strong && !ending.isEmpty() &&
        isConsonant(ending.front()))
        stems = shortenedWeakStems(root, stems);
    SoundStrings forms;
    for (const SoundString &stem : stems)
        forms += joinCell(root, tense, stem, ending);
    if (root.verbClass == 7)
        forms = withSimplifiedClusters(forms);
    return forms;
}

// The roots in A of the second class may take us in the third plural of the imperfect
// (ayuH beside ayAn).
void addImperfectPluralInUs(const VerbRoot &root, Pada pada, Tense tense, SoundParadigm *paradigm)
{
    if (pada == Pada::Parasmaipada && tense == Tense::Imperfect && root.verbClass == 2 &&
        root.strongStem.endsWith(Sound::A))
        paradigm->cells[kThirdPlural].append(finishWord(withAugment(
            (root.weakStem.endsWith(Sound::A) ? root.weakStem.chopped(1) : root.weakStem) + "us")));
}

} // namespace

SoundParadigm conjugateAthematic(const VerbRoot &root, Pada pada, Tense tense)
{
    SoundParadigm paradigm;
    for (int cell = 0; cell < kPersonCount * kNumberCount; ++cell) {
        SoundStrings forms = athematicCell(root, pada, tense, cell);
        for (SoundString &form : forms)
            form = finishWord(tense == Tense::Imperfect ? withAugment(form) : form);
        removeDuplicates(forms);
        paradigm.cells[cell] = forms;
    }
    addImperfectPluralInUs(root, pada, tense, &paradigm);
    applyVerbOverrides(root, pada, tense, &paradigm);
    return paradigm;
}

} // namespace vantro::verbs
