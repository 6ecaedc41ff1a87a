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
constexpr char16_t kFinalsKeepingShortA[] = u"hmy";

// The finals of a root that meet the t of the s-aorist's endings by the plain joining rules:
// its own list, as roots in h and in a nasal are left to the table of exceptions.
constexpr char16_t kFinalsJoinedByRule[] = u"kcjtdDpBS";

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

// "kind:stem" values of the table, the stem already in sounds.
QList<AoristStem> readStems(const QStringList &values)
{
    QList<AoristStem> stems;
    for (const QString &value : values) {
        const qsizetype colon = value.indexOf(u':');
        const auto kind = colon > 0 ? kindNamed(QStringView(value).left(colon)) : std::nullopt;
        if (!kind || colon + 1 >= value.size())
            continue;
        const QStringList parts = value.mid(colon + 1).split(u'/');
        AoristStem stem{*kind, parts.first()};
        stem.beforeDental = parts.value(1);
        stems.append(stem);
    }
    return stems;
}

// Whether the root takes i before the s of the aorist, read from its future; nothing where
// the future has an irregular stem or more than one.
std::optional<bool> takesI(const VerbRoot &root)
{
    // The roots in f take i in the future only (karizyati, but akArzIt); vf and jAgf take it
    // throughout.
    const QString &r = root.rootSounds;
    if (r.back() == u'f')
        return inRootGroup(RootGroup::IThroughout, r);
    if (!root.futureStem.isEmpty() || !root.futureAlternatives.isEmpty() ||
        root.futureTakesI.size() != 1)
        return std::nullopt;
    return root.futureTakesI.first();
}

// The index of the root's vowel when one consonant follows it at the end ("pac" -> 1).
std::optional<qsizetype> vowelBeforeFinal(const QString &r)
{
    const qsizetype n = r.size();
    if (n < 2 || !isConsonant(r[n - 1]) || !isVowel(r[n - 2]))
        return std::nullopt;
    return n - 2;
}

QString withVowel(const QString &r, qsizetype at, const QString &vowel)
{
    return r.left(at) + vowel + r.mid(at + 1);
}

// The root's final vowel in vrddhi as it stands before a vowel: lU -> lAv, tF -> tAr.
QString withFinalVrddhiBeforeVowel(const QString &r)
{
    return r.chopped(1) + vrddhiBeforeVowel(r.back());
}

// The active iS-aorist: a final vowel takes vrddhi (alAvIt); an a before l or r does
// (acAlIt), and after an initial consonant any a before one consonant may (apAWIt, apaWIt),
// save before h, m, y and in Svas; i, u, f before one consonant take guna (aboDIt).
QList<AoristStem> activeIS(const QString &r)
{
    if (isVowel(r.back()))
        return turnsToSemivowel(r.back()) && !inRootGroup(RootGroup::GunaForVrddhi, r)
                   ? QList<AoristStem>{{AoristKind::IS, withFinalVrddhiBeforeVowel(r)}}
                   : QList<AoristStem>{};
    const auto at = vowelBeforeFinal(r);
    if (!at || r[*at] != u'a')
        return {{AoristKind::IS, gunaOfRoot(r)}};
    const QString lengthened = withVowel(r, *at, QStringLiteral("A"));
    if (isLiquid(r.back()))
        return {{AoristKind::IS, lengthened}};
    if (QStringView(kFinalsKeepingShortA).contains(r.back()) ||
        inRootGroup(RootGroup::AShortInISAorist, r) || !isConsonant(r.front()))
        return {{AoristKind::IS, r}};
    return {{AoristKind::IS, lengthened}, {AoristKind::IS, r}};
}

// Roots ending in a sibilant or h with i, u or f before it and without i take sa (adikzat);
// dfS does not.
bool takesSa(const QString &r)
{
    const auto at = vowelBeforeFinal(r);
    return at && isSpirant(r.back()) && turnsToSemivowel(r[*at]) &&
           !inRootGroup(RootGroup::NoSaAorist, r);
}

