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
constexpr char16_t kDhatBefore[] = u"tTsD";
constexpr char16_t kNasalUMayFallBefore[] = u"vm";
constexpr char16_t kNasalUFallsBefore[] = u"vmy";
constexpr char16_t kVisargaAfter[] = u"dDs";

struct Ending
{
    const char16_t *text;
    bool strong;
};

// clang-format off
// [pada][tense][cell]: present, imperfect, imperative, optative; cells 3sg 3du 3pl 2sg ... 1pl.
const Ending kEndings[2][4][9] = {
    {
        {{u"ti", true}, {u"tas", false}, {u"anti", false}, {u"si", true}, {u"Tas", false},
         {u"Ta", false}, {u"mi", true}, {u"vas", false}, {u"mas", false}},
        {{u"t", true}, {u"tAm", false}, {u"an", false}, {u"s", true}, {u"tam", false},
         {u"ta", false}, {u"am", true}, {u"va", false}, {u"ma", false}},
        {{u"tu", true}, {u"tAm", false}, {u"antu", false}, {u"hi", false}, {u"tam", false},
         {u"ta", false}, {u"Ani", true}, {u"Ava", true}, {u"Ama", true}},
        {{u"yAt", false}, {u"yAtAm", false}, {u"yus", false}, {u"yAs", false},
         {u"yAtam", false}, {u"yAta", false}, {u"yAm", false}, {u"yAva", false},
         {u"yAma", false}},
    },
    {
        {{u"te", false}, {u"Ate", false}, {u"ate", false}, {u"se", false}, {u"ATe", false},
         {u"Dve", false}, {u"e", false}, {u"vahe", false}, {u"mahe", false}},
        {{u"ta", false}, {u"AtAm", false}, {u"ata", false}, {u"TAs", false},
         {u"ATAm", false}, {u"Dvam", false}, {u"i", false}, {u"vahi", false},
         {u"mahi", false}},
        {{u"tAm", false}, {u"AtAm", false}, {u"atAm", false}, {u"sva", false},
         {u"ATAm", false}, {u"Dvam", false}, {u"E", true}, {u"AvahE", true},
         {u"AmahE", true}},
        {{u"Ita", false}, {u"IyAtAm", false}, {u"Iran", false}, {u"ITAs", false},
         {u"IyATAm", false}, {u"IDvam", false}, {u"Iya", false}, {u"Ivahi", false},
         {u"Imahi", false}},
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

QString weakBeforeVowel(const VerbRoot &root)
{
    if (!root.weakStemBeforeVowel.isEmpty())
        return root.weakStemBeforeVowel;
    QString stem = root.weakStem;
    const qsizetype last = stem.size() - 1;
    const bool afterConjunct =
        last >= 2 && isConsonant(stem[last - 1]) && followsConsonant(stem, last - 1);
    switch (stem[last].unicode()) {
    case u'u':
    case u'U':
        stem.replace(last, 1,
                     root.verbClass == 2 || (root.verbClass == 5 && afterConjunct) ? "uv" : "v");
        break;
    case u'I':
        if (root.verbClass == 9)
            stem.chop(1);
        else
            stem.replace(last, 1, afterConjunct ? "iy" : "y");
        break;
    case u'i':
        stem[last] = u'y';
        break;
    case u'f':
        stem[last] = u'r';
        break;
    default:
        break;
    }
    return stem;
}

QString stemFor(const VerbRoot &root, bool strong, const QString &ending)
{
    const bool vowelEnding = !ending.isEmpty() && isVowel(ending.front());
    if (strong)
        return vowelEnding && !root.strongStemBeforeVowel.isEmpty() ? root.strongStemBeforeVowel
                                                                    : root.strongStem;
    // dadh throws its aspiration back before t, th, s, dh (dhattaH, dhatse): the table gives it.
    if (!ending.isEmpty() && QStringView(kDhatBefore).contains(ending.front())) {
        if (const auto thrownBack = exceptionFor(root, "weakT"))
            return thrownBack->value(0);
    }
    return vowelEnding ? weakBeforeVowel(root) : root.weakStem;
}

// The u of the nasal classes may fall before v and m after a simple consonant, and must in
// kR^i, also before y (kurvaH, kuryAt).
QStringList weakStemChoices(const VerbRoot &root, const QString &stem, const QString &ending)
{
    const bool nasalClass = root.verbClass == 5 || root.verbClass == 8;
    const qsizetype n = stem.size();
    if (!nasalClass || !stem.endsWith(u'u') || n < 3 || followsConsonant(stem, n - 2) ||
        ending.isEmpty())
        return {stem};
    if (inRootGroup(RootGroup::NasalUFalls, root.rootSounds) &&
        QStringView(kNasalUFallsBefore).contains(ending.front()))
        return {stem.chopped(1)};
    if (QStringView(kNasalUMayFallBefore).contains(ending.front()))
        return {stem, stem.chopped(1)};
    return {stem};
}

// bhI and hA may shorten the I of the weak stem before consonants (bibhitaH, jahitaH); hA's
// own optative and second singular imperative are in data/overrides.tsv.
QStringList shortenedWeakStems(const VerbRoot &root, const QStringList &stems)
{
    return QStringList(stems) << root.weakStem.chopped(1) + u'i';
}

// The second singular imperative active: hi, dhi after consonants and in hu, nothing after
// the u of the nasal classes, Ana for the consonant roots of class 9.
QPair<QString, QString> imperativeSecondSingular(const VerbRoot &root)
{
    const QString weak = root.weakStem;
    const qsizetype n = weak.size();
    if (root.verbClass == 9 && n >= 3 && isConsonant(weak[n - 3]))
        return {weak.chopped(2), QStringLiteral("Ana")};
    if ((root.verbClass == 5 || root.verbClass == 8) && weak.endsWith(u'u') &&
        !followsConsonant(weak, n - 2))
        return {weak, QString()};
    if ((isConsonant(weak.back()) && !takesConnectingI(root)) ||
        inRootGroup(RootGroup::ImperativeDhi, root.rootSounds))
        return {weak, QStringLiteral("Di")};
    return {weak, QStringLiteral("hi")};
}

// The imperfect singular endings t and s vanish after a consonant; in the second person a
// root in d, dh or s may end in the visarga instead (aveH, avet).
QStringList bareImperfect(const QString &stem, bool secondPerson)
{
    const QString bare = attach(stem, QString());
    if (secondPerson && QStringView(kVisargaAfter).contains(stem.back()))
        return {stem.chopped(1) + u's', bare};
    return {bare};
}

QStringList joinCell(const VerbRoot &root, Tense tense, const QString &stem, const QString &ending)
{
    const bool singularPast = tense == Tense::Imperfect && (ending == u"t" || ending == u"s");
    if (takesConnectingI(root) && !ending.isEmpty() && isConsonant(ending.front()) &&
        ending.front() != u'y') {
        if (singularPast)
            return {stem + u'I' + ending, stem + u'a' + ending};
        return {attach(stem + u'i', ending)};
    }
    if (singularPast && isConsonant(stem.back()))
        return bareImperfect(stem, ending == u"s");
    return {attach(stem, ending)};
}

// Where two like stops meet after a nasal one of them may be dropped (runddhaH, rundhaH).
QStringList withSimplifiedClusters(const QStringList &forms)
{
    QStringList out = forms;
    for (const QString &form : forms) {
        for (const char16_t *pair : {u"Mtt", u"MtT", u"MdD"}) {
            const QString cluster = QString::fromUtf16(pair);
            if (form.contains(cluster))
                out.append(QString(form).replace(cluster.left(2), cluster.left(1)));
        }
    }
    return out;
}

QStringList athematicCell(const VerbRoot &root, Pada pada, Tense tense, int cell)
{
    const Ending &entry = kEndings[pada == Pada::Atmanepada][static_cast<int>(tense)][cell];
    QString ending = QString::fromUtf16(entry.text);
    bool strong = entry.strong;
    if (pada == Pada::Parasmaipada && cell == kThirdPlural && tense != Tense::Optative &&
        takesReduplicatedPlural(root)) {
        ending =
            tense == Tense::Imperfect ? QStringLiteral("us") : ending.mid(0, 1) + ending.mid(2);
        strong = tense == Tense::Imperfect;
    }
    QStringList stems;
    if (pada == Pada::Parasmaipada && tense == Tense::Imperative && cell == kSecondSingular) {
        const auto [stem, imperative] = imperativeSecondSingular(root);
        stems = {stem};
        ending = imperative;
    } else {
        stems = strong ? QStringList{stemFor(root, true, ending)}
                       : weakStemChoices(root, stemFor(root, false, ending), ending);
    }
    if (inRootGroup(RootGroup::WeakIShortens, root.rootSounds) && !strong && !ending.isEmpty() &&
        isConsonant(ending.front()))
        stems = shortenedWeakStems(root, stems);
    QStringList forms;
    for (const QString &stem : stems)
        forms += joinCell(root, tense, stem, ending);
    if (root.verbClass == 7)
        forms = withSimplifiedClusters(forms);
    return forms;
}

// The roots in A of the second class may take us in the third plural of the imperfect
// (ayuH beside ayAn).
void addImperfectPluralInUs(const VerbRoot &root, Pada pada, Tense tense, VerbParadigm *paradigm)
{
    if (pada == Pada::Parasmaipada && tense == Tense::Imperfect && root.verbClass == 2 &&
        root.strongStem.endsWith(u'A'))
        paradigm->cells[kThirdPlural].append(finishWord(withAugment(
            (root.weakStem.endsWith(u'A') ? root.weakStem.chopped(1) : root.weakStem) + "us")));
}

} // namespace

VerbParadigm conjugateAthematic(const VerbRoot &root, Pada pada, Tense tense)
{
    VerbParadigm paradigm;
    for (int cell = 0; cell < kPersonCount * kNumberCount; ++cell) {
        QStringList forms = athematicCell(root, pada, tense, cell);
        for (QString &form : forms)
            form = finishWord(tense == Tense::Imperfect ? withAugment(form) : form);
        forms.removeDuplicates();
        paradigm.cells[cell] = forms;
    }
    addImperfectPluralInUs(root, pada, tense, &paradigm);
    applyVerbOverrides(root, pada, tense, &paradigm);
    return paradigm;
}

} // namespace vantro::verbs
