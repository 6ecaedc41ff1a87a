// SPDX-License-Identifier: GPL-3.0-or-later
#include "verbprefixes.h"

#include "rootgroups.h"
#include "soundclasses.h"
#include "verbphonology.h"

namespace vantro::verbs {

namespace {

// The prefixes in sounds; dus and nis in their basic s form.
const QStringList kPrefixes = {"ati",  "aDi", "anu",   "apa", "api", "aBi", "ava",
                               "A",    "ud",  "upa",   "dus", "nis", "ni",  "parA",
                               "pari", "pra", "prati", "vi",  "sam"};

// a of a prefix with the root's first vowel: a + i -> e and the like, but a + f -> Ar, and the
// e of i and edh take vrddhi (upaiti, praidhate) except after A (eti).
QString joinVowelPrefix(const QString &prefix, const QString &word, const QString &rootSounds)
{
    const QChar p = prefix.back();
    const QChar w = word.front();
    const QString base = prefix.chopped(1);
    const QString rest = word.mid(1);
    if (p == u'a' || p == u'A') {
        if (sameVowelQuality(w, u'a'))
            return base + u'A' + rest;
        if (sameVowelQuality(w, u'i'))
            return base + u'e' + rest;
        if (sameVowelQuality(w, u'u'))
            return base + u'o' + rest;
        if (w == u'f')
            return base + QStringLiteral("Ar") + rest;
        if (w == u'e' && prefix != u"A" && inRootGroup(RootGroup::AiAfterA, rootSounds))
            return base + u'E' + rest;
        return base + word; // e, o take the place of the a; ai, au swallow it
    }
    const bool front = sameVowelQuality(p, u'i');
    if (sameVowelQuality(w, front ? u'i' : u'u'))
        return base + (front ? u'I' : u'U') + rest;
    return base + (front ? u'y' : u'v') + word;
}

QString joinUd(const QString &word)
{
    const QChar w = word.front();
    if (isOralStop(w, Place::Palatal))
        return QStringLiteral("u") + (isVoiced(w) ? u'j' : u'c') + word;
    if (isOralStop(w, Place::Retroflex) && isVoiced(w))
        return QStringLiteral("uq") + word;
    if (w == u'l')
        return QStringLiteral("ul") + word;
    if (isNasal(w))
        return QStringLiteral("un") + word;
    if (w == u'h')
        return QStringLiteral("udD") + word.mid(1);
    if (!isVoiced(w))
        return QStringLiteral("ut") + word;
    return QStringLiteral("ud") + word;
}

QString joinNisDus(const QString &prefix, const QString &word)
{
    const QString base = prefix.chopped(1);
    const QChar w = word.front();
    if (w == u'r')
        return base.chopped(1) + u'I' + word;
    if (isVoiced(w))
        return base + u'r' + word;
    if (isVoicelessStop(w) && (placeOf(w) == Place::Velar || placeOf(w) == Place::Labial))
        return base + u'z' + word;
    if (isVoicelessStop(w) && placeOf(w) == Place::Palatal)
        return base + u'S' + word;
    if (isVoicelessStop(w) && placeOf(w) == Place::Dental)
        return base + u's' + word;
    return base + u'H' + word;
}

QString joinPrefix(const QString &prefix, const QString &word, const QString &rootSounds)
{
    if (word.isEmpty())
        return prefix;
    if (prefix == u"ud")
        return joinUd(word);
    if (prefix == u"nis" || prefix == u"dus")
        return joinNisDus(prefix, word);
    if (prefix == u"sam")
        return isVowel(word.front()) ? prefix + word : QStringLiteral("saM") + word;
    return isVowel(word.front()) ? joinVowelPrefix(prefix, word, rootSounds) : prefix + word;
}

// ni + sIdati -> nizIdati, ni + asIdat -> nyazIdat, aBi + stOti -> aBizwOti: the root's s as
// if it stood right after the prefix's last sound, the augment between letting the rule through.
QString retroflexInitialS(QChar prefixFinal, const QString &word)
{
    const qsizetype at = word.startsWith(u's') ? 0 : word.startsWith(QStringLiteral("as")) ? 1 : -1;
    if (at < 0)
        return word;
    QString out = word;
    out[at] = retroflexS(prefixFinal + word.mid(at), 1)[1];
    if (out[at] != word[at] && at + 1 < out.size() && isOralStop(out[at + 1], Place::Dental))
        out[at + 1] = retroflexOf(out[at + 1]);
    return out;
}

// Across a prefix only the n of a root that has it first and the n of the first person
// imperative Ani turn to R (praRamati, prabhavARi, but prApnoti).
QString retroflexAcrossPrefix(const QString &word, qsizetype prefixLength,
                              const QString &rootSounds)
{
    QList<qsizetype> targets;
    if (rootSounds.startsWith(u'n') && !inRootGroup(RootGroup::DentalNKept, rootSounds))
        targets.append(word.indexOf(u'n', qMax<qsizetype>(0, prefixLength - 1)));
    if (word.endsWith(QStringLiteral("Ani")))
        targets.append(word.size() - 2);
    // The n of han after the a of its root turns to R before a vowel or y (prahaRyAt,
    // prahaRana), but not where the a is gone (praGnanti) or before a consonant (prahanti).
    if (inRootGroup(RootGroup::NRetroflexBeforeVowel, rootSounds)) {
        const qsizetype at =
            word.indexOf(QStringLiteral("han"), qMax<qsizetype>(0, prefixLength - 1));
        if (at >= 0 && at + 3 < word.size() && (isVowel(word[at + 3]) || word[at + 3] == u'y'))
            targets.append(at + 2);
    }
    QString out = word;
    for (const qsizetype at : targets) {
        if (at >= 0 && retroflexReaches(out, at))
            out[at] = u'R';
    }
    return out;
}

} // namespace

Outcome<PrefixedRoot> splitPrefixes(const QString &itrans)
{
    QStringList parts = itrans.trimmed().split(u'-');
    Outcome<PrefixedRoot> split;
    split.value.root = parts.takeLast();
    for (const QString &part : parts) {
        const Outcome<QString> read = soundsFromItrans(part);
        QString sounds = read.value;
        if (sounds == u"ut") // written as it sounds before a voiceless letter (utpatati)
            sounds = QStringLiteral("ud");
        if (!read.ok() || !kPrefixes.contains(sounds))
            return {{}, QStringLiteral("\"%1\" is not a verbal prefix").arg(part)};
        split.value.prefixes.append(sounds);
    }
    return split;
}

QString withPrefixes(const QStringList &prefixes, const QString &rootSounds, const QString &form)
{
    QString word = form;
    if (prefixes.isEmpty())
        return word;
    // The s of su stays before the sy of the future and the conditional (visozyati,
    // aByasozyat), as the grammars except it.
    const bool suBeforeSy =
        inRootGroup(RootGroup::SKeptBeforeSy, rootSounds) && word.contains(QStringLiteral("ozy"));
    if (inRootGroup(RootGroup::SRetroflexAfterPrefix, rootSounds) &&
        turnsSToSh(prefixes.back().back()) && !suBeforeSy) {
        // The z made of the root's s turns a following n of the form to R as any z does, and
        // R doubles its n (nizaRRa, aBizuRoti).
        word = retroflexN(retroflexInitialS(prefixes.back().back(), word));
        word.replace(QStringLiteral("Rn"), QStringLiteral("RR"));
    }
    // The s of as (to be) after a prefix in i or u turns to z before a vowel or y (aBizanti,
    // aBizyAt), not before a consonant (aBistaH).
    if (inRootGroup(RootGroup::SAsShBeforeVowel, rootSounds) && word.size() > 1 &&
        (isVowel(word[1]) || word[1] == u'y'))
        word = retroflexS(prefixes.back().back() + word, 1).mid(1);
    if (prefixes.back() == u"ud" && inRootGroup(RootGroup::SDropsAfterUd, rootSounds) &&
        word.startsWith(u's'))
        word.remove(0, 1);
    // The s of saMskf comes after the augment (samaskarot, samaskArzIt).
    if (prefixes.back() == u"sam" && inRootGroup(RootGroup::SAfterSam, rootSounds))
        word.startsWith(QStringLiteral("ak")) ? word.insert(1, u's') : word.prepend(u's');
    for (qsizetype i = prefixes.size() - 1; i >= 0; --i)
        word = joinPrefix(prefixes[i], word, rootSounds);
    return retroflexAcrossPrefix(word, prefixes.join(QString()).size(), rootSounds);
}

const QStringList &commonPrefixChains()
{
    static const QStringList chains = [] {
        QStringList list;
        for (const QString &prefix : kPrefixes)
            list.append(itransFromSounds(prefix) + u'-');
        for (const char *pair : {"prati-A-", "sam-A-", "upa-A-", "abhi-A-", "vi-A-", "pari-A-",
                                 "adhi-A-", "anu-pra-", "pra-ati-", "vi-ni-"})
            list.append(QString::fromLatin1(pair));
        return list;
    }();
    return chains;
}

} // namespace vantro::verbs
