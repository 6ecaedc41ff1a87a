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
// makes). The consonant endings come with their i; without it (chakR^iva) they are
// kPerfectWithoutI.
const char *const kPerfectEndings[2][9] = {
    {"", "atus", "us", "", "athus", "a", "", "iva", "ima"},
    {"e", "Ate", "ire", "iShe", "Athe", "idhve", "e", "ivahe", "imahe"},
};
const char *const kPerfectWithoutI[2][9] = {
    {"", "", "", "", "", "", "", "va", "ma"},
    {"", "", "", "She", "", "Dhve", "", "vahe", "mahe"},
};

// clang-format on

void mergeAlternatives(SoundParadigm *into, const SoundParadigm &from)
{
    for (int cell = 0; cell < kCellCount; ++cell) {
        into->cells[cell] += from.cells[cell];
        removeDuplicates(into->cells[cell]);
    }
}

bool isConsonantEnding(bool middle, int cell)
{
    return cell == 7 || cell == 8 || (middle && (cell == 3 || cell == 5));
}

using WholePerfect = std::array<SoundStrings, kCellCount>;

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
                perfect[cell].append(SoundString::fromItrans(form).value);
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

// The periphrastic perfect: the stem in -Am, then the perfect of kR^i in the verb's pada, of bhU
// and of as (IkShA~nchakre, IkShAmbabhUva, IkShAmAsa); the anusvara stays as the grammars print it.
SoundParadigm periphrasticPerfect(const SoundString &stem, bool middle, bool passive)
{
    const QString kf = middle ? QStringLiteral("kR^i\tA") : QStringLiteral("kR^i\tP");
    const QStringList auxiliaries =
        passive ? QStringList{kf}
                : QStringList{kf, QStringLiteral("bhU\tP"), QStringLiteral("as\tP")};
    SoundParadigm paradigm;
    for (int cell = 0; cell < kCellCount; ++cell) {
        for (const QString &auxiliary : auxiliaries) {
            // Before the vowel of as the anusvara is the m it stands for (IkShAmAsa).
            const bool beforeVowel = auxiliary.startsWith(u'a');
            for (const SoundString &form : wholePerfect(auxiliary)[cell])
                paradigm.cells[cell].append((beforeVowel ? stem.chopped(1) + Sound::m : stem) +
                                            finishWord(form));
        }
    }
    return paradigm;
}

// The middle second plural after i: idhve, or iDhve where y, r, l, v or h comes before the i
// (babhUvidhve, babhUviQve).
SoundStrings middleSecondPlural(const SoundString &weak)
{
    const SoundStrings forms = {finishWord(weak + "idhve")};
    if (isSemivowel(weak.back()) || weak.back() == Sound::h)
        return forms + SoundStrings{finishWord(weak + "iDhve")};
    return forms;
}

// One weak stem's paradigm: the singular active from the strong stems as words, the other
// cells the weak stem with its endings.
SoundParadigm reduplicatedPerfect(const PerfectStems &stems, const SoundString &weak, bool middle)
{
    SoundParadigm paradigm;
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (!middle && (cell == 0 || cell == 3 || cell == 6)) {
            paradigm.cells[cell] = cell == 0 ? stems.third : cell == 3 ? stems.second : stems.first;
            continue;
        }
        const SoundString withoutI = SoundString::literal(kPerfectWithoutI[middle][cell]);
        if (!stems.withoutI.isEmpty() && !withoutI.isEmpty()) {
            paradigm.cells[cell] = {finishWord(stems.withoutI + withoutI)};
            continue;
        }
        if (isConsonantEnding(middle, cell) && !stems.consonantEndingsKnown)
            continue;
        paradigm.cells[cell] =
            middle && cell == 5 ? middleSecondPlural(weak)
                                : SoundStrings{finishWord(
                                      weak + SoundString::literal(kPerfectEndings[middle][cell]))};
    }
    return paradigm;
}

} // namespace

SoundParadigm perfectParadigm(const VerbRoot &root, Pada pada, bool passive)
{
    const PerfectStems stems = perfectStems(root);
    const bool middle = passive || pada == Pada::Atmanepada;
    SoundParadigm paradigm;
    // A middle of its own (adhijage) belongs to the middle root, not to the passive of both.
    const bool passiveUnsettled = passive && !stems.middleWeak.isEmpty();
    if (!stems.third.isEmpty() && (!middle || stems.middleKnown) && !passiveUnsettled) {
        for (const SoundString &weak :
             middle && !stems.middleWeak.isEmpty() ? stems.middleWeak : stems.weak)
            mergeAlternatives(&paradigm, reduplicatedPerfect(stems, weak, middle));
    }
    if (!stems.periphrastic.isEmpty())
        mergeAlternatives(&paradigm, periphrasticPerfect(stems.periphrastic, middle, passive));
    return paradigm;
}

} // namespace vantro::verbs