// The active aorist of a root without i: siS after A (ayAsIt), sa (adikzat), else s with
// vrddhi of the root's vowel (anEzIt, akArzIt, atyAkzIt).
QList<AoristStem> activeWithoutI(const QString &r)
{
    if (r.back() == u'A' || isDiphthong(r.back()))
        return {{AoristKind::SiS, r.back() == u'A' ? r : r.chopped(1) + u'A'}};
    if (isVowel(r.back()))
        return {{AoristKind::S, r.chopped(1) + vrddhi(r.back())}};
    if (takesSa(r))
        return {{AoristKind::Sa, joinBeforeFutureS(r, QStringLiteral("s"))}};
    const auto at = vowelBeforeFinal(r);
    if (!at)
        return {};
    return {{AoristKind::S, withVowel(r, *at, vrddhi(r[*at]))}};
}

// The middle: guna of a final i or u (anezwa, aSayizwa), the root as it is before the s
// otherwise (akfta, alabDa); the iS-aorist with guna as elsewhere (asevizwa, avarDizwa).
QList<AoristStem> middleByRule(const QString &r, bool withI)
{
    if (withI) {
        if (isHighVowel(r.back()))
            return {{AoristKind::IS, r.chopped(1) + gunaBeforeVowel(r.back())}}; // BU -> Bav
        return isVowel(r.back()) ? QList<AoristStem>{}
                                 : QList<AoristStem>{{AoristKind::IS, gunaOfRoot(r)}};
    }
    if (isHighVowel(r.back()))
        return {{AoristKind::S, gunaOfRoot(r)}};
    if (r.back() == u'f')
        return {{AoristKind::S, r}};
    if (takesSa(r))
        return {{AoristKind::Sa, joinBeforeFutureS(r, QStringLiteral("s"))}};
    // Only the stops and S meet the t of the endings by the plain rules; roots in h and in a
    // nasal are left to the table.
    if (QStringView(kFinalsJoinedByRule).contains(r.back()) && vowelBeforeFinal(r))
        return {{AoristKind::S, r}};
    return {};
}

// The reduplicating syllable's consonant: the first of the stem, or the stop after an
// initial sibilant, palatal for a guttural or h, without aspiration.
QChar reduplicatingConsonant(const QString &body)
{
    QChar c = body.front();
    if (isSibilant(c) && body.size() > 1 && isVoicelessStop(body[1]))
        c = body[1];
    return reduplicatingStop(c);
}

// The reduplicated aorist of a causative in -aya: the vowel before the last consonant goes
// short (kAray -> kar); the reduplicating syllable takes the root's own vowel short, a (for
// a and f) turns to i, and u to i before a labial, a semivowel or j with a after it, where the
// syllable after is light; then it is long where it is light itself (acIkarat, ajIjanat,
// abUbuDat, abIBavat, atityajat). Roots of more than one syllable, beginning with a vowel or
// an s, with f before a consonant or a long vowel of their own, and those the grammars treat
// apart, are left to the table.
QString reduplicatedStem(const QString &r, const QString &ayaStem)
{
    if (!ayaStem.endsWith(QStringLiteral("aya")) || isVowel(r.front()) || r.front() == u's')
        return {};
    // sru, Sru, dru, pru, plu and cyu may keep u (asuSravat); dyut and svap take i from their
    // semivowel (adidyutat); pA, sTA, han, hve, ve, Svi make stems of their own.
    qsizetype vowels = 0;
    for (const QChar c : r)
        vowels += isVowel(c) ? 1 : 0;
    if (inRootGroup(RootGroup::CausativeAoristApart, r) || r.contains(u'F') || vowels != 1)
        return {};
    const auto own = vowelBeforeFinal(r);
    if (own ? !isShortVowel(r[*own]) || isVocalicLiquid(r[*own]) : !isVowel(r.back()))
        return {};
    const QChar rootVowel = own ? r[*own] : r.back();
    QString body = ayaStem.chopped(3);
    const auto at = vowelBeforeFinal(body);
    if (!at || isVrddhiDiphthong(body[*at]) || body.back() == u'C')
        return {};
    body[*at] = shortenedVowel(body[*at]);
    // smf, tvar, praT and the like keep a in the reduplicating syllable (asasmarat).
    QChar vowel = sameVowelQuality(rootVowel, u'i')   ? u'i'
                  : sameVowelQuality(rootVowel, u'u') ? u'u'
                                                      : u'a';
    const bool likeDesiderative = !inRootGroup(RootGroup::CausativeAoristKeepsA, r);
    if (likeDesiderative && vowel == u'a')
        vowel = u'i';
    if (likeDesiderative && vowel == u'u' &&
        (isLabial(body[0]) || isSemivowel(body[0]) || body[0] == u'j') && body[1] == u'a')
        vowel = u'i';
    // C is doubled after the short syllable, which is then heavy (acicCidat).
    if (body.front() == u'C')
        return QString(u'c') + vowel + u'c' + body;
    if (likeDesiderative && *at == 1)
        vowel = vowel == u'i' ? u'I' : vowel == u'u' ? u'U' : vowel;
    return QString(reduplicatingConsonant(body)) + vowel + body;
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
        const auto given = exceptionFor(root, pada == Pada::Atmanepada ? "aorA" : "aor");
        if (given || pada == Pada::Parasmaipada)
            return readStems(given.value_or(QStringList()));
        return readStems(exceptionFor(root, "aor").value_or(QStringList()));
    }
    if (const auto given = exceptionFor(root, "caor"))
        return readStems(*given);
    const QString stem = reduplicatedStem(root.rootSounds, root.strongStem);
    return stem.isEmpty() ? QList<AoristStem>{}
                          : QList<AoristStem>{{AoristKind::Reduplicated, stem}};
}

