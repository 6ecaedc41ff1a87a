// SPDX-License-Identifier: GPL-3.0-or-later
// The stems a root makes outside the present system, by the rules of the grammars where they
// are regular and from data/verbderivatives.tsv where they are not. Where neither reaches a
// form it is not made: a gap is better than an invented word.
#include "verbstems.h"

#include "rootgroups.h"
#include "soundclasses.h"
#include "tablerows.h"
#include "verbderivativesdata.h"
#include "verbphonology.h"

#include <QHash>

#include <optional>

namespace vantro::verbs {

namespace {

SoundString sounds(const QString &itrans)
{
    return SoundString::fromItrans(itrans).value;
}

// One line of the table of exceptions: a root, its class (0 for every class) and its fields,
// each a list of forms in ITRANS; a list holding only "-" withholds the form. A value may
// carry a kind ("a:gam" of the aorist, "s:vAh/voDh" with a second stem).
struct RootExceptions
{
    int verbClass = 0;
    QString substitute;
    QHash<QString, QStringList> values;
    QHash<QString, SoundStrings> forms; // the values without a kind, in sounds
};

QMultiHash<SoundString, RootExceptions> readExceptions()
{
    QMultiHash<SoundString, RootExceptions> table;
    for (const QStringList &fields : tableRows(kVerbDerivativesTsv)) {
        RootExceptions exceptions;
        exceptions.verbClass = fields.value(1) == u"*" ? 0 : fields.value(1).toInt();
        for (const QString &field : fields.mid(2)) {
            const QString key = field.section(u'=', 0, 0);
            const QStringList values = field.section(u'=', 1).split(u',');
            if (key == u"sub") {
                exceptions.substitute = values.value(0);
                continue;
            }
            exceptions.values.insert(key, values);
            if (values == QStringList{QStringLiteral("-")} || values.value(0).contains(u':'))
                continue;
            SoundStrings forms;
            for (const QString &value : values)
                forms.append(sounds(value));
            exceptions.forms.insert(key, forms);
        }
        table.insert(sounds(fields.value(0)), exceptions);
    }
    return table;
}

const QMultiHash<SoundString, RootExceptions> &exceptionTable()
{
    static const QMultiHash<SoundString, RootExceptions> table = readExceptions();
    return table;
}

// The lines of the table for the root: a root may have one for its class and one for all.
QList<const RootExceptions *> exceptionsOf(const VerbRoot &root)
{
    QList<const RootExceptions *> lines;
    const auto &table = exceptionTable();
    for (auto it = table.constFind(root.rootSounds);
         it != table.cend() && it.key() == root.rootSounds; ++it) {
        if (it->verbClass == 0 || it->verbClass == root.verbClass)
            lines.append(&*it);
    }
    return lines;
}

} // namespace

std::optional<QStringList> exceptionTextFor(const VerbRoot &root, const char *key)
{
    for (const RootExceptions *exceptions : exceptionsOf(root)) {
        const auto found = exceptions->values.constFind(QString::fromLatin1(key));
        if (found != exceptions->values.cend())
            return *found == QStringList{QStringLiteral("-")} ? QStringList() : *found;
    }
    return std::nullopt;
}

std::optional<SoundStrings> exceptionFor(const VerbRoot &root, const char *key)
{
    const std::optional<QStringList> text = exceptionTextFor(root, key);
    if (!text)
        return std::nullopt;
    for (const RootExceptions *exceptions : exceptionsOf(root)) {
        const auto found = exceptions->forms.constFind(QString::fromLatin1(key));
        if (found != exceptions->forms.cend())
            return *found;
    }
    return SoundStrings();
}

namespace {

SoundStrings finished(const SoundStrings &forms)
{
    SoundStrings out;
    for (const SoundString &form : forms)
        out.append(retroflexN(form));
    removeDuplicates(out);
    return out;
}

// Roots in e, ai, o take A outside the present system (gai: gAtum, dhyai: dhyAta).
SoundString withFinalA(const SoundString &root)
{
    return isDiphthong(root.back()) ? root.chopped(1) + Sound::A : root;
}

SoundString strengthened(const SoundString &root)
{
    const SoundString a = withFinalA(root);
    return a.back() == Sound::A ? a : gunaOfRoot(a);
}

// A strengthened final e or o before a vowel: ay, av.
SoundString beforeVowel(const SoundString &strong)
{
    return strong.isEmpty() ? strong : strong.chopped(1) + diphthongBeforeVowel(strong.back());
}

// Whether the root takes i before the suffixes outside the present system, read from its
// future: nothing where that does not tell (an irregular future with i, or a root whose future
// has several stems).
std::optional<QList<bool>> takesI(const VerbRoot &root, bool alternativesAllowed)
{
    if (!root.futureStem.isEmpty()) {
        const SoundString &f = root.futureStem;
        if (!root.futureAlternatives.isEmpty() || f.endsWith("iShy") || f.endsWith("IShy"))
            return std::nullopt;
        return QList<bool>{false};
    }
    if (root.futureTakesI.isEmpty() || (!alternativesAllowed && !root.futureAlternatives.isEmpty()))
        return std::nullopt;
    return root.futureTakesI;
}

// The roots whose future takes i and yet are without it before the t of the infinitive:
// those in R^i (kariShyati but kartum) but a few, and a few others (han, gam).
std::optional<QList<bool>> infinitiveTakesI(const VerbRoot &root)
{
    const SoundString &r = root.rootSounds;
    if ((r.back() == Sound::Ri && !inRootGroup(RootGroup::IThroughout, r)) ||
        inRootGroup(RootGroup::InfinitiveWithoutI, r))
        return QList<bool>{false};
    return takesI(root, true);
}

// A root of the sR^i, dR^ish kind with R^i before its last consonant.
bool hasRiBeforeConsonant(const SoundString &root)
{
    const int n = root.size();
    return n >= 2 && root.at(n - 2) == Sound::Ri && isConsonant(root.back());
}

// The j of these roots meets t as Sh (yaShTum, sraShTum); elsewhere as k (tyaktum).
bool jTurnsToSh(const SoundString &root)
{
    return inRootGroup(RootGroup::JAsSh, root);
}

// A consonant at the end of a stem before the t of a suffix (t of -tum, -ta, -tvA), with the
// stem ending in the t as it sounds there; empty where the join is not one of the plain rules.
SoundString beforeT(const SoundString &stem, const SoundString &root)
{
    const Sound last = stem.back();
    const SoundString base = stem.chopped(1);
    switch (last) {
    case Sound::ch:
        return base.endsWith(Sound::sh) ? base.chopped(1) + "ShT" : base + "kt";
    case Sound::Ch:
        return base.endsWith(Sound::ch) ? base.chopped(1) + "ShT" : SoundString();
    case Sound::j:
        if (jTurnsToSh(root))
            return (base.endsWith(Sound::s) ? base.chopped(1) : base) + "ShT";
        if (base.endsWith(Sound::ny))
            return base.chopped(1) + "~Nkt";
        return isConsonant(base.back()) ? SoundString() : base + "kt";
    case Sound::sh:
    case Sound::Sh:
        return base + "ShT";
    case Sound::h:
        if (root.startsWith(Sound::d))
            return base + "gdh";
        if (inRootGroup(RootGroup::HAsODh, root))
            return base.chopped(1) + "oDh";
        if (inRootGroup(RootGroup::HAsDh, root))
            return base + Sound::Dh;
        return {};
    case Sound::bh:
        return base + "bdh";
    case Sound::dh:
        return base + "ddh";
    case Sound::d:
    case Sound::t:
        return base + "tt";
    case Sound::p:
    case Sound::k:
        return base + last + Sound::t;
    case Sound::m:
    case Sound::n:
        return base + "nt";
    case Sound::s:
        return base + "st";
    default:
        return {};
    }
}

SoundString infinitiveStemWithoutI(const VerbRoot &root)
{
    const SoundString &r = root.rootSounds;
    if (isVowel(r.back()))
        return strengthened(r) + Sound::t;
    if (hasRiBeforeConsonant(r)) {
        // dR^ish and sR^ij put the a after the r (draShTum, sraShTum); the others may or may not.
        if (!inRootGroup(RootGroup::AAfterR, r))
            return {};
        SoundString metathesis = r;
        metathesis.replace(r.size() - 2, 1, "ra");
        return beforeT(metathesis, r);
    }
    return beforeT(gunaOfRoot(r), r);
}

// A form without the connecting i where the root's final consonant meets t.
SoundString pastParticipleWithoutI(const VerbRoot &root, const SoundString &weak)
{
    const SoundString &r = root.rootSounds;
    if (isVowel(weak.back()))
        return weak + "ta";
    // Roots in d take na for ta, and their d turns to n (bhinna, sanna, khinna).
    if (weak.back() == Sound::d)
        return weak.chopped(1) + "nna";
    // The nasal of gam, yam, ram, nam, han, man, tan goes (gata, hata, mata).
    if (inRootGroup(RootGroup::NasalDropsBeforeTa, r))
        return weak.chopped(1) + "ta";
    if (weak.back() == Sound::h && !r.startsWith(Sound::d))
        return {};
    const SoundString joined = beforeT(weak, r);
    return joined.isEmpty() ? SoundString() : joined + Sound::a;
}

// The root as the suffixes that do not strengthen it find it: vach -> uch, yaj -> ij, the nasal
// of bandh gone (badh); the passive stem of the table carries this.
SoundString weakRoot(const VerbRoot &root)
{
    const SoundString &p = root.passiveStem;
    if (!p.isEmpty() && p.endsWith(Sound::y) && !root.rootSounds.endsWith(Sound::A) &&
        !isDiphthong(root.rootSounds.back()) && !p.endsWith("yy"))
        return p.chopped(1);
    return root.rootSounds;
}

} // namespace

std::optional<QList<bool>> takesIBeforeT(const VerbRoot &root)
{
    return infinitiveTakesI(root);
}

VerbRoot substituteRoot(const VerbRoot &root)
{
    for (const RootExceptions *exceptions : exceptionsOf(root)) {
        if (exceptions->substitute.isEmpty())
            continue;
        const QList<VerbRoot> found = findVerbRoot(exceptions->substitute);
        return found.isEmpty() ? root : found.first();
    }
    return root;
}

SoundStrings infinitiveStems(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    // Before the table: a causative, made as a root of the tenth class, keeps none of its
    // root's infinitives (karShTum, kraShTum of kR^iSh but karShayitum).
    if (root.verbClass == 10)
        return {root.strongStem.chopped(1) + "it"};
    if (const auto exception = exceptionFor(root, "inf")) {
        SoundStrings stems;
        for (const SoundString &infinitive : *exception)
            stems.append(infinitive.chopped(2));
        return stems;
    }
    const SoundString &r = root.rootSounds;
    const std::optional<QList<bool>> flags = infinitiveTakesI(root);
    if (!flags)
        return {};
    SoundStrings stems;
    for (const bool withI : *flags) {
        if (withI) {
            const SoundString stem = beforeVowel(strengthened(r)) + "it";
            stems.append(stem);
            if (r.back() == Sound::RI || inRootGroup(RootGroup::IMayLengthen, r)) // tarItum
                stems.append(stem.chopped(2) + "It");
        } else {
            const SoundString stem = infinitiveStemWithoutI(root);
            if (stem.isEmpty())
                return {};
            stems.append(stem);
        }
    }
    return finished(stems);
}

SoundStrings pastParticiples(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (const auto exception = exceptionFor(root, "ppp"))
        return *exception;
    const SoundString &r = root.rootSounds;
    if (root.verbClass == 10)
        return finished({root.strongStem.chopped(3) + "ita"});
    // The participle takes i as the infinitive does (gata as gantum, patita as patitum).
    const std::optional<QList<bool>> flags =
        root.futureAlternatives.isEmpty() ? infinitiveTakesI(root) : std::nullopt;
    if (!flags)
        return {};
    // Roots in A, e, ai, o and R^I, and those in consonants that take i only at choice, differ
    // root by root: the table of exceptions gives them.
    const Sound last = withFinalA(r).back();
    if (last == Sound::A || last == Sound::RI || flags->size() > 1)
        return {};
    const SoundString weak = weakRoot(root);
    // Roots in vowels take no i before the participle (bhUta, shruta, kR^ita, jita).
    if (isVowel(r.back()))
        return finished({weak + "ta"});
    if (flags->first())
        return finished({weak + "ita"});
    const SoundString participle = pastParticipleWithoutI(root, weak);
    return participle.isEmpty() ? SoundStrings() : finished({participle});
}

SoundString prefixedGerundOfAyaStem(const SoundString &stem)
{
    const SoundString base = stem.chopped(3);
    // After a light syllable the causative's ay stays (vigaNayya); else it goes (vichiMtya).
    const int n = base.size();
    const bool light = n >= 2 && isConsonant(base.at(n - 1)) && isShortVowel(base.at(n - 2));
    return base + (light ? "ayya" : "ya");
}

SoundStrings gerunds(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (const auto exception = exceptionFor(root, "tvA"))
        return *exception;
    // A stem in -aya keeps it before -itvA (chintayitvA, kathayitvA).
    if (root.verbClass == 10)
        return finished({root.strongStem.chopped(1) + "itvA"});
    // The gerund follows the participle made by the rules (gata: gatvA, patita: patitvA); a
    // participle the table gives may differ from it (bhinna but bhittvA), and is not followed.
    if (exceptionFor(root, "ppp") || root.verbClass == 10)
        return {};
    SoundStrings out;
    for (const SoundString &participle : pastParticiples(root)) {
        if (participle.endsWith("na"))
            return {};
        out.append(participle.chopped(1) + "vA");
        // A root beginning with a consonant, with i or u before its last consonant, may take
        // guna before -itvA (likhitvA or lekhitvA).
        const SoundString &r = root.rootSounds;
        const int n = r.size();
        if (participle.endsWith("ita") && n >= 3 && isConsonant(r.front()) &&
            isShortVowel(r.at(n - 2)) && isHighVowel(r.at(n - 2)) && isConsonant(r.back()) &&
            !(isSemivowel(r.back()) && !isLiquid(r.back())))
            out.append(gunaOfRoot(r) + "itvA");
    }
    return finished(out);
}

SoundStrings prefixedGerunds(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (const auto exception = exceptionFor(root, "ya"))
        return *exception;
    const SoundString &r = root.rootSounds;
    if (root.verbClass == 10)
        return finished({prefixedGerundOfAyaStem(root.strongStem)});
    if (isShortVowel(r.back()) && turnsToSemivowel(r.back()))
        return {r + "tya"};
    if (r.back() == Sound::A || isDiphthong(r.back()))
        return {withFinalA(r) + "ya"};
    SoundStrings out;
    const SoundString regular = weakRoot(root);
    if (r.back() == Sound::RI)
        return {}; // tIrya, pUrya differ by the consonant before: the table gives them
    out.append(regular + "ya");
    for (const SoundString &alternative : root.passiveAlternatives)
        out.append(alternative + Sound::a);
    return finished(out);
}

SoundStrings gerundivesInAniya(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (const auto exception = exceptionFor(root, "anIya"))
        return *exception;
    if (root.verbClass == 10)
        return finished({root.strongStem.chopped(3) + "anIya"});
    if (root.futureStem.contains("Ayi"))
        return {};
    return {finishWord(attach(strengthened(root.rootSounds), "anIya"))};
}

SoundStrings gerundivesInYa(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (const auto exception = exceptionFor(root, "fya"))
        return *exception;
    if (root.verbClass == 10)
        return {};
    const SoundString &r = root.rootSounds;
    const SoundString a = withFinalA(r);
    // A before the ya turns to e (deya, peya, geya); R^i takes vrddhi (kArya, hArya); a root
    // in a labial with a before it is unchanged (gamya, labhya).
    if (a.back() == Sound::A && !root.passiveStem.contains(Sound::U) &&
        !inRootGroup(RootGroup::WeakBeforeYa, r))
        return {a.chopped(1) + "eya"};
    if (r.back() == Sound::Ri && !inRootGroup(RootGroup::GunaForVrddhi, r))
        return finished({r.chopped(1) + "Arya"});
    const int n = r.size();
    if (n >= 2 && isLabial(r.back()) && !isSemivowel(r.back()) && r.at(n - 2) == Sound::a)
        return {r + "ya"};
    return {};
}

SoundStrings benedictiveStems(const VerbRoot &given, const SoundString &regularPassive)
{
    // The tenth class and the causatives drop their aya (choryAt, kAryAt); the root's own
    // benedictive in the table is not theirs.
    if (given.verbClass == 10)
        return {regularPassive};
    const VerbRoot root = substituteRoot(given);
    if (const auto exception = exceptionFor(root, "ben"))
        return *exception;
    const SoundString &r = root.rootSounds;
    if (root.futureStem.contains("Ayi"))
        return {}; // gup, dhUp: with or without their Aya
    // dA, dhA, sthA, mA, gai, hA, so and the like take e for A (deyAt, stheyAt; peyAt of pA
    // "drink" is in the table, as pA "protect" has pAyAt); a root in A after a conjunct may
    // (gleyAt or glAyAt).
    const SoundString a = withFinalA(r);
    if (inRootGroup(RootGroup::AAsEInBenedictive, r))
        return {a.chopped(1) + "ey"};
    if (a.back() == Sound::A && !inRootGroup(RootGroup::WeakBeforeYa, r)) {
        const bool conjunct = a.size() >= 3 && isConsonant(a.at(0)) && isConsonant(a.at(1));
        return conjunct ? SoundStrings{a.chopped(1) + "ey", a + Sound::y}
                        : SoundStrings{a + Sound::y};
    }
    // Elsewhere the stem is the passive's (bhUyAt, kriyAt, uchyAt, gR^ihyAt).
    return SoundStrings{regularPassive} + root.passiveAlternatives;
}

SoundStrings causativeStems(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (const auto exception = exceptionFor(root, "caus"))
        return *exception;
    if (root.verbClass == 10)
        return {root.strongStem}; // chorayati is its own causative
    if (root.futureStem.contains("Ayi"))
        return {};
    const SoundString a = withFinalA(root.rootSounds);
    const Sound last = a.back();
    // Roots in A put p before the aya (sthApayati, dApayati, j~nApayati).
    if (last == Sound::A)
        return {a + "paya"};
    // A final vowel takes vrddhi (kArayati, bhAvayati, nAyayati).
    if (isVowel(last))
        return {finishWord(a.chopped(1) + vrddhiBeforeVowel(last) + "aya")};
    const int n = a.size();
    const Sound vowel = n >= 2 ? a.at(n - 2) : Sound();
    // a before one final consonant lengthens (pAchayati, vAdayati), but the roots in m and
    // those that keep it short (gamayati, janayati) differ root by root: the table gives them.
    if (vowel == Sound::a)
        return last == Sound::m ? SoundStrings()
                                : SoundStrings{a.chopped(2) + Sound::A + last + "aya"};
    // A short i, u, R^i before one final consonant takes guna (bodhayati, vartayati, darshayati).
    return {finishWord(gunaOfRoot(a) + "aya")};
}

SoundStrings desiderativeStems(const VerbRoot &given, std::optional<Pada> *onlyPada)
{
    const VerbRoot root = substituteRoot(given);
    *onlyPada = std::nullopt;
    // A root with a middle line of its own may have a middle desiderative of its own (gam:
    // jigamiShati, but saMjigaMsate), so that line asks for it first.
    const bool middleLine = !root.parasmaipada;
    for (const Pada pada : {middleLine ? Pada::Atmanepada : Pada::Parasmaipada,
                            middleLine ? Pada::Parasmaipada : Pada::Atmanepada}) {
        if (const auto only = exceptionFor(root, pada == Pada::Atmanepada ? "desA" : "desP")) {
            *onlyPada = pada;
            return *only;
        }
    }
    return exceptionFor(root, "des").value_or(SoundStrings());
}

} // namespace vantro::verbs
