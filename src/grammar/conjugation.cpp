// SPDX-License-Identifier: GPL-3.0-or-later
#include "conjugation.h"

#include "aoristparadigm.h"
#include "athematicconjugation.h"
#include "middlebenedictive.h"
#include "perfectconjugation.h"
#include "rootgroups.h"
#include "soundclasses.h"
#include "verbphonology.h"
#include "verbprefixes.h"
#include "verbroots.h"
#include "verbstems.h"

#include <QHash>

namespace vantro {

namespace {

using namespace verbs;

// clang-format off
// The endings after a stem in a, thematic vowel included: [pada][tense][cell], tenses present,
// imperfect, imperative, optative, cells 3sg 3du 3pl 2sg 2du 2pl 1sg 1du 1pl. The simple
// future and the passive take them too.
const char *const kThematicEndings[2][4][9] = {
    {
        {"ati", "atas", "anti", "asi", "athas", "atha", "Ami", "Avas", "Amas"},
        {"at", "atAm", "an", "as", "atam", "ata", "am", "Ava", "Ama"},
        {"atu", "atAm", "antu", "a", "atam", "ata", "Ani", "Ava", "Ama"},
        {"et", "etAm", "eyus", "es", "etam", "eta", "eyam", "eva", "ema"},
    },
    {
        {"ate", "ete", "ante", "ase", "ethe", "adhve", "e", "Avahe", "Amahe"},
        {"ata", "etAm", "anta", "athAs", "ethAm", "adhvam", "e", "Avahi", "Amahi"},
        {"atAm", "etAm", "antAm", "asva", "ethAm", "adhvam", "ai", "Avahai", "Amahai"},
        {"eta", "eyAtAm", "eran", "ethAs", "eyAthAm", "edhvam", "eya", "evahi", "emahi"},
    },
};

// The periphrastic future: the agent noun's nominative, and the present of as after it in the
// first and second persons; the endings after the t ([pada][cell]).
const char *const kPeriphrasticEndings[2][9] = {
    {"A", "Arau", "Aras", "Asi", "Asthas", "Astha", "Asmi", "Asvas", "Asmas"},
    {"A", "Arau", "Aras", "Ase", "AsAthe", "Adhve", "Ahe", "Asvahe", "Asmahe"},
};

// The active benedictive after its stem in y (bhUy-At).
const char *const kBenedictiveEndings[9] = {"At",   "AstAm", "Asus", "As",  "Astam",
                                                "Asta", "Asam",  "Asva", "Asma"};

// clang-format on

constexpr int kCellCount = kPersonCount * kNumberCount;

QString padaName(Pada pada)
{
    return pada == Pada::Parasmaipada ? QStringLiteral("parasmaipada")
                                      : QStringLiteral("atmanepada");
}

// One cell of a base ending in a consonant ("bhav", "gachCh", "kariShy", "kriy") with the thematic
// endings.
SoundString thematicCell(const SoundString &base, Pada pada, Tense tense, int cell)
{
    const SoundString ending = SoundString::literal(
        kThematicEndings[pada == Pada::Atmanepada][static_cast<int>(tense)][cell]);
    const SoundString form = base + ending;
    return finishWord(tense == Tense::Imperfect ? withAugment(form) : form);
}

SoundParadigm thematicParadigm(const SoundString &base, Pada pada, Tense tense)
{
    SoundParadigm paradigm;
    for (int cell = 0; cell < kCellCount; ++cell)
        paradigm.cells[cell] = {thematicCell(base, pada, tense, cell)};
    return paradigm;
}

void mergeAlternatives(SoundParadigm *into, const SoundParadigm &from)
{
    for (int cell = 0; cell < kCellCount; ++cell) {
        into->cells[cell] += from.cells[cell];
        removeDuplicates(into->cells[cell]);
    }
}

// A strengthened final vowel before a vowel: e, o, ai, au -> ay, av, Ay, Av.
SoundString beforeConnectingI(const SoundString &strengthened)
{
    if (strengthened.isEmpty())
        return strengthened;
    return strengthened.chopped(1) + diphthongBeforeVowel(strengthened.back());
}

SoundString futureBase(const VerbRoot &root, bool withI)
{
    if (!root.futureStem.isEmpty())
        return root.futureStem;
    if (root.verbClass == 10)
        return root.strongStem.chopped(1) + "iShy";
    SoundString strengthened = gunaOfRoot(root.rootSounds);
    // Roots in e, ai, o take A outside the present (gai: gAsyati).
    if (isDiphthong(root.rootSounds.back()))
        strengthened = root.rootSounds.chopped(1) + Sound::A;
    if (withI)
        return beforeConnectingI(strengthened) + "iShy";
    return joinBeforeFutureS(strengthened, "sy"_sounds);
}

// A stem in aya (the tenth class, a causative) drops it for that i: kArayiShyate, kAriShyate.
// After a short a the grammars may lengthen it as in the passive aorist (agami, agAmi): not made.
SoundString passiveFutureAlternativeOfAya(const SoundString &stem)
{
    if (!stem.endsWith("aya"))
        return {};
    const SoundString base = stem.chopped(3);
    const int n = base.size();
    if (n < 2 || (base.at(n - 2) == Sound::a && isConsonant(base.at(n - 1))))
        return {};
    return base + "iShy";
}

// The passive future may also take the stem of the passive aorist with i: roots in vowels
// and han, grah, dR^ish (bhAviShyate, dAyiShyate, ghAniShyate).
SoundString passiveFutureAlternative(const VerbRoot &root)
{
    // A causative keeps its root's sounds: its own stem in aya decides (ghAtiShyate of
    // ghAtayati, not han's ghAniShyate).
    if (root.verbClass == 10)
        return passiveFutureAlternativeOfAya(root.strongStem);
    const SoundString &r = root.rootSounds;
    if (const auto consonantRoot = exceptionFor(root, "passI"))
        return consonantRoot->value(0) + "iShy";
    // jAgR^i keeps guna where the passive aorist has vrddhi (ajAgari): its i-forms are the
    // middle's own.
    if (!root.futureStem.isEmpty() || !isVowel(r.back()) ||
        inRootGroup(RootGroup::GunaForVrddhi, r))
        return {};
    const Sound last = isDiphthong(r.back()) ? Sound::A : r.back();
    SoundString strengthened = r.chopped(1) + vrddhi(last);
    if (strengthened.endsWith(Sound::A))
        strengthened += Sound::y;
    return beforeConnectingI(strengthened) + "iShy";
}

SoundString passiveBase(const VerbRoot &root)
{
    if (!root.passiveStem.isEmpty())
        return root.passiveStem;
    // The stem in aya drops it (kAryate); a desiderative's stem in a drops its a (jigamiShyate).
    if (root.verbClass == 10)
        return root.strongStem.chopped(root.strongStem.endsWith("aya") ? 3 : 1) + Sound::y;
    SoundString base = root.rootSounds;
    const int n = base.size();
    const bool afterConjunct = n >= 3 && isConsonant(base.at(n - 2)) && isConsonant(base.at(n - 3));
    switch (base.back()) {
    case Sound::i:
        base.set(n - 1, Sound::I);
        break;
    case Sound::u:
        base.set(n - 1, Sound::U);
        break;
    case Sound::Ri:
        base.replace(n - 1, 1, afterConjunct ? "ar" : "ri");
        break;
    case Sound::RI:
        base.replace(n - 1, 1, n >= 2 && isLabial(base.at(n - 2)) ? "Ur" : "Ir");
        break;
    default:
        break;
    }
    return base + Sound::y;
}

SoundParadigm activeParadigm(const VerbRoot &root, Pada pada, Tense tense);

SoundString thirdSingularPresent(const VerbRoot &root, Pada pada)
{
    return activeParadigm(root, pada, Tense::Present).cells.at(0).value(0);
}

// "dA is a class 3 root (dadAti); class 1 is not known for it", every class the table has.
QString unknownClassReason(const QString &itrans, int verbClass, const QList<VerbRoot> &entries)
{
    if (entries.isEmpty())
        return QStringLiteral("%1 is not a root the table of roots knows").arg(itrans);
    QStringList known;
    QList<int> seen;
    for (const VerbRoot &entry : entries) {
        if (seen.contains(entry.verbClass))
            continue;
        seen.append(entry.verbClass);
        const Pada pada = entry.parasmaipada ? Pada::Parasmaipada : Pada::Atmanepada;
        known.append(QStringLiteral("a class %1 root (%2)")
                         .arg(QString::number(entry.verbClass),
                              thirdSingularPresent(entry, pada).toItrans()));
    }
    return QStringLiteral("%1 is %2; class %3 is not known for it")
        .arg(itrans, known.join(QStringLiteral(" and ")), QString::number(verbClass));
}

// The root's entry for the class asked for from the table; an empty root with the reason,
// naming the classes the table knows, otherwise: a default rule would invent forms.
Outcome<VerbRoot> rootFor(const QString &itrans, int verbClass, Pada pada)
{
    const SoundString sounds = SoundString::fromItrans(itrans).value;
    if (sounds.isEmpty())
        return {{}, QStringLiteral("\"%1\" is not a root in ITRANS").arg(itrans)};
    if (verbClass < 1 || verbClass > 10)
        return {{}, QStringLiteral("there is no present class %1").arg(verbClass)};
    // A root may have one line for each pada when their stems differ (i: yanti, adhIyate).
    const QList<VerbRoot> entries = findVerbRoot(itrans);
    for (const VerbRoot &entry : entries) {
        if (entry.verbClass == verbClass && entry.takes(pada))
            return {entry, {}};
    }
    for (const VerbRoot &entry : entries) {
        if (entry.verbClass == verbClass)
            return {entry, {}};
    }
    return {{}, unknownClassReason(itrans, verbClass, entries)};
}

// The active imperative allows tAt beside tu and hi, made on the stem of the dual (bhavatAt).
SoundParadigm withBenedictiveImperative(SoundParadigm paradigm)
{
    SoundStrings tAt;
    for (const SoundString &dual : paradigm.cells.at(1))
        tAt.append(dual.chopped(1) + Sound::t);
    for (const int cell : {0, 3}) {
        paradigm.cells[cell] += tAt;
        removeDuplicates(paradigm.cells[cell]);
    }
    return paradigm;
}

// The stems of the simple future before the thematic endings, the usual first.
SoundStrings futureBases(const VerbRoot &root)
{
    SoundStrings bases;
    for (const bool withI : root.futureTakesI)
        bases.append(futureBase(root, withI));
    // vR^i and the roots in R^I may lengthen the i (tariShyati, tarIShyati).
    const SoundString &r = root.rootSounds;
    if (root.futureStem.isEmpty() && root.futureTakesI.contains(true) &&
        (r.endsWith(Sound::RI) || inRootGroup(RootGroup::IMayLengthen, r)))
        bases.append(futureBase(root, true).chopped(3) + "IShy");
    bases += root.futureAlternatives;
    return bases;
}

// The simple future, or with the endings of the imperfect and the augment the conditional.
SoundParadigm futureParadigm(const VerbRoot &root, Pada pada, Tense endings = Tense::Present)
{
    SoundParadigm paradigm;
    for (const SoundString &base : futureBases(root))
        mergeAlternatives(&paradigm, thematicParadigm(base, pada, endings));
    return paradigm;
}

SoundParadigm endingsAfter(const SoundStrings &stems, const char *const endings[9])
{
    SoundParadigm paradigm;
    for (int cell = 0; cell < kCellCount; ++cell) {
        for (const SoundString &stem : stems)
            paradigm.cells[cell].append(finishWord(stem + SoundString::literal(endings[cell])));
        removeDuplicates(paradigm.cells[cell]);
    }
    return paradigm;
}

// The tenses made outside the present system from stems of their own; an empty paradigm
// where the root's stem is not known.
SoundParadigm derivedTense(const VerbRoot &root, Pada pada, Tense tense)
{
    switch (tense) {
    case Tense::Periphrastic:
        return endingsAfter(infinitiveStems(root), kPeriphrasticEndings[pada == Pada::Atmanepada]);
    case Tense::Conditional:
        return futureParadigm(root, pada, Tense::Imperfect);
    case Tense::Perfect:
        return perfectParadigm(root, pada, false);
    case Tense::Aorist:
        return aoristParadigm(root, pada, false);
    default:
        return endingsAfter(benedictiveStems(root, passiveBase(root)), kBenedictiveEndings);
    }
}

SoundParadigm activeParadigm(const VerbRoot &root, Pada pada, Tense tense)
{
    if (tense == Tense::Benedictive && pada == Pada::Atmanepada)
        return middleBenedictive(root);
    if (tense == Tense::Future || tense == Tense::Periphrastic || tense == Tense::Conditional)
        return tense == Tense::Future
                   ? futureParadigm(root, root.futureParasmaipada ? Pada::Parasmaipada : pada)
                   : derivedTense(root, root.futureParasmaipada ? Pada::Parasmaipada : pada, tense);
    if (tense == Tense::Perfect && root.futureParasmaipada)
        return derivedTense(root, Pada::Parasmaipada, tense);
    if (tense == Tense::Benedictive || tense == Tense::Perfect || tense == Tense::Aorist)
        return derivedTense(root, pada, tense);
    const SoundParadigm paradigm = root.isThematic()
                                       ? thematicParadigm(root.strongStem.chopped(1), pada, tense)
                                       : conjugateAthematic(root, pada, tense);
    return tense == Tense::Imperative && pada == Pada::Parasmaipada
               ? withBenedictiveImperative(paradigm)
               : paradigm;
}

// The passive of the future, the periphrastic future, the conditional and the benedictive is
// the middle; the roots in vowels and han, grah, dR^ish may also make it on the stem of the
// passive aorist with i (kAriShyate, kAritA, akAriShyata, kAriShIShTa beside the middle's).
SoundParadigm passiveOutsidePresent(const VerbRoot &root, Tense tense)
{
    const Pada middle = Pada::Atmanepada;
    // The table withholds the passive of a root whose i the grammars leave open (kram).
    if (root.verbClass != 10 && exceptionFor(root, "pass"))
        return {};
    const SoundString alternative = passiveFutureAlternative(root); // "kAriShy"
    // "kAri"; nothing where the root has no such stem (chopping an empty string is undefined).
    const SoundString withI = alternative.isEmpty() ? SoundString() : alternative.chopped(2);
    SoundParadigm paradigm;
    switch (tense) {
    case Tense::Future:
    case Tense::Conditional: {
        const Tense endings = tense == Tense::Future ? Tense::Present : Tense::Imperfect;
        paradigm = futureParadigm(root, middle, endings);
        if (!alternative.isEmpty())
            mergeAlternatives(&paradigm, thematicParadigm(alternative, middle, endings));
        return paradigm;
    }
    case Tense::Periphrastic:
        paradigm = derivedTense(root, middle, Tense::Periphrastic);
        if (!alternative.isEmpty() && !paradigm.cells.at(0).isEmpty())
            mergeAlternatives(&paradigm, endingsAfter({withI + Sound::t}, kPeriphrasticEndings[1]));
        return paradigm;
    default:
        return middleBenedictive(root, alternative.isEmpty() ? SoundStrings()
                                                             : SoundStrings{withS(withI)});
    }
}

VerbParadigm inItrans(const SoundParadigm &sounds, const SoundStrings &prefixes,
                      const SoundString &rootSounds)
{
    VerbParadigm paradigm;
    for (int cell = 0; cell < kCellCount; ++cell) {
        for (const SoundString &form : sounds.cells[cell])
            paradigm.cells[cell].append(withPrefixes(prefixes, rootSounds, form).toItrans());
    }
    return paradigm;
}

// The third singular present of every root of the table, bare or with the prefixes tried
// (sounds -> candidates, best first).
QHash<SoundString, QList<VerbCandidate>>
indexThirdSingulars(const QList<QPair<QString, SoundStrings>> &prefixChains)
{
    QHash<SoundString, QList<VerbCandidate>> byForm;
    for (const VerbRoot &root : verbRootTable()) {
        for (const Pada pada : {Pada::Parasmaipada, Pada::Atmanepada}) {
            if (!root.takes(pada))
                continue;
            const SoundString form = thirdSingularPresent(root, pada);
            for (const auto &[chain, prefixes] : prefixChains)
                byForm[withPrefixes(prefixes, root.rootSounds, form)].append(
                    {chain + root.root, root.verbClass, pada});
        }
    }
    return byForm;
}

// The prefix chains the guesser tries, each with its prefixes in sounds.
QList<QPair<QString, SoundStrings>> splitPrefixChains()
{
    QList<QPair<QString, SoundStrings>> chains;
    for (const QString &chain : commonPrefixChains())
        chains.append({chain, splitPrefixes(chain).value.prefixes});
    return chains;
}

// Every active form of the present system and the future of the roots of the table, for a
// word taken from running text that is not a third singular ("gachChAmi" -> gam 1 P).
QHash<SoundString, QList<VerbCandidate>> indexActiveForms()
{
    QHash<SoundString, QList<VerbCandidate>> byForm;
    for (const VerbRoot &root : verbRootTable()) {
        for (const Pada pada : {Pada::Parasmaipada, Pada::Atmanepada}) {
            if (!root.takes(pada))
                continue;
            const VerbCandidate candidate{root.root, root.verbClass, pada};
            for (int tense = 0; tense <= static_cast<int>(Tense::Future); ++tense) {
                const SoundParadigm paradigm =
                    activeParadigm(root, pada, static_cast<Tense>(tense));
                for (const SoundStrings &cell : paradigm.cells) {
                    for (const SoundString &form : cell) {
                        QList<VerbCandidate> &found = byForm[form];
                        if (found.isEmpty() || found.back().root != root.root ||
                            found.back().verbClass != root.verbClass || found.back().pada != pada)
                            found.append(candidate);
                    }
                }
            }
        }
    }
    return byForm;
}

// The causative and the desiderative are conjugated as a root of the tenth class and of the
// first would be, on the stem the rules or the table give; the tenses they are not made in
// yet, and roots whose stem is not known, are refused.
Outcome<VerbRoot> derivedRoot(const VerbRoot &root, const VerbRequest &request,
                              SoundStrings *alternatives)
{
    using Derived = VerbRequest::Derived;
    if (request.derived == Derived::None)
        return {root, {}};
    const bool causative = request.derived == Derived::Causative;
    const QString name = causative ? QStringLiteral("causative") : QStringLiteral("desiderative");
    // The desiderative's passive outside the perfect is not made: the grammars let the root's
    // own i decide in it (gam: jigamiShati, but saMjigaMsate), which is not settled here; nor is
    // its aorist.
    const bool madeHere = causative || request.tense == Tense::Perfect ||
                          (request.tense != Tense::Aorist && !request.passive);
    if (!madeHere)
        return {{},
                QStringLiteral("the %1 of the %2 of %3 is not known")
                    .arg(request.passive ? QStringLiteral("passive ") + tenseLabel(request.tense)
                                         : tenseLabel(request.tense),
                         name, root.root)};
    std::optional<Pada> onlyPada;
    SoundStrings stems = causative ? causativeStems(root) : desiderativeStems(root, &onlyPada);
    if (stems.isEmpty())
        return {{}, QStringLiteral("the %1 of %2 is not known").arg(name, root.root)};
    VerbRoot derived = root;
    // Both are stems in a of their own outside the present system, as the tenth class is: i
    // before every suffix (kArayiShyati, jigamiShiShyati, jigamiShitA), the a dropped before
    // the y of the passive and the benedictive (kAryAt, jigamiShyAt).
    derived.verbClass = 10;
    derived.strongStem = derived.weakStem = stems.takeFirst();
    derived.weakStemBeforeVowel.clear();
    derived.strongStemBeforeVowel.clear();
    // A causative is conjugated in both padas; a desiderative in those of its root, or in the
    // one the table names.
    derived.parasmaipada =
        causative || (onlyPada ? *onlyPada == Pada::Parasmaipada : root.parasmaipada);
    derived.atmanepada = causative || (onlyPada ? *onlyPada == Pada::Atmanepada : root.atmanepada);
    derived.futureTakesI = {true};
    derived.futureStem.clear();
    derived.futureAlternatives.clear();
    derived.futureParasmaipada = false;
    derived.passiveStem.clear();
    derived.passiveAlternatives.clear();
    *alternatives = stems;
    return {derived, {}};
}

} // namespace

SoundParadigm verbs::conjugateInSounds(const VerbRoot &root, Pada pada, Tense tense, bool passive)
{
    if (!passive)
        return activeParadigm(root, pada, tense);
    if (tense == Tense::Aorist)
        return aoristParadigm(root, pada, true);
    if (tense == Tense::Perfect)
        return perfectParadigm(root, Pada::Atmanepada, true);
    if (tense >= Tense::Future && tense <= Tense::Benedictive)
        return passiveOutsidePresent(root, tense);
    SoundParadigm sounds = thematicParadigm(passiveBase(root), Pada::Atmanepada, tense);
    for (const SoundString &alternative : root.passiveAlternatives)
        mergeAlternatives(&sounds, thematicParadigm(alternative, Pada::Atmanepada, tense));
    return sounds;
}

SoundStrings verbs::conjugateCellInSounds(const VerbRoot &root, Pada pada, Tense tense,
                                          bool passive, int cell)
{
    // Only the thematic tables are made cell by cell; the others are small enough whole.
    SoundStrings bases;
    Tense endings = tense;
    if (passive && tense <= Tense::Optative) {
        bases = SoundStrings{passiveBase(root)} + root.passiveAlternatives;
        pada = Pada::Atmanepada;
    } else if (!passive && tense <= Tense::Optative && root.isThematic()) {
        bases = {root.strongStem.chopped(1)};
    } else if (!passive && tense == Tense::Future) {
        bases = futureBases(root);
        endings = Tense::Present;
        if (root.futureParasmaipada)
            pada = Pada::Parasmaipada;
    } else {
        return conjugateInSounds(root, pada, tense, passive).cells.at(std::size_t(cell));
    }
    SoundStrings forms;
    for (const SoundString &base : bases)
        forms.append(thematicCell(base, pada, endings, cell));
    removeDuplicates(forms);
    return forms;
}

Inflection<VerbParadigm> conjugate(const VerbRequest &request)
{
    Inflection<VerbParadigm> result;
    const Outcome<verbs::PrefixedRoot> split = splitPrefixes(request.root);
    if (!split.ok()) {
        result.error = split.error;
        return result;
    }
    const SoundStrings &prefixes = split.value.prefixes;
    const QString &bareRoot = split.value.root;
    // The passive is conjugated as the middle, on the root's middle line where it has one
    // (gam: gaMsyate, not the active's gamiShyati).
    const Pada padaOfLine = request.passive ? Pada::Atmanepada : request.pada;
    const Outcome<VerbRoot> found = rootFor(bareRoot, request.verbClass, padaOfLine);
    if (!found.ok()) {
        result.error = found.error;
        return result;
    }
    const VerbRoot &basic = found.value;
    SoundStrings alternativeStems;
    const Outcome<VerbRoot> derived = derivedRoot(basic, request, &alternativeStems);
    if (!derived.ok()) {
        result.error = derived.error;
        return result;
    }
    const VerbRoot &root = derived.value;
    // sam-kR^i takes an s before the root (saMskaroti) that the perfect puts after the
    // reduplication (saMchaskAra); that perfect is not made, rather than given wrong.
    if (request.tense == Tense::Perfect && request.derived == VerbRequest::Derived::None &&
        prefixes.endsWith("sam"_sounds) && inRootGroup(RootGroup::SAfterSam, basic.rootSounds)) {
        result.error = QStringLiteral("the perfect of %1 is not known").arg(request.root);
        return result;
    }
    // Where the s of saMskR^i stands in the reduplicated causative aorist the grammars
    // consulted do not settle (samachIskarat or samachiskarat): it is not made.
    if (!prefixes.isEmpty() && prefixes.back() == "sam"_sounds &&
        inRootGroup(RootGroup::SAfterSam, basic.rootSounds) && request.tense == Tense::Aorist &&
        request.derived == VerbRequest::Derived::Causative && !request.passive) {
        result.error =
            QStringLiteral("the aorist of the causative of %1 is not known").arg(request.root);
        return result;
    }
    // mriyate has its future and perfect in the parasmaipada only (mariShyati, mamAra), so
    // either pada asks for them.
    const bool futureSystem = request.tense == Tense::Future ||
                              request.tense == Tense::Periphrastic ||
                              request.tense == Tense::Conditional;
    const bool activeFuture =
        (futureSystem || request.tense == Tense::Perfect) && root.futureParasmaipada;
    if (!request.passive && !activeFuture && !root.takes(request.pada)) {
        result.error =
            QStringLiteral("%1 of class %2 is not conjugated in the %3")
                .arg(bareRoot, QString::number(request.verbClass), padaName(request.pada));
        return result;
    }
    SoundParadigm sounds = conjugateInSounds(root, request.pada, request.tense, request.passive);
    for (const SoundString &stem : alternativeStems) {
        VerbRoot alternative = root;
        alternative.strongStem = alternative.weakStem = stem;
        mergeAlternatives(
            &sounds, conjugateInSounds(alternative, request.pada, request.tense, request.passive));
    }
    if (sounds.cells[0].isEmpty()) {
        const QString voice = request.passive ? QStringLiteral("passive ") : QString();
        result.error = QStringLiteral("the %1%2 of %3 is not known")
                           .arg(voice, tenseLabel(request.tense), bareRoot);
        return result;
    }
    result.paradigm = inItrans(sounds, prefixes, root.rootSounds);
    return result;
}

QList<VerbCandidate> guessVerbRoots(const QString &citationForm)
{
    const SoundString sounds = SoundString::fromItrans(citationForm.trimmed()).value;
    if (sounds.isEmpty())
        return {};
    static const QHash<SoundString, QList<VerbCandidate>> bare =
        indexThirdSingulars({{QString(), SoundStrings()}});
    if (const auto found = bare.constFind(sounds); found != bare.cend())
        return *found;
    static const QHash<SoundString, QList<VerbCandidate>> prefixed =
        indexThirdSingulars(splitPrefixChains());
    if (const auto found = prefixed.constFind(sounds); found != prefixed.cend())
        return *found;
    static const QHash<SoundString, QList<VerbCandidate>> anyForm = indexActiveForms();
    return anyForm.value(sounds);
}

QList<VerbCandidate> verbRootClasses(const QString &root)
{
    QList<VerbCandidate> classes;
    for (const VerbRoot &entry : findVerbRoot(root.trimmed())) {
        for (const Pada pada : {Pada::Parasmaipada, Pada::Atmanepada}) {
            if (entry.takes(pada))
                classes.append({entry.root, entry.verbClass, pada});
        }
    }
    return classes;
}

} // namespace vantro
