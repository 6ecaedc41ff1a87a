// SPDX-License-Identifier: GPL-3.0-or-later
#include "perfectconjugation.h"

#include "perfectsdata.h"
#include "perfectstems.h"
#include "soundclasses.h"
#include "tablerows.h"
#include "verbphonology.h"

#include <QHash>

namespace vantro::verbs {

namespace {

constexpr int kCellCount = kPersonCount * kNumberCount;

// clang-format off
// The perfect's endings after the weak stem, where the cell is not a word of its own ([pada]
// [cell], cells 3sg 3du 3pl 2sg 2du 2pl 1sg 1du 1pl; empty for the cells the strong stem
// makes). The consonant endings come with their i; without it (cakfva) they are
// kPerfectWithoutI.
const char16_t *const kPerfectEndings[2][9] = {
    {u"", u"atus", u"us", u"", u"aTus", u"a", u"", u"iva", u"ima"},
    {u"e", u"Ate", u"ire", u"ize", u"ATe", u"iDve", u"e", u"ivahe", u"imahe"},
};
const char16_t *const kPerfectWithoutI[2][9] = {
    {u"", u"", u"", u"", u"", u"", u"", u"va", u"ma"},
    {u"", u"", u"", u"ze", u"", u"Qve", u"", u"vahe", u"mahe"},
};

// clang-format on

void mergeAlternatives(VerbParadigm *into, const VerbParadigm &from)
{
    for (int cell = 0; cell < kCellCount; ++cell) {
        into->cells[cell] += from.cells[cell];
        into->cells[cell].removeDuplicates();
    }
}

bool isConsonantEnding(bool middle, int cell)
{
    return cell == 7 || cell == 8 || (middle && (cell == 3 || cell == 5));
}

using WholePerfect = std::array<QStringList, kCellCount>;

// The rows of data/perfects.tsv keyed by root and pada, the forms in sounds; the build has
// checked every row's shape.
QHash<QString, WholePerfect> readWholePerfects()
{
    QHash<QString, WholePerfect> perfects;
    for (const QStringList &fields : tableRows(kPerfectsTsv)) {
        WholePerfect &perfect = perfects[fields[0] + u'\t' + fields[1]];
        const QStringList cells = fields[2].split(u' ');
        for (int cell = 0; cell < kCellCount; ++cell) {
            for (const QString &form : cells.value(cell).split(u','))
                perfect[cell].append(soundsFromItrans(form).value);
        }
    }
    return perfects;
}

const WholePerfect &wholePerfect(const QString &rootAndPada)
{
    static const QHash<QString, WholePerfect> perfects = readWholePerfects();
    static const WholePerfect none;
    const auto found = perfects.constFind(rootAndPada);
    return found == perfects.cend() ? none : *found;
}

// The periphrastic perfect: the stem in -Am, then the perfect of kf in the verb's pada, of BU
// and of as (IkzAYcakre, IkzAmbaBUva, IkzAmAsa); the anusvara stays as the grammars print it.
VerbParadigm periphrasticPerfect(const QString &stem, bool middle, bool passive)
{
    const QString kf = middle ? QStringLiteral("kR^i\tA") : QStringLiteral("kR^i\tP");
    const QStringList auxiliaries =
        passive ? QStringList{kf}
                : QStringList{kf, QStringLiteral("bhU\tP"), QStringLiteral("as\tP")};
    VerbParadigm paradigm;
    for (int cell = 0; cell < kCellCount; ++cell) {
        for (const QString &auxiliary : auxiliaries) {
            // Before the vowel of as the anusvara is the m it stands for (IkzAmAsa).
            const bool beforeVowel = auxiliary.startsWith(u'a');
            for (const QString &form : wholePerfect(auxiliary)[cell])
                paradigm.cells[cell].append((beforeVowel ? stem.chopped(1) + u'm' : stem) +
                                            finishWord(form));
        }
    }
    return paradigm;
}

// The middle second plural after i: idhve, or iQve where y, r, l, v or h comes before the i
// (babhUvidhve, babhUviQve).
QStringList middleSecondPlural(const QString &weak)
{
    const QStringList forms = {finishWord(weak + QStringLiteral("iDve"))};
    if (isSemivowel(weak.back()) || weak.back() == u'h')
        return forms + QStringList{finishWord(weak + QStringLiteral("iQve"))};
    return forms;
}

// One weak stem's paradigm: the singular active from the strong stems as words, the other
// cells the weak stem with its endings.
VerbParadigm reduplicatedPerfect(const PerfectStems &stems, const QString &weak, bool middle)
{
    VerbParadigm paradigm;
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (!middle && (cell == 0 || cell == 3 || cell == 6)) {
            paradigm.cells[cell] = cell == 0 ? stems.third : cell == 3 ? stems.second : stems.first;
            continue;
        }
        const QString withoutI = QString::fromUtf16(kPerfectWithoutI[middle][cell]);
        if (!stems.withoutI.isEmpty() && !withoutI.isEmpty()) {
            paradigm.cells[cell] = {finishWord(stems.withoutI + withoutI)};
            continue;
        }
        if (isConsonantEnding(middle, cell) && !stems.consonantEndingsKnown)
            continue;
        paradigm.cells[cell] =
            middle && cell == 5
                ? middleSecondPlural(weak)
                : QStringList{finishWord(weak + QString::fromUtf16(kPerfectEndings[middle][cell]))};
    }
    return paradigm;
}

} // namespace

VerbParadigm perfectParadigm(const VerbRoot &root, Pada pada, bool passive)
{
    const PerfectStems stems = perfectStems(root);
    const bool middle = passive || pada == Pada::Atmanepada;
    VerbParadigm paradigm;
    // A middle of its own (adhijage) belongs to the middle root, not to the passive of both.
    const bool passiveUnsettled = passive && !stems.middleWeak.isEmpty();
    if (!stems.third.isEmpty() && (!middle || stems.middleKnown) && !passiveUnsettled) {
        for (const QString &weak :
             middle && !stems.middleWeak.isEmpty() ? stems.middleWeak : stems.weak)
            mergeAlternatives(&paradigm, reduplicatedPerfect(stems, weak, middle));
    }
    if (!stems.periphrastic.isEmpty())
        mergeAlternatives(&paradigm, periphrasticPerfect(stems.periphrastic, middle, passive));
    return paradigm;
}

} // namespace vantro::verbs
