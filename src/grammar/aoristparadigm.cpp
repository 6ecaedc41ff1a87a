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
constexpr char16_t kFinalsKeepingS[] = u"rMnm";

using Endings = const char16_t *const[kCells];

// clang-format off
// Cells 3sg 3du 3pl 2sg 2du 2pl 1sg 1du 1pl.
Endings kThematicActive = {u"at", u"atAm", u"an", u"as", u"atam", u"ata", u"am", u"Ava", u"Ama"};
Endings kThematicMiddle = {u"ata", u"etAm", u"anta", u"aTAs", u"eTAm", u"aDvam", u"e", u"Avahi",
                           u"Amahi"};
// The sa-aorist's middle loses its a before a vowel of the ending (adikzi, adikzAtAm).
Endings kSaMiddle = {u"ata", u"AtAm", u"anta", u"aTAs", u"ATAm", u"aDvam", u"i", u"Avahi",
                     u"Amahi"};
Endings kRootActive = {u"t", u"tAm", u"us", u"s", u"tam", u"ta", u"am", u"va", u"ma"};
Endings kSActive = {u"sIt", u"tAm", u"sus", u"sIs", u"tam", u"ta", u"sam", u"sva", u"sma"};
Endings kSMiddle = {u"ta", u"sAtAm", u"sata", u"TAs", u"sATAm", u"Dvam", u"si", u"svahi",
                    u"smahi"};
Endings kISActive = {u"It", u"izwAm", u"izus", u"Is", u"izwam", u"izwa", u"izam", u"izva",
                     u"izma"};
Endings kISMiddle = {u"izwa", u"izAtAm", u"izata", u"izWAs", u"izATAm", u"iDvam", u"izi",
                     u"izvahi", u"izmahi"};
// clang-format on

QString ending(Endings endings, int cell)
{
    return QString::fromUtf16(endings[cell]);
}

// The t and T of an ending after z turn to w and W (akArzwAm).
QString afterZ(const QString &stem, const QString &end)
{
    if (!stem.endsWith(u'z'))
        return stem + end;
    QString out = end;
    if (isOralStop(out[0], Place::Dental))
        out[0] = retroflexOf(out[0]);
    return stem + out;
}

// A cell of the s-aorist whose ending begins with t, T or D: the s stays after a vowel or r
// (anEzwa, akArzwAm), goes after a short vowel in the middle (akfta), between consonants
// (adAgDAm, alabDa) and before D, which turns to Q after a vowel other than a (akfQvam).
QString sAoristDentalCell(QString stem, const QString &end, bool middle, bool jAsZ)
{
    if (jAsZ && stem.endsWith(u'j'))
        stem.back() = u'z';
    const QChar last = stem.back();
    // The s of the root turns to t before the s, which then goes (avAttAm).
    if (last == u's' && !middle)
        return stem.chopped(1) + u't' + end;
    if (end.startsWith(u'D')) {
        if (isVowel(last))
            return stem + (sameVowelQuality(last, u'a') ? end : u'Q' + end.mid(1));
        return QStringView(kFinalsKeepingS).contains(last) ? QString() : attach(stem, end);
    }
    if (middle && isShortVowel(last))
        return stem + end;
    if (isVowel(last) || QStringView(kFinalsKeepingS).contains(last))
        return afterZ(joinBeforeFutureS(stem, QStringLiteral("s")), end);
    return attach(stem, end);
}

QString sAoristCell(const AoristStem &aorist, int cell, bool middle)
{
    const QString end = ending(middle ? kSMiddle : kSActive, cell);
    if (end.startsWith(u's'))
        return joinBeforeFutureS(aorist.stem, end);
    if (!aorist.beforeDental.isEmpty())
        return aorist.beforeDental + end.mid(1);
    return sAoristDentalCell(aorist.stem, end, middle, aorist.jSoundsAsZ);
}

// The root aorist: after A the third plural is us (aduH) and the first singular m (adAm);
// after U a v comes before the vowel endings (aBUvan, aBUvam).
QString rootAoristCell(const QString &stem, int cell)
{
    QString end = ending(kRootActive, cell);
    const bool longA = stem.endsWith(u'A');
    if (end == u"us")
        return longA ? stem.chopped(1) + end : stem + QStringLiteral("van");
    if (end == u"am")
        return longA ? stem + u'm' : stem + QStringLiteral("vam");
    return stem + end;
}

// The iS-aorist's cells; grah lengthens the i (agrahIzwAm), the third and second singular
// active have it long anyway.
QStringList iSCells(const AoristStem &aorist, int cell, bool middle)
{
    const QString &stem = aorist.stem;
    QString end = ending(middle ? kISMiddle : kISActive, cell);
    if (aorist.kind == AoristKind::LongIS && end.startsWith(u'i'))
        end[0] = u'I';
    if (middle && cell == 5 && (isSemivowel(stem.back()) || stem.back() == u'h'))
        return {stem + end, stem + end.left(1) + u'Q' + end.mid(2)};
    return {stem + end};
}

