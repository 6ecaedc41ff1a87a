// SPDX-License-Identifier: GPL-3.0-or-later
// The endings of each formation of the aorist, and the meeting of the s with the root.
#include "aoristparadigm.h"

#include "aoriststems.h"
#include "rootgroups.h"
#include "soundclasses.h"
#include "verbphonology.h"
#include "verbstems.h"

#include <QHash>

namespace vantro::verbs {

namespace {

constexpr int kCells = kPersonCount * kNumberCount;

// r, the anusvara, n and m: the s of the s-aorist stays after them as after a vowel, and
// before D no form is made after them. The rule's own short list, not a class of sounds.
constexpr const char *kFinalsKeepingS = "rMnm";

using Endings = const char *const[kCells];

// clang-format off
// Cells 3sg 3du 3pl 2sg 2du 2pl 1sg 1du 1pl.
Endings kThematicActive = {"at", "atAm", "an", "as", "atam", "ata", "am", "Ava", "Ama"};
Endings kThematicMiddle = {"ata", "etAm", "anta", "athAs", "ethAm", "adhvam", "e", "Avahi",
                           "Amahi"};
// The sa-aorist's middle loses its a before a vowel of the ending (adikShi, adikShAtAm).
Endings kSaMiddle = {"ata", "AtAm", "anta", "athAs", "AthAm", "adhvam", "i", "Avahi",
                     "Amahi"};
Endings kRootActive = {"t", "tAm", "us", "s", "tam", "ta", "am", "va", "ma"};
Endings kSActive = {"sIt", "tAm", "sus", "sIs", "tam", "ta", "sam", "sva", "sma"};
Endings kSMiddle = {"ta", "sAtAm", "sata", "thAs", "sAthAm", "dhvam", "si", "svahi",
                    "smahi"};
Endings kISActive = {"It", "iShTAm", "iShus", "Is", "iShTam", "iShTa", "iSham", "iShva",
                     "iShma"};
Endings kISMiddle = {"iShTa", "iShAtAm", "iShata", "iShThAs", "iShAthAm", "idhvam", "iShi",
                     "iShvahi", "iShmahi"};
// clang-format on

SoundString ending(Endings endings, int cell)
{
    return SoundString::literal(endings[cell]);
}

// The t and th of an ending after Sh turn to T and Th (akArShTAm).
SoundString afterSh(const SoundString &stem, const SoundString &end)
{
    if (!stem.endsWith(Sound::Sh))
        return stem + end;
    SoundString out = end;
    if (isPlainStop(out.front(), Place::Dental))
        out.set(0, retroflexOf(out.front()));
    return stem + out;
}

// A cell of the s-aorist whose ending begins with t, th or dh: the s stays after a vowel or r
// (anaiShTa, akArShTAm), goes after a short vowel in the middle (akR^ita), between consonants
// (adAgdhAm, alabdha) and before dh, which turns to Dh after a vowel other than a (akR^iDhvam).
SoundString sAoristDentalCell(SoundString stem, const SoundString &end, bool middle, bool jAsSh)
{
    if (jAsSh && stem.endsWith(Sound::j))
        stem.set(stem.size() - 1, Sound::Sh);
    const Sound last = stem.back();
    // The s of the root turns to t before the s, which then goes (avAttAm).
    if (last == Sound::s && !middle)
        return stem.chopped(1) + Sound::t + end;
    if (end.startsWith(Sound::dh)) {
        if (isVowel(last))
            return stem + (sameVowelQuality(last, Sound::a) ? end : Sound::Dh + end.mid(1));
        return SoundString::literal(kFinalsKeepingS).contains(last) ? SoundString()
                                                                    : attach(stem, end);
    }
    if (middle && isShortVowel(last))
        return stem + end;
    if (isVowel(last) || SoundString::literal(kFinalsKeepingS).contains(last))
        return afterSh(joinBeforeFutureS(stem, "s"_sounds), end);
    return attach(stem, end);
}

SoundString sAoristCell(const AoristStem &aorist, int cell, bool middle)
{
    const SoundString end = ending(middle ? kSMiddle : kSActive, cell);
    if (end.startsWith(Sound::s))
        return joinBeforeFutureS(aorist.stem, end);
    if (!aorist.beforeDental.isEmpty())
        return aorist.beforeDental + end.mid(1);
    return sAoristDentalCell(aorist.stem, end, middle, aorist.jSoundsAsSh);
}

// The root aorist: after A the third plural is us (aduH) and the first singular m (adAm);
// after U a v comes before the vowel endings (abhUvan, abhUvam).
SoundString rootAoristCell(const SoundString &stem, int cell)
{
    SoundString end = ending(kRootActive, cell);
    const bool longA = stem.endsWith(Sound::A);
    if (end == "us"_sounds)
        return longA ? stem.chopped(1) + end : stem + "van";
    if (end == "am"_sounds)
        return longA ? stem + Sound::m : stem + "vam";
    return stem + end;
}

// The iS-aorist's cells; grah lengthens the i (agrahIShTAm), the third and second singular
// active have it long anyway.
SoundStrings iSCells(const AoristStem &aorist, int cell, bool middle)
{
    const SoundString &stem = aorist.stem;
    SoundString end = ending(middle ? kISMiddle : kISActive, cell);
    if (aorist.kind == AoristKind::LongIS && end.startsWith(Sound::i))
        end.set(0, Sound::I);
    if (middle && cell == 5 && (isSemivowel(stem.back()) || stem.back() == Sound::h))
        return {stem + end, stem + end.left(1) + Sound::Dh + end.mid(2)};
    return {stem + end};
}

// The forms of one stem in the cell, before the augment; several where the grammars allow
// idvam or iDhvam after y, r, l, v, h.
SoundStrings cellForms(const AoristStem &aorist, int cell, bool middle)
{
    const SoundString &stem = aorist.stem;
    switch (aorist.kind) {
    case AoristKind::Root:
        return middle ? SoundStrings() : SoundStrings{rootAoristCell(stem, cell)};
    case AoristKind::A:
    case AoristKind::Reduplicated:
        return {stem + ending(middle ? kThematicMiddle : kThematicActive, cell)};
    case AoristKind::Sa:
        return {stem + ending(middle ? kSaMiddle : kThematicActive, cell)};
    case AoristKind::S: {
        const SoundString form = sAoristCell(aorist, cell, middle);
        return form.isEmpty() ? SoundStrings() : SoundStrings{form};
    }
    case AoristKind::IS:
    case AoristKind::LongIS:
        return iSCells(aorist, cell, middle);
    case AoristKind::SiS:
        return middle ? SoundStrings()
                      : SoundStrings{joinBeforeFutureS(stem, Sound::s + ending(kISActive, cell))};
    }
    return {};
}

void addForms(SoundParadigm *paradigm, const QList<AoristStem> &stems, bool middle)
{
    for (const AoristStem &stem : stems) {
        for (int cell = 0; cell < kCells; ++cell) {
            for (const SoundString &form : cellForms(stem, cell, middle))
                paradigm->cells[cell].append(finishWord(withAugment(form)));
            removeDuplicates(paradigm->cells[cell]);
        }
    }
}

// The vowel roots, the causatives and han, grah, dR^ish may make the passive on the stem of its
// third singular with i (adAyiShAtAm, akAriShAtAm, achoriShAtAm, aghAniShAtAm).
QList<AoristStem> passiveIStems(const VerbRoot &root, const SoundStrings &thirdSingulars)
{
    if (!isVowel(root.rootSounds.back()) &&
        !inRootGroup(RootGroup::PassiveAoristWithI, root.rootSounds) && root.verbClass != 10)
        return {};
    QList<AoristStem> stems;
    for (const SoundString &third : thirdSingulars) {
        // The third singular without its augment and i: "adAyi" -> "dAy".
        if (third.size() > 2 && third.startsWith(Sound::a) && third.endsWith(Sound::i))
            stems.append({AoristKind::IS, third.mid(1).chopped(1)});
    }
    return stems;
}

// The middle forms the table adds beside the ones the stems make, or in place of them: the
// third singular in -i of budh, jan, dIp (abodhi beside abuddha) and of pad (apAdi alone), the
// third and second singular without s of tan and man (atata, atathAH), and duh, dih, lih without
// their sa before a dental or v (adugdha, adhugdhvam, aduhvahi).
void addMiddleForms(SoundParadigm *paradigm, const VerbRoot &root)
{
    const VerbRoot own = substituteRoot(root);
    // pad has only the form in -i in the third singular (apAdi).
    if (const auto only = exceptionFor(own, "aorA3i"))
        paradigm->cells[0] = *only;
    static const std::pair<const char *, int> keys[] = {
        {"aorA3", 0}, {"aorA2", 3}, {"aorA2p", 5}, {"aorA1d", 7}};
    for (const auto &[key, cell] : keys) {
        for (const SoundString &form : exceptionFor(own, key).value_or(SoundStrings())) {
            if (!paradigm->cells[cell].contains(form))
                paradigm->cells[cell].append(form);
        }
    }
}

} // namespace

SoundParadigm aoristParadigm(const VerbRoot &root, Pada pada, bool passive)
{
    SoundParadigm paradigm;
    const bool middle = passive || pada == Pada::Atmanepada;
    if (!passive) {
        addForms(&paradigm, aoristStems(root, pada), middle);
        if (middle && !paradigm.cells[0].isEmpty())
            addMiddleForms(&paradigm, root);
        return paradigm;
    }
    addForms(&paradigm, passiveAoristStems(root), true);
    const SoundStrings third = passiveAoristThirdSingulars(root);
    if (third.isEmpty())
        return {};
    SoundParadigm alternatives;
    addForms(&alternatives, passiveIStems(root, third), true);
    for (int cell = 0; cell < kCells; ++cell) {
        paradigm.cells[cell] += alternatives.cells[cell];
        removeDuplicates(paradigm.cells[cell]);
    }
    paradigm.cells[0] = third;
    return paradigm;
}

} // namespace vantro::verbs
