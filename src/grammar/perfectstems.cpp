// SPDX-License-Identifier: GPL-3.0-or-later
// The stems of the reduplicated perfect by the rules Kale, Macdonell and Whitney teach, and
// the periphrastic perfect's stem in -Am. What the rules do not reach (samprasarana roots,
// bhU, the e-stems the grammars allow beside the regular ones) comes from the table of
// exceptions; a root the rules would get wrong is withheld there ("lit=-").
#include "perfectstems.h"

#include "rootgroups.h"
#include "soundclasses.h"
#include "verbphonology.h"
#include "verbstems.h"

#include <algorithm>

namespace vantro::verbs {

namespace {

// Whether the root puts i before the consonant endings outside the present system, read from
// its future. The perfect gives i to every root but eight; this only settles the second
// singular in -tha and the roots whose i is optional (guh, muh, dhU), whose cells stay empty.
enum class ConnectingI { Takes, Without, Unsettled };

ConnectingI connectingI(const VerbRoot &root)
{
    QList<bool> kinds = root.futureStem.isEmpty() ? root.futureTakesI : QList<bool>{};
    SoundStrings stems = root.futureAlternatives;
    if (!root.futureStem.isEmpty())
        stems.prepend(root.futureStem);
    for (const SoundString &stem : stems)
        kinds.append(stem.endsWith("iShy") || stem.endsWith("IShy"));
    if (kinds.isEmpty() || (kinds.contains(true) && kinds.contains(false)))
        return ConnectingI::Unsettled;
    return kinds.front() ? ConnectingI::Takes : ConnectingI::Without;
}

// The eight roots without i before any consonant ending of the perfect (chakR^iva, tuShTuma).
bool takesNoI(const SoundString &root)
{
    return inRootGroup(RootGroup::PerfectWithoutI, root);
}

// A root as consonants before its vowel, the vowel, and what follows it.
struct RootShape
{
    SoundString onset;
    Sound vowel = Sound::a;
    bool hasVowel = false;
    SoundString coda;
};

RootShape shapeOf(const SoundString &root)
{
    int v = 0;
    while (v < root.size() && !isVowel(root.at(v)))
        ++v;
    return {root.left(v), v < root.size() ? root.at(v) : Sound::a, v < root.size(),
            root.mid(v + 1)};
}

Sound shortVowel(Sound vowel)
{
    if (isVowel(vowel) && placeOf(vowel) == Place::Palatal)
        return Sound::i;
    if (isVowel(vowel) && placeOf(vowel) == Place::Labial)
        return Sound::u;
    return Sound::a;
}

// The reduplicating syllable: the first consonant (the stop of sk, st, sp...), without its
// breath, a guttural or h as the palatal (chakAra, jaghAna, tasthau), and the root's vowel short.
SoundString reduplicator(const RootShape &shape)
{
    Sound c = shape.onset.front();
    if (shape.onset.size() > 1 && isSibilant(c) && isPlainStop(shape.onset.at(1)))
        c = shape.onset.at(1);
    return SoundString(reduplicatingStop(c)) + shortVowel(shape.vowel);
}

// The root after the reduplicating syllable: its s turns to Sh after i or u as any s does (siSheva,
// tuShTAva; not the s of sru, nor the s of sphur), a dental after it to the retroflex (tuShTAva),
// and C is doubled with c (chichCheda).
SoundString rootAfter(const SoundString &reduplicator, SoundString root)
{
    if (root.size() > 1 && root.at(1) != Sound::ph) {
        const SoundString joined = retroflexS(reduplicator + root, reduplicator.size());
        if (joined.at(reduplicator.size()) != root.front()) {
            root.set(0, joined.at(reduplicator.size()));
            root.set(1, retroflexOf(root.at(1)));
        }
    }
    if (root.front() == Sound::Ch)
        root.insert(0, Sound::ch);
    return root;
}

// Roots of one consonant, a and one consonant whose reduplicating consonant is the root's
// own take e for both in the weak stem (pechus, sedus, tenus): not those in v, nor shas, dad.
bool takesEStem(const RootShape &shape, const SoundString &reduplicator, const SoundString &root)
{
    return shape.vowel == Sound::a && shape.coda.size() == 1 && shape.onset.size() == 1 &&
           reduplicator.front() == shape.onset.front() && shape.onset.front() != Sound::v &&
           !inRootGroup(RootGroup::AInWeakPerfect, root);
}

void addSecond(PerfectStems *stems, const SoundString &withI, const SoundString &withoutI,
               ConnectingI i)
{
    stems->second = {withI};
    if (i == ConnectingI::Without && !withoutI.isEmpty())
        stems->second.append(withoutI);
}

// A root ending in a vowel: A takes au (tasthau), i, u, R^i vrddhi in the third singular and
// vrddhi or guna in the first (ninAya, ninaya), guna in the second (ninayitha, chakartha).
void vowelFinal(PerfectStems *stems, const RootShape &shape, const SoundString &stem, ConnectingI i,
                bool noI)
{
    const SoundString pre = stem.chopped(1);
    const Sound v = stem.back();
    const bool singleConsonant = shape.onset.size() == 1;
    if (v == Sound::A) {
        stems->third = stems->first = {pre + Sound::au};
        stems->weak = {pre};
        addSecond(stems, pre + "itha", stem + "tha", i);
        return;
    }
    const bool front = sameVowelQuality(v, Sound::i);
    const bool back = sameVowelQuality(v, Sound::u);
    if (!front && !back && !sameVowelQuality(v, Sound::Ri))
        return;
    const SoundString gunaBefore = gunaBeforeVowel(v);
    stems->third = {pre + vrddhiBeforeVowel(v) + Sound::a};
    stems->first = {stems->third.front(), pre + gunaBefore + Sound::a};
    if (front)
        stems->weak = {pre + (singleConsonant ? "y" : "iy")};
    else if (back)
        stems->weak = {pre + "uv"};
    else // kR^i -> chakr, but smR^i -> sasmar; the roots in R^I keep ar (chakarus of kR^I)
        stems->weak = {pre + (v == Sound::Ri && singleConsonant ? "r" : "ar")};
    if (noI)
        stems->withoutI = stem;
    const SoundString gunaAlone = guna(v);
    if (v == Sound::Ri || noI) // the roots in R^i take -tha alone (chakartha, jahartha)
        stems->second = {pre + gunaAlone + "tha"};
    else if (v == Sound::RI)
        stems->second = {pre + "aritha"};
    else
        addSecond(stems, pre + gunaBefore + "itha", pre + gunaAlone + "tha", i);
}

// The second singular without i: the root's last consonant meets the th (papaktha, dadagdha,
// jagantha). An h other than the one of dah meets it in ways of its own (uvoDha, nanaddha): the
// table gives those.
SoundString withTha(const SoundString &stem, const SoundString &root)
{
    if (stem.back() == Sound::h && !inRootGroup(RootGroup::HBeforeTha, root))
        return {};
    if (stem.back() == Sound::m)
        return stem.chopped(1) + "ntha";
    return attach(stem, "tha");
}

// A root ending in a consonant. A light a lengthens in the third singular and may in the
// first (jagAma, jagama); a light i, u, R^i takes guna in the singular (bibeda); a heavy vowel
// stays (nananda, jijIva).
void consonantFinal(PerfectStems *stems, const RootShape &shape, const SoundString &reduplicator,
                    const SoundString &body, const SoundString &root, ConnectingI i)
{
    const int v = body.size() - 1 - shape.coda.size();
    const SoundString stem = reduplicator + body;
    const bool light = shape.coda.size() == 1;
    if (light && shape.vowel == Sound::a) {
        SoundString lengthened = body;
        lengthened.set(v, Sound::A);
        stems->third = {reduplicator + lengthened + Sound::a};
        stems->first = {stems->third.front(), stem + Sound::a};
        SoundString eStem = body;
        eStem.set(v, Sound::e);
        const bool e = takesEStem(shape, reduplicator, root);
        stems->weak = {e ? eStem : stem};
        addSecond(stems, (e ? eStem : stem) + "itha", withTha(stem, root), i);
        return;
    }
    if (light && isShortVowel(shape.vowel) && turnsToSemivowel(shape.vowel)) {
        const SoundString strong = reduplicator + body.left(v) + guna(shape.vowel) + shape.coda;
        stems->third = stems->first = {strong + Sound::a};
        stems->weak = {stem};
        stems->second = {strong + "itha"};
        return;
    }
    stems->third = stems->first = {stem + Sound::a};
    stems->weak = {stem};
    stems->second = {stem + "itha"};
}

// A root beginning with a vowel: a before one consonant lengthens (Ada), before two takes An
// (Anarha); i takes iy (iyeSha, IShus); the rest take the perfect in -Am (IkShAMchakre).
bool vowelInitial(PerfectStems *stems, const RootShape &shape, const SoundString &root)
{
    if (shape.coda.isEmpty())
        return false;
    SoundString stem;
    if (shape.vowel == Sound::a)
        stem = shape.coda.size() == 1 ? Sound::A + shape.coda : "An" + root;
    else if (shape.vowel == Sound::A)
        stem = root;
    if (!stem.isEmpty()) {
        stems->third = stems->first = {stem + Sound::a};
        stems->weak = {stem};
        stems->second = {stem + "itha"};
        return true;
    }
    if (shape.vowel == Sound::i && shape.coda.size() == 1) {
        stems->third = stems->first = {"iye" + shape.coda + Sound::a};
        stems->weak = {Sound::I + shape.coda};
        stems->second = {"iye" + shape.coda + "itha"};
        return true;
    }
    stems->periphrastic = root + "AM";
    return true;
}

PerfectStems byRule(const VerbRoot &root)
{
    PerfectStems stems;
    SoundString r = root.rootSounds;
    // Roots in e, ai, o are conjugated as roots in A (jagau of gai, dadau of dhe).
    if (isDiphthong(r.back()))
        r = r.chopped(1) + Sound::A;
    const RootShape shape = shapeOf(r);
    // A root of more than one syllable (jAgR^i) is the table's to give.
    if (!shape.hasVowel || shape.coda.syllableCount() > 0)
        return stems;
    const ConnectingI i = connectingI(root);
    if (shape.onset.isEmpty()) {
        vowelInitial(&stems, shape, r);
    } else {
        const SoundString red = reduplicator(shape);
        const SoundString body = rootAfter(red, r);
        if (shape.coda.isEmpty())
            vowelFinal(&stems, shape, red + body, i, takesNoI(r));
        else
            consonantFinal(&stems, shape, red, body, r, i);
    }
    // Where the i is optional the cells that turn on it are not settled here.
    if (i == ConnectingI::Unsettled && !sameVowelQuality(r.back(), Sound::Ri)) {
        stems.consonantEndingsKnown = false;
        stems.second.clear();
    }
    return stems;
}

SoundStrings finished(const SoundStrings &words)
{
    SoundStrings out;
    for (const SoundString &word : words)
        out.append(finishWord(word));
    return out;
}

// The table's word for the reduplicated perfect: "lit=-" withholds it, lit3/lit1/lit2 give
// the singular (lit1 is lit3 where only that is given), litw the weak stems, litc the stem
// without i, litm the middle's own weak stems ("-" withholds the middle).
void applyExceptions(PerfectStems *stems, const VerbRoot &root)
{
    if (const auto none = exceptionFor(root, "lit"); none && none->isEmpty()) {
        PerfectStems periphrasticOnly;
        periphrasticOnly.periphrastic = stems->periphrastic;
        *stems = periphrasticOnly;
    }
    if (const auto third = exceptionFor(root, "lit3")) {
        stems->third = *third;
        stems->first = exceptionFor(root, "lit1").value_or(*third);
    } else if (const auto first = exceptionFor(root, "lit1")) {
        stems->first = *first;
    }
    if (const auto second = exceptionFor(root, "lit2"))
        stems->second = *second;
    if (const auto weak = exceptionFor(root, "litw"))
        stems->weak = *weak;
    if (const auto withoutI = exceptionFor(root, "litc"))
        stems->withoutI = withoutI->value(0);
    if (const auto middle = exceptionFor(root, "litm")) {
        stems->middleWeak = *middle;
        stems->middleKnown = !middle->isEmpty();
    }
    if (const auto periphrastic = exceptionFor(root, "litAm"))
        stems->periphrastic = periphrastic->value(0);
}

} // namespace

PerfectStems perfectStems(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    PerfectStems stems;
    if (root.verbClass == 10) {
        stems.periphrastic = root.strongStem.chopped(1) + "AM";
        return stems;
    }
    stems = byRule(root);
    applyExceptions(&stems, root);
    stems.third = finished(stems.third);
    stems.first = finished(stems.first);
    stems.second = finished(stems.second);
    return stems;
}

} // namespace vantro::verbs
