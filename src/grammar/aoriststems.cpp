// SPDX-License-Identifier: GPL-3.0-or-later
// Which aorist a root makes and on what stem: the table of exceptions first
// (data/verbderivatives.tsv: aor= active, aorA= middle, caor= causative), then the rules of
// the grammars for the regular roots: the iS-aorist for the roots that take i, the s-aorist
// for those that do not, the siS-aorist for those in A, the sa-aorist for those in a sibilant
// or h after i, u or r, and the reduplicated aorist for causatives. A root whose future does
// not say plainly whether it takes i is left to the table.
#include "aoriststems.h"

#include "rootgroups.h"
#include "soundclasses.h"
#include "verbphonology.h"
#include "verbstems.h"

#include <QHash>

#include <optional>

namespace vantro::verbs {

namespace {

// The finals before which the a of the iS-aorist stays short: a rule's own short list.
constexpr const char *kFinalsKeepingShortA = "hmy";

// The finals of a root that meet the t of the s-aorist's endings by the plain joining rules:
// its own list, as roots in h and in a nasal are left to the table of exceptions.
constexpr const char *kFinalsJoinedByRule = "kchjtddhpbhsh";

std::optional<AoristKind> kindNamed(QStringView name)
{
    static const QHash<QString, AoristKind> kinds = {
        {"root", AoristKind::Root}, {"a", AoristKind::A},
        {"sa", AoristKind::Sa},     {"s", AoristKind::S},
        {"iS", AoristKind::IS},     {"siS", AoristKind::SiS},
        {"Is", AoristKind::LongIS}, {"red", AoristKind::Reduplicated}};
    const auto found = kinds.constFind(name.toString());
    return found == kinds.cend() ? std::nullopt : std::optional<AoristKind>(*found);
}

// "kind:stem" values of the table, the stems in ITRANS.
QList<AoristStem> readStems(const QStringList &values)
{
    QList<AoristStem> stems;
    for (const QString &value : values) {
        const qsizetype colon = value.indexOf(u':');
        const auto kind = colon > 0 ? kindNamed(QStringView(value).left(colon)) : std::nullopt;
        if (!kind || colon + 1 >= value.size())
            continue;
        const QStringList parts = value.mid(colon + 1).split(u'/');
        AoristStem stem{*kind, SoundString::fromItrans(parts.first()).value};
        stem.beforeDental = SoundString::fromItrans(parts.value(1)).value;
        stems.append(stem);
    }
    return stems;
}

// Whether the root takes i before the s of the aorist, read from its future; nothing where
// the future has an irregular stem or more than one.
std::optional<bool> takesI(const VerbRoot &root)
{
    // The roots in R^i take i in the future only (kariShyati, but akArShIt); vR^i and jAgR^i take
    // it throughout.
    const SoundString &r = root.rootSounds;
    if (r.back() == Sound::Ri)
        return inRootGroup(RootGroup::IThroughout, r);
    if (!root.futureStem.isEmpty() || !root.futureAlternatives.isEmpty() ||
        root.futureTakesI.size() != 1)
        return std::nullopt;
    return root.futureTakesI.first();
}

// The index of the root's vowel when one consonant follows it at the end ("pach" -> 1).
std::optional<int> vowelBeforeFinal(const SoundString &r)
{
    const int n = r.size();
    if (n < 2 || !isConsonant(r.at(n - 1)) || !isVowel(r.at(n - 2)))
        return std::nullopt;
    return n - 2;
}

SoundString withVowel(const SoundString &r, int at, const SoundString &vowel)
{
    return r.left(at) + vowel + r.mid(at + 1);
}

// The root's final vowel in vrddhi as it stands before a vowel: lU -> lAv, tR^I -> tAr.
SoundString withFinalVrddhiBeforeVowel(const SoundString &r)
{
    return r.chopped(1) + vrddhiBeforeVowel(r.back());
}

// The active iS-aorist: a final vowel takes vrddhi (alAvIt); an a before l or r does
// (achAlIt), and after an initial consonant any a before one consonant may (apAThIt, apaThIt),
// save before h, m, y and in shvas; i, u, R^i before one consonant take guna (abodhIt).
QList<AoristStem> activeIS(const SoundString &r)
{
    if (isVowel(r.back()))
        return turnsToSemivowel(r.back()) && !inRootGroup(RootGroup::GunaForVrddhi, r)
                   ? QList<AoristStem>{{AoristKind::IS, withFinalVrddhiBeforeVowel(r)}}
                   : QList<AoristStem>{};
    const auto at = vowelBeforeFinal(r);
    if (!at || r.at(*at) != Sound::a)
        return {{AoristKind::IS, gunaOfRoot(r)}};
    const SoundString lengthened = withVowel(r, *at, "A"_sounds);
    if (isLiquid(r.back()))
        return {{AoristKind::IS, lengthened}};
    if (SoundString::literal(kFinalsKeepingShortA).contains(r.back()) ||
        inRootGroup(RootGroup::AShortInISAorist, r) || !isConsonant(r.front()))
        return {{AoristKind::IS, r}};
    return {{AoristKind::IS, lengthened}, {AoristKind::IS, r}};
}

// Roots ending in a sibilant or h with i, u or R^i before it and without i take sa (adikShat);
// dR^ish does not.
bool takesSa(const SoundString &r)
{
    const auto at = vowelBeforeFinal(r);
    return at && isSpirant(r.back()) && turnsToSemivowel(r.at(*at)) &&
           !inRootGroup(RootGroup::NoSaAorist, r);
}

// The active aorist of a root without i: siS after A (ayAsIt), sa (adikShat), else s with
// vrddhi of the root's vowel (anaiShIt, akArShIt, atyAkShIt).
QList<AoristStem> activeWithoutI(const SoundString &r)
{
    if (r.back() == Sound::A || isDiphthong(r.back()))
        return {{AoristKind::SiS, r.back() == Sound::A ? r : r.chopped(1) + Sound::A}};
    if (isVowel(r.back()))
        return {{AoristKind::S, r.chopped(1) + vrddhi(r.back())}};
    if (takesSa(r))
        return {{AoristKind::Sa, joinBeforeFutureS(r, "s"_sounds)}};
    const auto at = vowelBeforeFinal(r);
    if (!at)
        return {};
    return {{AoristKind::S, withVowel(r, *at, vrddhi(r.at(*at)))}};
}

// The middle: guna of a final i or u (aneShTa, ashayiShTa), the root as it is before the s
// otherwise (akR^ita, alabdha); the iS-aorist with guna as elsewhere (aseviShTa, avardhiShTa).
QList<AoristStem> middleByRule(const SoundString &r, bool withI)
{
    if (withI) {
        if (isHighVowel(r.back()))
            return {{AoristKind::IS, r.chopped(1) + gunaBeforeVowel(r.back())}}; // bhU -> bhav
        return isVowel(r.back()) ? QList<AoristStem>{}
                                 : QList<AoristStem>{{AoristKind::IS, gunaOfRoot(r)}};
    }
    if (isHighVowel(r.back()))
        return {{AoristKind::S, gunaOfRoot(r)}};
    if (r.back() == Sound::Ri)
        return {{AoristKind::S, r}};
    if (takesSa(r))
        return {{AoristKind::Sa, joinBeforeFutureS(r, "s"_sounds)}};
    // Only the stops and sh meet the t of the endings by the plain rules; roots in h and in a
    // nasal are left to the table.
    if (SoundString::literal(kFinalsJoinedByRule).contains(r.back()) && vowelBeforeFinal(r))
        return {{AoristKind::S, r}};
    return {};
}

// The reduplicating syllable's consonant: the first of the stem, or the stop after an
// initial sibilant, palatal for a guttural or h, without aspiration.
Sound reduplicatingConsonant(const SoundString &body)
{
    Sound c = body.front();
    if (isSibilant(c) && body.size() > 1 && isVoicelessStop(body.at(1)))
        c = body.at(1);
    return reduplicatingStop(c);
}

// The reduplicated aorist of a causative in -aya: the vowel before the last consonant goes
// short (kAray -> kar); the reduplicating syllable takes the root's own vowel short, a (for
// a and R^i) turns to i, and u to i before a labial, a semivowel or j with a after it, where the
// syllable after is light; then it is long where it is light itself (achIkarat, ajIjanat,
// abUbudhat, abIbhavat, atityajat). Roots of more than one syllable, beginning with a vowel or
// an s, with R^i before a consonant or a long vowel of their own, and those the grammars treat
// apart, are left to the table.
SoundString reduplicatedStem(const SoundString &r, const SoundString &ayaStem)
{
    if (!ayaStem.endsWith("aya") || isVowel(r.front()) || r.front() == Sound::s)
        return {};
    // sru, shru, dru, pru, plu and chyu may keep u (asushravat); dyut and svap take i from their
    // semivowel (adidyutat); pA, sthA, han, hve, ve, shvi make stems of their own.
    const int vowels = r.syllableCount();
    if (inRootGroup(RootGroup::CausativeAoristApart, r) || r.contains(Sound::RI) || vowels != 1)
        return {};
    const auto own = vowelBeforeFinal(r);
    if (own ? !isShortVowel(r.at(*own)) || isVocalicLiquid(r.at(*own)) : !isVowel(r.back()))
        return {};
    const Sound rootVowel = own ? r.at(*own) : r.back();
    SoundString body = ayaStem.chopped(3);
    const auto at = vowelBeforeFinal(body);
    if (!at || isVrddhiDiphthong(body.at(*at)) || body.back() == Sound::Ch)
        return {};
    body.set(*at, shortenedVowel(body.at(*at)));
    // smR^i, tvar, prath and the like keep a in the reduplicating syllable (asasmarat).
    Sound vowel = sameVowelQuality(rootVowel, Sound::i)   ? Sound::i
                  : sameVowelQuality(rootVowel, Sound::u) ? Sound::u
                                                          : Sound::a;
    const bool likeDesiderative = !inRootGroup(RootGroup::CausativeAoristKeepsA, r);
    if (likeDesiderative && vowel == Sound::a)
        vowel = Sound::i;
    if (likeDesiderative && vowel == Sound::u &&
        (isLabial(body.at(0)) || isSemivowel(body.at(0)) || body.at(0) == Sound::j) &&
        body.at(1) == Sound::a)
        vowel = Sound::i;
    // C is doubled after the short syllable, which is then heavy (achichChidat).
    if (body.front() == Sound::Ch)
        return SoundString(Sound::ch) + vowel + Sound::ch + body;
    if (likeDesiderative && *at == 1)
        vowel = vowel == Sound::i ? Sound::I : vowel == Sound::u ? Sound::U : vowel;
    return SoundString(reduplicatingConsonant(body)) + vowel + body;
}

// The line of the table for the root in its own class only: a causative (class 10 on a
// root of another class) must not take the simple root's aorist from a line for every class.
bool isOwnTenthClass(const VerbRoot &root)
{
    for (const VerbRoot &entry : findVerbRoot(root.root)) {
        if (entry.verbClass == 10 && entry.strongStem == root.strongStem)
            return true;
    }
    return false;
}

QList<AoristStem> causativeStems(const VerbRoot &root, Pada pada)
{
    if (isOwnTenthClass(root)) {
        const auto given = exceptionTextFor(root, pada == Pada::Atmanepada ? "aorA" : "aor");
        if (given || pada == Pada::Parasmaipada)
            return readStems(given.value_or(QStringList()));
        return readStems(exceptionTextFor(root, "aor").value_or(QStringList()));
    }
    if (const auto given = exceptionTextFor(root, "caor"))
        return readStems(*given);
    const SoundString stem = reduplicatedStem(root.rootSounds, root.strongStem);
    return stem.isEmpty() ? QList<AoristStem>{}
                          : QList<AoristStem>{{AoristKind::Reduplicated, stem}};
}

QList<AoristStem> activeStems(const VerbRoot &root)
{
    if (const auto given = exceptionTextFor(root, "aor"))
        return readStems(*given);
    const auto withI = takesI(root);
    if (!withI)
        return {};
    return *withI ? activeIS(root.rootSounds) : activeWithoutI(root.rootSounds);
}

QList<AoristStem> middleStems(const VerbRoot &root)
{
    if (const auto given = exceptionTextFor(root, "aorA"))
        return readStems(*given);
    // The sa-aorist is the root's in both padas (adikShata).
    const QList<AoristStem> active =
        readStems(exceptionTextFor(root, "aor").value_or(QStringList()));
    if (!active.isEmpty() && active.first().kind == AoristKind::Sa)
        return {active.first()};
    const auto withI = takesI(root);
    return withI ? middleByRule(root.rootSounds, *withI) : QList<AoristStem>{};
}

} // namespace

QList<AoristStem> aoristStems(const VerbRoot &given, Pada pada)
{
    const VerbRoot root = substituteRoot(given);
    if (root.verbClass == 10)
        return causativeStems(root, pada);
    QList<AoristStem> stems = pada == Pada::Atmanepada ? middleStems(root) : activeStems(root);
    // The j of these roots meets a t as Sh (ayAShTAm, asrAShTAm), elsewhere as k (atyAktAm).
    for (AoristStem &stem : stems)
        stem.jSoundsAsSh = inRootGroup(RootGroup::JAsSh, root.rootSounds);
    return stems;
}

QList<AoristStem> passiveAoristStems(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (root.verbClass == 10) {
        if (!root.strongStem.endsWith("aya"))
            return {};
        return {{AoristKind::IS, root.strongStem.chopped(1)}};
    }
    const QList<AoristStem> middle = aoristStems(root, Pada::Atmanepada);
    QList<AoristStem> stems;
    for (const AoristStem &stem : middle) {
        if (stem.kind != AoristKind::Reduplicated)
            stems.append(stem);
    }
    // shri, dru, sru: the reduplicated aorist is their middle's, the rules give the passive's.
    const bool reduplicatedOnly = !middle.isEmpty() && stems.isEmpty();
    const auto withI = takesI(root);
    if (withI && (reduplicatedOnly || (middle.isEmpty() && !exceptionTextFor(root, "aorA"))))
        return middleByRule(root.rootSounds, *withI);
    return stems;
}

SoundStrings passiveAoristThirdSingulars(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (const auto form = exceptionFor(root, "aorI"))
        return *form;
    const SoundString &r = root.rootSounds;
    SoundString stem;
    if (root.verbClass == 10) {
        if (!root.strongStem.endsWith("aya"))
            return {};
        stem = root.strongStem.chopped(3);
    } else if (r.back() == Sound::A || isDiphthong(r.back())) {
        // A takes y before the i (adAyi, agAyi).
        stem = (r.back() == Sound::A ? r : r.chopped(1) + Sound::A) + Sound::y;
    } else if (isVowel(r.back())) {
        stem = withFinalVrddhiBeforeVowel(r); // akAri, anAyi, abhAvi
    } else if (const auto at = vowelBeforeFinal(r)) {
        // a before one consonant lengthens (apAchi), save in the roots in m, which the
        // grammars treat root by root; i, u, R^i take guna (abodhi, adarshi).
        if (r.at(*at) == Sound::a && r.back() == Sound::m)
            return {};
        stem = r.at(*at) == Sound::a ? withVowel(r, *at, "A"_sounds) : gunaOfRoot(r);
    } else {
        stem = r;
    }
    return {finishWord(withAugment(stem + Sound::i))};
}

} // namespace vantro::verbs
