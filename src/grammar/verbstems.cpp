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

QString sounds(const QString &itrans)
{
    return soundsFromItrans(itrans).value;
}

// A value in ITRANS, or a kind and a value ("a:gam" of the aorist, "s:vAh/voDh" with a
// second stem), the value into sounds.
QString soundsAfterKind(const QString &value)
{
    const qsizetype colon = value.indexOf(u':');
    if (colon < 0)
        return sounds(value);
    QStringList stems = value.mid(colon + 1).split(u'/');
    for (QString &stem : stems)
        stem = sounds(stem);
    return value.left(colon + 1) + stems.join(u'/');
}

// One line of the table of exceptions: a root, its class (0 for every class) and its fields,
// each a list of forms in sounds; a list holding only "-" withholds the form.
struct RootExceptions
{
    int verbClass = 0;
    QString substitute;
    QHash<QString, QStringList> forms;
};

QMultiHash<QString, RootExceptions> readExceptions()
{
    QMultiHash<QString, RootExceptions> table;
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
            QStringList forms;
            for (const QString &value : values)
                forms.append(value == u"-" ? value : soundsAfterKind(value));
            exceptions.forms.insert(key, forms);
        }
        table.insert(sounds(fields.value(0)), exceptions);
    }
    return table;
}

const QMultiHash<QString, RootExceptions> &exceptionTable()
{
    static const QMultiHash<QString, RootExceptions> table = readExceptions();
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

std::optional<QStringList> exceptionFor(const VerbRoot &root, const char *key)
{
    for (const RootExceptions *exceptions : exceptionsOf(root)) {
        const auto found = exceptions->forms.constFind(QString::fromLatin1(key));
        if (found != exceptions->forms.cend())
            return *found == QStringList{QStringLiteral("-")} ? QStringList() : *found;
    }
    return std::nullopt;
}

namespace {

QStringList finished(const QStringList &forms)
{
    QStringList out;
    for (const QString &form : forms)
        out.append(retroflexN(form));
    out.removeDuplicates();
    return out;
}

// Roots in e, ai, o take A outside the present system (gai: gAtum, dhyai: dhyAta).
QString withFinalA(const QString &root)
{
    return isDiphthong(root.back()) ? root.chopped(1) + u'A' : root;
}

QString strengthened(const QString &root)
{
    const QString a = withFinalA(root);
    return a.back() == u'A' ? a : gunaOfRoot(a);
}

// A strengthened final e or o before a vowel: ay, av.
QString beforeVowel(const QString &strong)
{
    return strong.isEmpty() ? strong : strong.chopped(1) + diphthongBeforeVowel(strong.back());
}

// Whether the root takes i before the suffixes outside the present system, read from its
// future: nothing where that does not tell (an irregular future with i, or a root whose future
// has several stems).
std::optional<QList<bool>> takesI(const VerbRoot &root, bool alternativesAllowed)
{
    if (!root.futureStem.isEmpty()) {
        const QString &f = root.futureStem;
        if (!root.futureAlternatives.isEmpty() || f.endsWith(QStringLiteral("izy")) ||
            f.endsWith(QStringLiteral("Izy")))
            return std::nullopt;
        return QList<bool>{false};
    }
    if (root.futureTakesI.isEmpty() || (!alternativesAllowed && !root.futureAlternatives.isEmpty()))
        return std::nullopt;
    return root.futureTakesI;
}

// The roots whose future takes i and yet are without it before the t of the infinitive:
// those in f (kariSyati but kartum) but a few, and a few others (han, gam).
std::optional<QList<bool>> infinitiveTakesI(const VerbRoot &root)
{
    const QString &r = root.rootSounds;
    if ((r.back() == u'f' && !inRootGroup(RootGroup::IThroughout, r)) ||
        inRootGroup(RootGroup::InfinitiveWithoutI, r))
        return QList<bool>{false};
    return takesI(root, true);
}

// A root of the sf, dfS kind with f before its last consonant.
bool hasFBeforeConsonant(const QString &root)
{
    const qsizetype n = root.size();
    return n >= 2 && root[n - 2] == u'f' && isConsonant(root.back());
}

// The j of these roots meets t as z (yazwum, srazwum); elsewhere as k (tyaktum).
bool jTurnsToZ(const QString &root)
{
    return inRootGroup(RootGroup::JAsSh, root);
}

// A consonant at the end of a stem before the t of a suffix (t of -tum, -ta, -tvA), with the
// stem ending in the t as it sounds there; empty where the join is not one of the plain rules.
QString beforeT(const QString &stem, const QString &root)
{
    const QChar last = stem.back();
    const QString base = stem.chopped(1);
    switch (last.unicode()) {
    case u'c':
        return base.endsWith(u'S') ? base.chopped(1) + QStringLiteral("zw")
                                   : base + QStringLiteral("kt");
    case u'C':
        return base.endsWith(u'c') ? base.chopped(1) + QStringLiteral("zw") : QString();
    case u'j':
        if (jTurnsToZ(root))
            return (base.endsWith(u's') ? base.chopped(1) : base) + QStringLiteral("zw");
        if (base.endsWith(u'Y'))
            return base.chopped(1) + QStringLiteral("Nkt");
        return isConsonant(base.back()) ? QString() : base + QStringLiteral("kt");
    case u'S':
    case u'z':
        return base + QStringLiteral("zw");
    case u'h':
        if (root.startsWith(u'd'))
            return base + QStringLiteral("gD");
        if (inRootGroup(RootGroup::HAsODh, root))
            return base.chopped(1) + QStringLiteral("oQ");
        if (inRootGroup(RootGroup::HAsDh, root))
            return base + u'Q';
        return {};
    case u'B':
        return base + QStringLiteral("bD");
    case u'D':
        return base + QStringLiteral("dD");
    case u'd':
    case u't':
        return base + QStringLiteral("tt");
    case u'p':
    case u'k':
        return base + last + u't';
    case u'm':
    case u'n':
        return base + QStringLiteral("nt");
    case u's':
        return base + QStringLiteral("st");
    default:
        return {};
    }
}

QString infinitiveStemWithoutI(const VerbRoot &root)
{
    const QString &r = root.rootSounds;
    if (isVowel(r.back()))
        return strengthened(r) + u't';
    if (hasFBeforeConsonant(r)) {
        // dfS and sfj put the a after the r (drazwum, srazwum); the others may or may not.
        if (!inRootGroup(RootGroup::AAfterR, r))
            return {};
        QString metathesis = r;
        metathesis.replace(r.size() - 2, 1, QStringLiteral("ra"));
        return beforeT(metathesis, r);
    }
    return beforeT(gunaOfRoot(r), r);
}

// A form without the connecting i where the root's final consonant meets t.
QString pastParticipleWithoutI(const VerbRoot &root, const QString &weak)
{
    const QString &r = root.rootSounds;
    if (isVowel(weak.back()))
        return weak + QStringLiteral("ta");
    // Roots in d take na for ta, and their d turns to n (Binna, sanna, Kinna).
    if (weak.back() == u'd')
        return weak.chopped(1) + QStringLiteral("nna");
    // The nasal of gam, yam, ram, nam, han, man, tan goes (gata, hata, mata).
    if (inRootGroup(RootGroup::NasalDropsBeforeTa, r))
        return weak.chopped(1) + QStringLiteral("ta");
    if (weak.back() == u'h' && !r.startsWith(u'd'))
        return {};
    const QString joined = beforeT(weak, r);
    return joined.isEmpty() ? QString() : joined + u'a';
}

// The root as the suffixes that do not strengthen it find it: vac -> uc, yaj -> ij, the nasal
// of banD gone (baD); the passive stem of the table carries this.
QString weakRoot(const VerbRoot &root)
{
    const QString &p = root.passiveStem;
    if (!p.isEmpty() && p.endsWith(u'y') && !root.rootSounds.endsWith(u'A') &&
        !isDiphthong(root.rootSounds.back()) && !p.endsWith(QStringLiteral("yy")))
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

QStringList infinitiveStems(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    // Before the table: a causative, made as a root of the tenth class, keeps none of its
    // root's infinitives (karShTum, kraShTum of kR^iSh but karShayitum).
    if (root.verbClass == 10)
        return {root.strongStem.chopped(1) + QStringLiteral("it")};
    if (const auto exception = exceptionFor(root, "inf")) {
        QStringList stems;
        for (const QString &infinitive : *exception)
            stems.append(infinitive.chopped(2));
        return stems;
    }
    const QString &r = root.rootSounds;
    const std::optional<QList<bool>> flags = infinitiveTakesI(root);
    if (!flags)
        return {};
    QStringList stems;
    for (const bool withI : *flags) {
        if (withI) {
            const QString stem = beforeVowel(strengthened(r)) + QStringLiteral("it");
            stems.append(stem);
            if (r.back() == u'F' || inRootGroup(RootGroup::IMayLengthen, r)) // tarItum
                stems.append(stem.chopped(2) + QStringLiteral("It"));
        } else {
            const QString stem = infinitiveStemWithoutI(root);
            if (stem.isEmpty())
                return {};
            stems.append(stem);
        }
    }
    return finished(stems);
}

QStringList pastParticiples(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (const auto exception = exceptionFor(root, "ppp"))
        return *exception;
    const QString &r = root.rootSounds;
    if (root.verbClass == 10)
        return finished({root.strongStem.chopped(3) + QStringLiteral("ita")});
    // The participle takes i as the infinitive does (gata as gantum, patita as patitum).
    const std::optional<QList<bool>> flags =
        root.futureAlternatives.isEmpty() ? infinitiveTakesI(root) : std::nullopt;
    if (!flags)
        return {};
    // Roots in A, e, ai, o and F, and those in consonants that take i only at choice, differ
    // root by root: the table of exceptions gives them.
    const QChar last = withFinalA(r).back();
    if (last == u'A' || last == u'F' || flags->size() > 1)
        return {};
    const QString weak = weakRoot(root);
    // Roots in vowels take no i before the participle (BUta, Sruta, kfta, jita).
    if (isVowel(r.back()))
        return finished({weak + QStringLiteral("ta")});
    if (flags->first())
        return finished({weak + QStringLiteral("ita")});
    const QString participle = pastParticipleWithoutI(root, weak);
    return participle.isEmpty() ? QStringList() : finished({participle});
}

QString prefixedGerundOfAyaStem(const QString &stem)
{
    const QString base = stem.chopped(3);
    // After a light syllable the causative's ay stays (vigaRayya); else it goes (viciMtya).
    const qsizetype n = base.size();
    const bool light = n >= 2 && isConsonant(base[n - 1]) && isShortVowel(base[n - 2]);
    return base + (light ? QStringLiteral("ayya") : QStringLiteral("ya"));
}

QStringList gerunds(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (const auto exception = exceptionFor(root, "tvA"))
        return *exception;
    // A stem in -aya keeps it before -itvA (cintayitvA, kaTayitvA).
    if (root.verbClass == 10)
        return finished({root.strongStem.chopped(1) + QStringLiteral("itvA")});
    // The gerund follows the participle made by the rules (gata: gatvA, patita: patitvA); a
    // participle the table gives may differ from it (Binna but BittvA), and is not followed.
    if (exceptionFor(root, "ppp") || root.verbClass == 10)
        return {};
    QStringList out;
    for (const QString &participle : pastParticiples(root)) {
        if (participle.endsWith(QStringLiteral("na")))
            return {};
        out.append(participle.chopped(1) + QStringLiteral("vA"));
        // A root beginning with a consonant, with i or u before its last consonant, may take
        // guna before -itvA (liKitvA or leKitvA).
        const QString &r = root.rootSounds;
        const qsizetype n = r.size();
        if (participle.endsWith(QStringLiteral("ita")) && n >= 3 && isConsonant(r.front()) &&
            isShortVowel(r[n - 2]) && isHighVowel(r[n - 2]) && isConsonant(r.back()) &&
            !(isSemivowel(r.back()) && !isLiquid(r.back())))
            out.append(gunaOfRoot(r) + QStringLiteral("itvA"));
    }
    return finished(out);
}

QStringList prefixedGerunds(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (const auto exception = exceptionFor(root, "ya"))
        return *exception;
    const QString &r = root.rootSounds;
    if (root.verbClass == 10)
        return finished({prefixedGerundOfAyaStem(root.strongStem)});
    if (isShortVowel(r.back()) && turnsToSemivowel(r.back()))
        return {r + QStringLiteral("tya")};
    if (r.back() == u'A' || isDiphthong(r.back()))
        return {withFinalA(r) + QStringLiteral("ya")};
    QStringList out;
    const QString regular = weakRoot(root);
    if (r.back() == u'F')
        return {}; // tIrya, pUrya differ by the consonant before: the table gives them
    out.append(regular + QStringLiteral("ya"));
    for (const QString &alternative : root.passiveAlternatives)
        out.append(alternative + u'a');
    return finished(out);
}

QStringList gerundivesInAniya(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (const auto exception = exceptionFor(root, "anIya"))
        return *exception;
    if (root.verbClass == 10)
        return finished({root.strongStem.chopped(3) + QStringLiteral("anIya")});
    if (root.futureStem.contains(QStringLiteral("Ayi")))
        return {};
    return {finishWord(attach(strengthened(root.rootSounds), QStringLiteral("anIya")))};
}

QStringList gerundivesInYa(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (const auto exception = exceptionFor(root, "fya"))
        return *exception;
    if (root.verbClass == 10)
        return {};
    const QString &r = root.rootSounds;
    const QString a = withFinalA(r);
    // A before the ya turns to e (deya, peya, geya); f takes vrddhi (kArya, hArya); a root
    // in a labial with a before it is unchanged (gamya, laBya).
    if (a.back() == u'A' && !root.passiveStem.contains(u'U') &&
        !inRootGroup(RootGroup::WeakBeforeYa, r))
        return {a.chopped(1) + QStringLiteral("eya")};
    if (r.back() == u'f' && !inRootGroup(RootGroup::GunaForVrddhi, r))
        return finished({r.chopped(1) + QStringLiteral("Arya")});
    const qsizetype n = r.size();
    if (n >= 2 && isLabial(r.back()) && !isSemivowel(r.back()) && r[n - 2] == u'a')
        return {r + QStringLiteral("ya")};
    return {};
}

QStringList benedictiveStems(const VerbRoot &given, const QString &regularPassive)
{
    // The tenth class and the causatives drop their aya (choryAt, kAryAt); the root's own
    // benedictive in the table is not theirs.
    if (given.verbClass == 10)
        return {regularPassive};
    const VerbRoot root = substituteRoot(given);
    if (const auto exception = exceptionFor(root, "ben"))
        return *exception;
    const QString &r = root.rootSounds;
    if (root.futureStem.contains(QStringLiteral("Ayi")))
        return {}; // gup, DUp: with or without their Aya
    // dA, DA, sTA, mA, gai, hA, so and the like take e for A (deyAt, sTeyAt; peyAt of pA
    // "drink" is in the table, as pA "protect" has pAyAt); a root in A after a conjunct may
    // (gleyAt or glAyAt).
    const QString a = withFinalA(r);
    if (inRootGroup(RootGroup::AAsEInBenedictive, r))
        return {a.chopped(1) + QStringLiteral("ey")};
    if (a.back() == u'A' && !inRootGroup(RootGroup::WeakBeforeYa, r)) {
        const bool conjunct = a.size() >= 3 && isConsonant(a[0]) && isConsonant(a[1]);
        return conjunct ? QStringList{a.chopped(1) + QStringLiteral("ey"), a + u'y'}
                        : QStringList{a + u'y'};
    }
    // Elsewhere the stem is the passive's (BUyAt, kriyAt, ucyAt, gfhyAt).
    return QStringList{regularPassive} + root.passiveAlternatives;
}

QStringList causativeStems(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (const auto exception = exceptionFor(root, "caus"))
        return *exception;
    if (root.verbClass == 10)
        return {root.strongStem}; // corayati is its own causative
    if (root.futureStem.contains(QStringLiteral("Ayi")))
        return {};
    const QString a = withFinalA(root.rootSounds);
    const QChar last = a.back();
    // Roots in A put p before the aya (sTApayati, dApayati, jYApayati).
    if (last == u'A')
        return {a + QStringLiteral("paya")};
    // A final vowel takes vrddhi (kArayati, BAvayati, nAyayati).
    if (isVowel(last))
        return {finishWord(a.chopped(1) + vrddhiBeforeVowel(last) + QStringLiteral("aya"))};
    const qsizetype n = a.size();
    const QChar vowel = n >= 2 ? a[n - 2] : QChar();
    // a before one final consonant lengthens (pAcayati, vAdayati), but the roots in m and
    // those that keep it short (gamayati, janayati) differ root by root: the table gives them.
    if (vowel == u'a')
        return last == u'm' ? QStringList()
                            : QStringList{a.chopped(2) + u'A' + last + QStringLiteral("aya")};
    // A short i, u, f before one final consonant takes guna (boDayati, vartayati, darSayati).
    return {finishWord(gunaOfRoot(a) + QStringLiteral("aya"))};
}

QStringList desiderativeStems(const VerbRoot &given, std::optional<Pada> *onlyPada)
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
    return exceptionFor(root, "des").value_or(QStringList());
}

} // namespace vantro::verbs
