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
    QStringList stems = root.futureAlternatives;
    if (!root.futureStem.isEmpty())
        stems.prepend(root.futureStem);
    for (const QString &stem : stems)
        kinds.append(stem.endsWith(QStringLiteral("izy")) || stem.endsWith(QStringLiteral("Izy")));
    if (kinds.isEmpty() || (kinds.contains(true) && kinds.contains(false)))
        return ConnectingI::Unsettled;
    return kinds.front() ? ConnectingI::Takes : ConnectingI::Without;
}

// The eight roots without i before any consonant ending of the perfect (cakfva, tuzwuma).
bool takesNoI(const QString &root)
{
    return inRootGroup(RootGroup::PerfectWithoutI, root);
}

// A root as consonants before its vowel, the vowel, and what follows it.
struct RootShape
{
    QString onset;
    QChar vowel;
    QString coda;
};

RootShape shapeOf(const QString &root)
{
    qsizetype v = 0;
    while (v < root.size() && !isVowel(root[v]))
        ++v;
    return {root.left(v), v < root.size() ? root[v] : QChar(), root.mid(v + 1)};
}

QChar shortVowel(QChar vowel)
{
    if (isVowel(vowel) && placeOf(vowel) == Place::Palatal)
        return u'i';
    if (isVowel(vowel) && placeOf(vowel) == Place::Labial)
        return u'u';
    return u'a';
}

// The reduplicating syllable: the first consonant (the stop of sk, st, sp...), without its
// breath, a guttural or h as the palatal (cakAra, jaGAna, tasTO), and the root's vowel short.
QString reduplicator(const RootShape &shape)
{
    QChar c = shape.onset.front();
    if (shape.onset.size() > 1 && isSibilant(c) && isOralStop(shape.onset[1]))
        c = shape.onset[1];
    return QString(reduplicatingStop(c)) + shortVowel(shape.vowel);
}

// The root after the reduplicating syllable: its s turns to z after i or u as any s does (sizeva,
// tuzwAva; not the s of sru, nor the s of sPur), a dental after it to the retroflex (tuzwAva),
// and C is doubled with c (cicCeda).
QString rootAfter(const QString &reduplicator, QString root)
{
    if (root.size() > 1 && root[1] != u'P') {
        const QString joined = retroflexS(reduplicator + root, reduplicator.size());
        if (joined[reduplicator.size()] != root.front()) {
            root[0] = joined[reduplicator.size()];
            root[1] = retroflexOf(root[1]);
        }
    }
    if (root.front() == u'C')
        root.prepend(u'c');
    return root;
}

// Roots of one consonant, a and one consonant whose reduplicating consonant is the root's
// own take e for both in the weak stem (pecus, sedus, tenus): not those in v, nor Sas, dad.
bool takesEStem(const RootShape &shape, const QString &reduplicator, const QString &root)
{
    return shape.vowel == u'a' && shape.coda.size() == 1 && shape.onset.size() == 1 &&
           reduplicator.front() == shape.onset.front() && shape.onset.front() != u'v' &&
           !inRootGroup(RootGroup::AInWeakPerfect, root);
}

void addSecond(PerfectStems *stems, const QString &withI, const QString &withoutI, ConnectingI i)
{
    stems->second = {withI};
    if (i == ConnectingI::Without && !withoutI.isEmpty())
        stems->second.append(withoutI);
}

// A root ending in a vowel: A takes au (tasTO), i, u, f vrddhi in the third singular and
// vrddhi or guna in the first (ninAya, ninaya), guna in the second (ninayiTa, cakarTa).
void vowelFinal(PerfectStems *stems, const RootShape &shape, const QString &stem, ConnectingI i,
                bool noI)
{
    const QString pre = stem.chopped(1);
    const QChar v = stem.back();
    const bool singleConsonant = shape.onset.size() == 1;
    if (v == u'A') {
        stems->third = stems->first = {pre + u'O'};
        stems->weak = {pre};
        addSecond(stems, pre + QStringLiteral("iTa"), stem + QStringLiteral("Ta"), i);
        return;
    }
    const bool front = sameVowelQuality(v, u'i');
    const bool back = sameVowelQuality(v, u'u');
    if (!front && !back && !sameVowelQuality(v, u'f'))
        return;
    const QString gunaBefore = gunaBeforeVowel(v);
    stems->third = {pre + vrddhiBeforeVowel(v) + u'a'};
    stems->first = {stems->third.front(), pre + gunaBefore + u'a'};
    if (front)
        stems->weak = {pre + (singleConsonant ? "y" : "iy")};
    else if (back)
        stems->weak = {pre + "uv"};
    else // kf -> cakr, but smf -> sasmar; the roots in F keep ar (cakarus of kF)
        stems->weak = {pre + (v == u'f' && singleConsonant ? "r" : "ar")};
    if (noI)
        stems->withoutI = stem;
    const QString gunaAlone = guna(v);
    if (v == u'f' || noI) // the roots in f take -Ta alone (cakarTa, jaharTa)
        stems->second = {pre + gunaAlone + QStringLiteral("Ta")};
    else if (v == u'F')
        stems->second = {pre + QStringLiteral("ariTa")};
    else
        addSecond(stems, pre + gunaBefore + QStringLiteral("iTa"),
                  pre + gunaAlone + QStringLiteral("Ta"), i);
}

