// SPDX-License-Identifier: GPL-3.0-or-later
#include "conjugation.h"

#include "athematicconjugation.h"
#include "verbphonology.h"
#include "verbprefixes.h"
#include "verbroots.h"

#include <QHash>

namespace vantro {

namespace {

using namespace verbs;

// clang-format off
// The endings after a stem in a, thematic vowel included: [pada][tense][cell], tenses present,
// imperfect, imperative, optative, cells 3sg 3du 3pl 2sg 2du 2pl 1sg 1du 1pl. The simple
// future and the passive take them too.
const char16_t *const kThematicEndings[2][4][9] = {
    {
        {u"ati", u"atas", u"anti", u"asi", u"aTas", u"aTa", u"Ami", u"Avas", u"Amas"},
        {u"at", u"atAm", u"an", u"as", u"atam", u"ata", u"am", u"Ava", u"Ama"},
        {u"atu", u"atAm", u"antu", u"a", u"atam", u"ata", u"Ani", u"Ava", u"Ama"},
        {u"et", u"etAm", u"eyus", u"es", u"etam", u"eta", u"eyam", u"eva", u"ema"},
    },
    {
        {u"ate", u"ete", u"ante", u"ase", u"eTe", u"aDve", u"e", u"Avahe", u"Amahe"},
        {u"ata", u"etAm", u"anta", u"aTAs", u"eTAm", u"aDvam", u"e", u"Avahi", u"Amahi"},
        {u"atAm", u"etAm", u"antAm", u"asva", u"eTAm", u"aDvam", u"E", u"AvahE", u"AmahE"},
        {u"eta", u"eyAtAm", u"eran", u"eTAs", u"eyATAm", u"eDvam", u"eya", u"evahi", u"emahi"},
    },
};
// clang-format on

constexpr int kCellCount = kPersonCount * kNumberCount;

QString padaName(Pada pada)
{
    return pada == Pada::Parasmaipada ? QStringLiteral("parasmaipada")
                                      : QStringLiteral("atmanepada");
}

// A base ending in a consonant ("Bav", "gacC", "kariSy", "kriy") with the thematic endings.
VerbParadigm thematicParadigm(const QString &base, Pada pada, Tense tense)
{
    VerbParadigm paradigm;
    for (int cell = 0; cell < kCellCount; ++cell) {
        const QString ending = QString::fromUtf16(
            kThematicEndings[pada == Pada::Atmanepada][static_cast<int>(tense)][cell]);
        const QString form = base + ending;
        paradigm.cells[cell] = {finishWord(tense == Tense::Imperfect ? withAugment(form) : form)};
    }
    return paradigm;
}

void mergeAlternatives(VerbParadigm *into, const VerbParadigm &from)
{
    for (int cell = 0; cell < kCellCount; ++cell) {
        into->cells[cell] += from.cells[cell];
        into->cells[cell].removeDuplicates();
    }
}

// A strengthened final vowel before a vowel: e, o, ai, au -> ay, av, Ay, Av.
QString beforeConnectingI(const QString &strengthened)
{
    static const QHash<QChar, QString> beforeVowel = {
        {u'e', "ay"}, {u'o', "av"}, {u'E', "Ay"}, {u'O', "Av"}};
    if (!strengthened.isEmpty() && beforeVowel.contains(strengthened.back()))
        return strengthened.chopped(1) + beforeVowel.value(strengthened.back());
    return strengthened;
}

QString futureBase(const VerbRoot &root, bool withI)
{
    if (!root.futureStem.isEmpty())
        return root.futureStem;
    if (root.verbClass == 10)
        return root.strongStem.chopped(1) + QStringLiteral("izy");
    QString strengthened = gunaOfRoot(root.rootSounds);
    // Roots in e, ai, o take A outside the present (gai: gAsyati).
    if (QStringView(u"eEoO").contains(root.rootSounds.back()))
        strengthened = root.rootSounds.chopped(1) + u'A';
    if (withI)
        return beforeConnectingI(strengthened) + QStringLiteral("izy");
    return joinBeforeFutureS(strengthened, QStringLiteral("sy"));
}

// The passive future may also take the stem of the passive aorist with i: roots in vowels
// and han, grah, dR^ish (bhAviShyate, dAyiShyate, ghAniShyate).
QString passiveFutureAlternative(const VerbRoot &root)
{
    static const QHash<QString, QString> consonantRoots = {
        {"han", "GAn"}, {"grah", "grAh"}, {"dfS", "darS"}};
    const QString &r = root.rootSounds;
    if (consonantRoots.contains(r))
        return consonantRoots.value(r) + QStringLiteral("izy");
    if (root.verbClass == 10 || !root.futureStem.isEmpty() || !isVowel(r.back()))
        return {};
    const QChar last = QStringView(u"eEoO").contains(r.back()) ? QChar(u'A') : r.back();
    QString strengthened = r.chopped(1) + vrddhi(last);
    if (strengthened.endsWith(u'A'))
        strengthened += u'y';
    return beforeConnectingI(strengthened) + QStringLiteral("izy");
}

QString passiveBase(const VerbRoot &root)
{
    if (!root.passiveStem.isEmpty())
        return root.passiveStem;
    if (root.verbClass == 10 && root.strongStem.endsWith(QStringLiteral("aya")))
        return root.strongStem.chopped(3) + u'y';
    QString base = root.rootSounds;
    const qsizetype n = base.size();
    const bool afterConjunct = n >= 3 && isConsonant(base[n - 2]) && isConsonant(base[n - 3]);
    switch (base.back().unicode()) {
    case u'i':
        base.back() = u'I';
        break;
    case u'u':
        base.back() = u'U';
        break;
    case u'f':
        base.replace(n - 1, 1, afterConjunct ? "ar" : "ri");
        break;
    case u'F':
        base.replace(n - 1, 1,
                     n >= 2 && QStringView(u"pPbBmv").contains(base[n - 2]) ? "Ur" : "Ir");
        break;
    default:
        break;
    }
    return base + u'y';
}

// The present stem a root not in the table would have by the class rules alone.
QString regularThematicStem(const QString &root, int verbClass)
{
    const QChar last = root.back();
    switch (verbClass) {
    case 1:
        return beforeConnectingI(gunaOfRoot(root)) + u'a';
    case 4:
        return root + QStringLiteral("ya");
    case 6:
        if (last == u'i' || last == u'I' || last == u'u' || last == u'U')
            return root.chopped(1) + (last == u'i' || last == u'I' ? "iya" : "uva");
        if (last == u'f')
            return root.chopped(1) + QStringLiteral("riya");
        return last == u'F' ? root.chopped(1) + QStringLiteral("ira") : root + u'a';
    default: {
        const qsizetype n = root.size();
        QString strengthened = gunaOfRoot(root);
        if (isVowel(last))
            strengthened = root.chopped(1) + vrddhi(last);
        else if (n >= 2 && root[n - 2] == u'a')
            strengthened = root.left(n - 2) + u'A' + last;
        return beforeConnectingI(strengthened) + QStringLiteral("aya");
    }
    }
}

VerbRoot regularRoot(const QString &itrans, const QString &sounds, int verbClass)
{
    VerbRoot root;
    root.root = itrans;
    root.rootSounds = sounds;
    root.verbClass = verbClass;
    root.parasmaipada = root.atmanepada = true;
    root.strongStem = root.weakStem = regularThematicStem(sounds, verbClass);
    // Most roots of one syllable in a vowel take no i; those in U, f and F do (bhaviSyati,
    // kariSyati), and so do nearly all in consonants.
    const QChar last = sounds.back();
    root.futureTakesI = {!isVowel(last) || QStringView(u"UfF").contains(last)};
    return root;
}

// The root's entry for the class asked for: from the table, or by the rules for a thematic
// class; an empty root with the reason otherwise.
VerbRoot rootFor(const QString &itrans, int verbClass, Pada pada, QString *error)
{
    bool ok = false;
    const QString sounds = soundsFromItrans(itrans, &ok);
    if (!ok || sounds.isEmpty()) {
        *error = QStringLiteral("\"%1\" is not a root in ITRANS").arg(itrans);
        return {};
    }
    // A root may have one line for each pada when their stems differ (i: yanti, adhIyate).
    const QList<VerbRoot> entries = findVerbRoot(itrans);
    for (const VerbRoot &entry : entries) {
        if (entry.verbClass == verbClass && entry.takes(pada))
            return entry;
    }
    for (const VerbRoot &entry : entries) {
        if (entry.verbClass == verbClass)
            return entry;
    }
    if (verbClass < 1 || verbClass > 10) {
        *error = QStringLiteral("there is no present class %1").arg(verbClass);
        return {};
    }
    if (verbClass != 1 && verbClass != 4 && verbClass != 6 && verbClass != 10) {
        *error = QStringLiteral("the present stem of %1 in class %2 is not known")
                     .arg(itrans, QString::number(verbClass));
        return {};
    }
    return regularRoot(itrans, sounds, verbClass);
}

// The active imperative allows tAt beside tu and hi, made on the stem of the dual (bhavatAt).
VerbParadigm withBenedictiveImperative(VerbParadigm paradigm)
{
    QStringList tAt;
    for (const QString &dual : paradigm.cells[1])
        tAt.append(dual.chopped(1) + u't');
    for (const int cell : {0, 3}) {
        paradigm.cells[cell] += tAt;
        paradigm.cells[cell].removeDuplicates();
    }
    return paradigm;
}

VerbParadigm futureParadigm(const VerbRoot &root, Pada pada)
{
    VerbParadigm paradigm;
    for (const bool withI : root.futureTakesI)
        mergeAlternatives(&paradigm,
                          thematicParadigm(futureBase(root, withI), pada, Tense::Present));
    // vR^i and the roots in R^I may lengthen the i (tariShyati, tarIShyati).
    const QString &r = root.rootSounds;
    if (root.futureStem.isEmpty() && root.futureTakesI.contains(true) &&
        (r.endsWith(u'F') || r == u"vf")) {
        const QString base = futureBase(root, true);
        mergeAlternatives(&paradigm, thematicParadigm(base.chopped(3) + QStringLiteral("Izy"), pada,
                                                      Tense::Present));
    }
    for (const QString &alternative : root.futureAlternatives)
        mergeAlternatives(&paradigm, thematicParadigm(alternative, pada, Tense::Present));
    return paradigm;
}

VerbParadigm activeParadigm(const VerbRoot &root, Pada pada, Tense tense)
{
    if (tense == Tense::Future)
        return futureParadigm(root, root.futureParasmaipada ? Pada::Parasmaipada : pada);
    const VerbParadigm paradigm = root.isThematic()
                                      ? thematicParadigm(root.strongStem.chopped(1), pada, tense)
                                      : conjugateAthematic(root, pada, tense);
    return tense == Tense::Imperative && pada == Pada::Parasmaipada
               ? withBenedictiveImperative(paradigm)
               : paradigm;
}

VerbParadigm inItrans(const VerbParadigm &sounds, const QStringList &prefixes,
                      const QString &rootSounds)
{
    VerbParadigm paradigm;
    for (int cell = 0; cell < kCellCount; ++cell) {
        for (const QString &form : sounds.cells[cell])
            paradigm.cells[cell].append(itransFromSounds(withPrefixes(prefixes, rootSounds, form)));
    }
    return paradigm;
}

QString thirdSingularPresent(const VerbRoot &root, Pada pada)
{
    return activeParadigm(root, pada, Tense::Present).cells[0].value(0);
}

// The third singular present of every root of the table, bare or with the prefixes tried
// (sounds -> candidates, best first).
QHash<QString, QList<VerbCandidate>>
indexThirdSingulars(const QList<QPair<QString, QStringList>> &prefixChains)
{
    QHash<QString, QList<VerbCandidate>> byForm;
    for (const VerbRoot &root : verbRootTable()) {
        for (const Pada pada : {Pada::Parasmaipada, Pada::Atmanepada}) {
            if (!root.takes(pada))
                continue;
            const QString form = thirdSingularPresent(root, pada);
            for (const auto &[chain, prefixes] : prefixChains)
                byForm[withPrefixes(prefixes, root.rootSounds, form)].append(
                    {chain + root.root, root.verbClass, pada});
        }
    }
    return byForm;
}

// The prefix chains the guesser tries, each with its prefixes in sounds.
QList<QPair<QString, QStringList>> splitPrefixChains()
{
    QList<QPair<QString, QStringList>> chains;
    for (const QString &chain : commonPrefixChains()) {
        QStringList prefixes;
        QString bare, error;
        splitPrefixes(chain, &prefixes, &bare, &error);
        chains.append({chain, prefixes});
    }
    return chains;
}

// Every active form of the present system and the future of the roots of the table, for a
// word taken from running text that is not a third singular ("gacCAmi" -> gam 1 P).
QHash<QString, QList<VerbCandidate>> indexActiveForms()
{
    QHash<QString, QList<VerbCandidate>> byForm;
    for (const VerbRoot &root : verbRootTable()) {
        for (const Pada pada : {Pada::Parasmaipada, Pada::Atmanepada}) {
            if (!root.takes(pada))
                continue;
            const VerbCandidate candidate{root.root, root.verbClass, pada};
            for (int tense = 0; tense <= static_cast<int>(Tense::Future); ++tense) {
                const VerbParadigm paradigm = activeParadigm(root, pada, static_cast<Tense>(tense));
                for (const QStringList &cell : paradigm.cells) {
                    for (const QString &form : cell) {
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

} // namespace

Inflection<VerbParadigm> conjugate(const VerbRequest &request)
{
    Inflection<VerbParadigm> result;
    QStringList prefixes;
    QString bareRoot;
    if (!splitPrefixes(request.root, &prefixes, &bareRoot, &result.error))
        return result;
    const VerbRoot root = rootFor(bareRoot, request.verbClass, request.pada, &result.error);
    if (!result.ok())
        return result;
    // mriyate has its future in the parasmaipada only (mariShyati), so either pada asks for it.
    const bool activeFuture = request.tense == Tense::Future && root.futureParasmaipada;
    if (!request.passive && !activeFuture && !root.takes(request.pada)) {
        result.error =
            QStringLiteral("%1 of class %2 is not conjugated in the %3")
                .arg(bareRoot, QString::number(request.verbClass), padaName(request.pada));
        return result;
    }
    VerbParadigm sounds;
    if (!request.passive)
        sounds = activeParadigm(root, request.pada, request.tense);
    else if (request.tense == Tense::Future) {
        sounds = futureParadigm(root, Pada::Atmanepada);
        if (const QString alternative = passiveFutureAlternative(root); !alternative.isEmpty())
            mergeAlternatives(&sounds,
                              thematicParadigm(alternative, Pada::Atmanepada, Tense::Present));
    } else {
        sounds = thematicParadigm(passiveBase(root), Pada::Atmanepada, request.tense);
        for (const QString &alternative : root.passiveAlternatives)
            mergeAlternatives(&sounds,
                              thematicParadigm(alternative, Pada::Atmanepada, request.tense));
    }
    result.paradigm = inItrans(sounds, prefixes, root.rootSounds);
    return result;
}

QList<VerbCandidate> guessVerbRoots(const QString &citationForm)
{
    bool ok = false;
    const QString sounds = soundsFromItrans(citationForm.trimmed(), &ok);
    if (!ok || sounds.isEmpty())
        return {};
    static const QHash<QString, QList<VerbCandidate>> bare =
        indexThirdSingulars({{QString(), QStringList()}});
    if (const auto found = bare.constFind(sounds); found != bare.cend())
        return *found;
    static const QHash<QString, QList<VerbCandidate>> prefixed =
        indexThirdSingulars(splitPrefixChains());
    if (const auto found = prefixed.constFind(sounds); found != prefixed.cend())
        return *found;
    static const QHash<QString, QList<VerbCandidate>> anyForm = indexActiveForms();
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