// The forms of one stem in the cell, before the augment; several where the grammars allow
// idvam or iQvam after y, r, l, v, h.
QStringList cellForms(const AoristStem &aorist, int cell, bool middle)
{
    const QString &stem = aorist.stem;
    switch (aorist.kind) {
    case AoristKind::Root:
        return middle ? QStringList() : QStringList{rootAoristCell(stem, cell)};
    case AoristKind::A:
    case AoristKind::Reduplicated:
        return {stem + ending(middle ? kThematicMiddle : kThematicActive, cell)};
    case AoristKind::Sa:
        return {stem + ending(middle ? kSaMiddle : kThematicActive, cell)};
    case AoristKind::S: {
        const QString form = sAoristCell(aorist, cell, middle);
        return form.isEmpty() ? QStringList() : QStringList{form};
    }
    case AoristKind::IS:
    case AoristKind::LongIS:
        return iSCells(aorist, cell, middle);
    case AoristKind::SiS:
        return middle ? QStringList()
                      : QStringList{joinBeforeFutureS(stem, u's' + ending(kISActive, cell))};
    }
    return {};
}

void addForms(VerbParadigm *paradigm, const QList<AoristStem> &stems, bool middle)
{
    for (const AoristStem &stem : stems) {
        for (int cell = 0; cell < kCells; ++cell) {
            for (const QString &form : cellForms(stem, cell, middle))
                paradigm->cells[cell].append(finishWord(withAugment(form)));
            paradigm->cells[cell].removeDuplicates();
        }
    }
}

// The vowel roots, the causatives and han, grah, dfS may make the passive on the stem of its
// third singular with i (adAyizAtAm, akArizAtAm, acorizAtAm, aGAnizAtAm).
QList<AoristStem> passiveIStems(const VerbRoot &root, const QStringList &thirdSingulars)
{
    if (!isVowel(root.rootSounds.back()) &&
        !inRootGroup(RootGroup::PassiveAoristWithI, root.rootSounds) && root.verbClass != 10)
        return {};
    QList<AoristStem> stems;
    for (const QString &third : thirdSingulars) {
        // The third singular without its augment and i: "adAyi" -> "dAy".
        if (third.size() > 2 && third.startsWith(u'a') && third.endsWith(u'i'))
            stems.append({AoristKind::IS, third.mid(1).chopped(1)});
    }
    return stems;
}

// The middle forms the table adds beside the ones the stems make, or in place of them: the
// third singular in -i of budh, jan, dIp (abodhi beside abuddha) and of pad (apAdi alone), the
// third and second singular without s of tan and man (atata, atathAH), and duh, dih, lih without
// their sa before a dental or v (adugdha, adhugdhvam, aduhvahi).
void addMiddleForms(VerbParadigm *paradigm, const VerbRoot &root)
{
    const VerbRoot own = substituteRoot(root);
    // pad has only the form in -i in the third singular (apAdi).
    if (const auto only = exceptionFor(own, "aorA3i"))
        paradigm->cells[0] = *only;
    static const std::pair<const char *, int> keys[] = {
        {"aorA3", 0}, {"aorA2", 3}, {"aorA2p", 5}, {"aorA1d", 7}};
    for (const auto &[key, cell] : keys) {
        for (const QString &form : exceptionFor(own, key).value_or(QStringList())) {
            if (!paradigm->cells[cell].contains(form))
                paradigm->cells[cell].append(form);
        }
    }
}

} // namespace

VerbParadigm aoristParadigm(const VerbRoot &root, Pada pada, bool passive)
{
    VerbParadigm paradigm;
    const bool middle = passive || pada == Pada::Atmanepada;
    if (!passive) {
        addForms(&paradigm, aoristStems(root, pada), middle);
        if (middle && !paradigm.cells[0].isEmpty())
            addMiddleForms(&paradigm, root);
        return paradigm;
    }
    addForms(&paradigm, passiveAoristStems(root), true);
    const QStringList third = passiveAoristThirdSingulars(root);
    if (third.isEmpty())
        return {};
    VerbParadigm alternatives;
    addForms(&alternatives, passiveIStems(root, third), true);
    for (int cell = 0; cell < kCells; ++cell) {
        paradigm.cells[cell] += alternatives.cells[cell];
        paradigm.cells[cell].removeDuplicates();
    }
    paradigm.cells[0] = third;
    return paradigm;
}

} // namespace vantro::verbs