QList<AoristStem> activeStems(const VerbRoot &root)
{
    if (const auto given = exceptionFor(root, "aor"))
        return readStems(*given);
    const auto withI = takesI(root);
    if (!withI)
        return {};
    return *withI ? activeIS(root.rootSounds) : activeWithoutI(root.rootSounds);
}

QList<AoristStem> middleStems(const VerbRoot &root)
{
    if (const auto given = exceptionFor(root, "aorA"))
        return readStems(*given);
    // The sa-aorist is the root's in both padas (adikzata).
    const QList<AoristStem> active = readStems(exceptionFor(root, "aor").value_or(QStringList()));
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
    // The j of these roots meets a t as z (ayAzwAm, asrAzwAm), elsewhere as k (atyAktAm).
    for (AoristStem &stem : stems)
        stem.jSoundsAsZ = inRootGroup(RootGroup::JAsSh, root.rootSounds);
    return stems;
}

QList<AoristStem> passiveAoristStems(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (root.verbClass == 10) {
        if (!root.strongStem.endsWith(QStringLiteral("aya")))
            return {};
        return {{AoristKind::IS, root.strongStem.chopped(1)}};
    }
    const QList<AoristStem> middle = aoristStems(root, Pada::Atmanepada);
    QList<AoristStem> stems;
    for (const AoristStem &stem : middle) {
        if (stem.kind != AoristKind::Reduplicated)
            stems.append(stem);
    }
    // Sri, dru, sru: the reduplicated aorist is their middle's, the rules give the passive's.
    const bool reduplicatedOnly = !middle.isEmpty() && stems.isEmpty();
    const auto withI = takesI(root);
    if (withI && (reduplicatedOnly || (middle.isEmpty() && !exceptionFor(root, "aorA"))))
        return middleByRule(root.rootSounds, *withI);
    return stems;
}

QStringList passiveAoristThirdSingulars(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (const auto form = exceptionFor(root, "aorI"))
        return *form;
    const QString &r = root.rootSounds;
    QString stem;
    if (root.verbClass == 10) {
        if (!root.strongStem.endsWith(QStringLiteral("aya")))
            return {};
        stem = root.strongStem.chopped(3);
    } else if (r.back() == u'A' || isDiphthong(r.back())) {
        // A takes y before the i (adAyi, agAyi).
        stem = (r.back() == u'A' ? r : r.chopped(1) + u'A') + u'y';
    } else if (isVowel(r.back())) {
        stem = withFinalVrddhiBeforeVowel(r); // akAri, anAyi, aBAvi
    } else if (const auto at = vowelBeforeFinal(r)) {
        // a before one consonant lengthens (apAci), save in the roots in m, which the
        // grammars treat root by root; i, u, f take guna (aboDi, adarSi).
        if (r[*at] == u'a' && r.back() == u'm')
            return {};
        stem = r[*at] == u'a' ? withVowel(r, *at, QStringLiteral("A")) : gunaOfRoot(r);
    } else {
        stem = r;
    }
    return {finishWord(withAugment(stem + u'i'))};
}

} // namespace vantro::verbs