// The second singular without i: the root's last consonant meets the th (papakTa, dadagDa,
// jaganTa). An h other than the one of dah meets it in ways of its own (uvoQa, nanadDa): the
// table gives those.
QString withTha(const QString &stem, const QString &root)
{
    if (stem.back() == u'h' && !inRootGroup(RootGroup::HBeforeTha, root))
        return {};
    if (stem.back() == u'm')
        return stem.chopped(1) + QStringLiteral("nTa");
    return attach(stem, QStringLiteral("Ta"));
}

// A root ending in a consonant. A light a lengthens in the third singular and may in the
// first (jagAma, jagama); a light i, u, f takes guna in the singular (bibeda); a heavy vowel
// stays (nananda, jijIva).
void consonantFinal(PerfectStems *stems, const RootShape &shape, const QString &reduplicator,
                    const QString &body, const QString &root, ConnectingI i)
{
    const qsizetype v = body.size() - 1 - shape.coda.size();
    const QString stem = reduplicator + body;
    const bool light = shape.coda.size() == 1;
    if (light && shape.vowel == u'a') {
        QString lengthened = body;
        lengthened[v] = u'A';
        stems->third = {reduplicator + lengthened + u'a'};
        stems->first = {stems->third.front(), stem + u'a'};
        QString eStem = body;
        eStem[v] = u'e';
        const bool e = takesEStem(shape, reduplicator, root);
        stems->weak = {e ? eStem : stem};
        addSecond(stems, (e ? eStem : stem) + QStringLiteral("iTa"), withTha(stem, root), i);
        return;
    }
    if (light && isShortVowel(shape.vowel) && turnsToSemivowel(shape.vowel)) {
        const QString strong = reduplicator + body.left(v) + guna(shape.vowel) + shape.coda;
        stems->third = stems->first = {strong + u'a'};
        stems->weak = {stem};
        stems->second = {strong + QStringLiteral("iTa")};
        return;
    }
    stems->third = stems->first = {stem + u'a'};
    stems->weak = {stem};
    stems->second = {stem + QStringLiteral("iTa")};
}

// A root beginning with a vowel: a before one consonant lengthens (Ada), before two takes An
// (Anarha); i takes iy (iyeza, Izus); the rest take the perfect in -Am (IkzAMcakre).
bool vowelInitial(PerfectStems *stems, const RootShape &shape, const QString &root)
{
    if (shape.coda.isEmpty())
        return false;
    QString stem;
    if (shape.vowel == u'a')
        stem = shape.coda.size() == 1 ? u'A' + shape.coda : QStringLiteral("An") + root;
    else if (shape.vowel == u'A')
        stem = root;
    if (!stem.isEmpty()) {
        stems->third = stems->first = {stem + u'a'};
        stems->weak = {stem};
        stems->second = {stem + QStringLiteral("iTa")};
        return true;
    }
    if (shape.vowel == u'i' && shape.coda.size() == 1) {
        stems->third = stems->first = {QStringLiteral("iye") + shape.coda + u'a'};
        stems->weak = {u'I' + shape.coda};
        stems->second = {QStringLiteral("iye") + shape.coda + QStringLiteral("iTa")};
        return true;
    }
    stems->periphrastic = root + QStringLiteral("AM");
    return true;
}

PerfectStems byRule(const VerbRoot &root)
{
    PerfectStems stems;
    QString r = root.rootSounds;
    // Roots in e, ai, o are conjugated as roots in A (jagO of gE, dadO of De).
    if (isDiphthong(r.back()))
        r = r.chopped(1) + u'A';
    const RootShape shape = shapeOf(r);
    // A root of more than one syllable (jAgf) is the table's to give.
    if (shape.vowel.isNull() || std::any_of(shape.coda.cbegin(), shape.coda.cend(), isVowel))
        return stems;
    const ConnectingI i = connectingI(root);
    if (shape.onset.isEmpty()) {
        vowelInitial(&stems, shape, r);
    } else {
        const QString red = reduplicator(shape);
        const QString body = rootAfter(red, r);
        if (shape.coda.isEmpty())
            vowelFinal(&stems, shape, red + body, i, takesNoI(r));
        else
            consonantFinal(&stems, shape, red, body, r, i);
    }
    // Where the i is optional the cells that turn on it are not settled here.
    if (i == ConnectingI::Unsettled && !sameVowelQuality(r.back(), u'f')) {
        stems.consonantEndingsKnown = false;
        stems.second.clear();
    }
    return stems;
}

QStringList finished(const QStringList &words)
{
    QStringList out;
    for (const QString &word : words)
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
        stems.periphrastic = root.strongStem.chopped(1) + QStringLiteral("AM");
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
