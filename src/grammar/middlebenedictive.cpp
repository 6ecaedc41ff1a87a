// SPDX-License-Identifier: GPL-3.0-or-later
// The benedictive of the atmanepada. Its s takes i where the t of the infinitive does (the
// future's i of kariShyati, gamiShyati is its own); without i the roots in R^i and those with i,
// u or R^i before one final consonant keep their vowel (kR^iShIShTa, bhutsIShTa), the others take
// guna (neShIShTa). Where the grammars let a root choose, the form is left to the table.
#include "middlebenedictive.h"

#include "rootgroups.h"
#include "soundclasses.h"
#include "verbphonology.h"
#include "verbstems.h"

namespace vantro::verbs {

namespace {

// vR^i, the roots in R^I and those in R^i after two consonants take i or not at choice here.
bool choosesI(const QString &r)
{
    const qsizetype n = r.size();
    const bool afterConjunct = n >= 3 && isConsonant(r[n - 2]) && isConsonant(r[n - 3]);
    return r.back() == u'F' || inRootGroup(RootGroup::IMayLengthen, r) ||
           (r.back() == u'f' && afterConjunct);
}

QString withoutI(const VerbRoot &root)
{
    QString r = root.rootSounds;
    if (isDiphthong(r.back()))
        r = r.chopped(1) + u'A';
    const QChar last = r.back();
    if (last == u'A')
        return r + u's';
    if (last == u'f')
        return withS(r);
    if (isVowel(last))
        return withS(gunaOfRoot(r));
    // A nasal before the last consonant, or an irregular future, is not followed by a rule.
    const qsizetype n = r.size();
    if (!root.futureStem.isEmpty() || (n >= 2 && (isNasal(r[n - 2]) || r[n - 2] == u'M')) ||
        inRootGroup(RootGroup::HAsDentalDh, r))
        return {};
    return joinBeforeFutureS(r, QStringLiteral("s"));
}

QString withI(const VerbRoot &root)
{
    const QString &r = root.rootSounds;
    QString strong = isDiphthong(r.back()) ? r.chopped(1) + u'A' : gunaOfRoot(r);
    if (strong.endsWith(u'e'))
        strong = strong.chopped(1) + QStringLiteral("ay");
    else if (strong.endsWith(u'o'))
        strong = strong.chopped(1) + QStringLiteral("av");
    return withS(strong + u'i');
}

// The second plural after one stem: an empty string where the grammars allow both.
QString secondPluralEnding(const QString &stem)
{
    const QString before = stem.chopped(1);
    if (before.endsWith(u'i') && before.size() >= 2)
        return isSemivowel(before[before.size() - 2]) || before[before.size() - 2] == u'h'
                   ? QString()
                   : QStringLiteral("IDvam");
    const QChar last = before.back();
    return isVowel(last) && !sameVowelQuality(last, u'a') ? QStringLiteral("IQvam")
                                                          : QStringLiteral("IDvam");
}

} // namespace

QStringList middleBenedictiveStems(const VerbRoot &given)
{
    const VerbRoot root = substituteRoot(given);
    if (const auto fromTable = exceptionFor(root, "benA"))
        return *fromTable;
    if (root.verbClass == 10)
        return {withS(root.strongStem.chopped(1) + u'i')};
    const std::optional<QList<bool>> flags = takesIBeforeT(root);
    // A root whose future has a second stem (gAhiShyate, ghAkShyate) chooses here too.
    if (!flags || choosesI(root.rootSounds) || exceptionFor(root, "inf") ||
        !root.futureAlternatives.isEmpty())
        return {};
    QStringList stems;
    for (const bool i : *flags) {
        const QString stem = i ? withI(root) : withoutI(root);
        if (stem.isEmpty())
            return {};
        stems.append(stem);
    }
    return stems;
}

VerbParadigm middleBenedictive(const VerbRoot &root, const QStringList &furtherStems)
{
    static const char16_t *const endings[9] = {u"Izwa", u"IyAstAm", u"Iran",  u"IzWAs", u"IyAsTAm",
                                               u"",     u"Iya",     u"Ivahi", u"Imahi"};
    QStringList stems = middleBenedictiveStems(root);
    if (stems.isEmpty())
        return {};
    stems += furtherStems;
    // A final h has become a stop before the s by the time the dh is reached: not settled here.
    const bool secondPlural = !root.rootSounds.endsWith(u'h') || root.verbClass == 10;
    VerbParadigm paradigm;
    for (int cell = 0; cell < 9; ++cell) {
        for (const QString &stem : stems) {
            const QString ending = cell != 5      ? QString::fromUtf16(endings[cell])
                                   : secondPlural ? secondPluralEnding(stem)
                                                  : QString();
            if (ending.isEmpty()) {
                paradigm.cells[cell].clear();
                break;
            }
            paradigm.cells[cell].append(finishWord(stem + ending));
        }
        paradigm.cells[cell].removeDuplicates();
    }
    return paradigm;
}

} // namespace vantro::verbs
