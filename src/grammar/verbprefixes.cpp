// SPDX-License-Identifier: GPL-3.0-or-later
#include "verbprefixes.h"

#include "retroflexion.h"
#include "rootgroups.h"
#include "soundclasses.h"
#include "verbphonology.h"

namespace vantro::verbs {

namespace {

// The prefixes in sounds; dus and nis in their basic s form.
const SoundStrings &prefixTable()
{
    static const SoundStrings prefixes = [] {
        SoundStrings read;
        for (const char *prefix :
             {"ati", "adhi", "anu", "apa", "api", "abhi", "ava", "A", "ud", "upa", "dus", "nis",
              "ni", "parA", "pari", "pra", "prati", "vi", "sam"})
            read.append(SoundString(prefix));
        return read;
    }();
    return prefixes;
}

// a of a prefix with the root's first vowel: a + i -> e and the like, but a + R^i -> Ar, and the
// e of i and edh take vrddhi (upaiti, praidhate) except after A (eti).
SoundString joinVowelPrefix(const SoundString &prefix, const SoundString &word,
                            const SoundString &rootSounds)
{
    const Sound p = prefix.back();
    const Sound w = word.front();
    const SoundString base = prefix.chopped(1);
    const SoundString rest = word.mid(1);
    if (p == Sound::a || p == Sound::A) {
        if (sameVowelQuality(w, Sound::a))
            return base + Sound::A + rest;
        if (sameVowelQuality(w, Sound::i))
            return base + Sound::e + rest;
        if (sameVowelQuality(w, Sound::u))
            return base + Sound::o + rest;
        if (w == Sound::Ri)
            return base + "Ar" + rest;
        if (w == Sound::e && prefix != "A"_sounds && inRootGroup(RootGroup::AiAfterA, rootSounds))
            return base + Sound::ai + rest;
        return base + word; // e, o take the place of the a; ai, au swallow it
    }
    const bool front = sameVowelQuality(p, Sound::i);
    if (sameVowelQuality(w, front ? Sound::i : Sound::u))
        return base + (front ? Sound::I : Sound::U) + rest;
    return base + (front ? Sound::y : Sound::v) + word;
}

SoundString joinUd(const SoundString &word)
{
    const Sound w = word.front();
    if (isPlainStop(w, Place::Palatal))
        return "u"_sounds + (isVoiced(w) ? Sound::j : Sound::ch) + word;
    if (isPlainStop(w, Place::Retroflex) && isVoiced(w))
        return "uD"_sounds + word;
    if (w == Sound::l)
        return "ul" + word;
    if (isNasal(w))
        return "un" + word;
    if (w == Sound::h)
        return "uddh" + word.mid(1);
    if (!isVoiced(w))
        return "ut" + word;
    return "ud" + word;
}

SoundString joinNisDus(const SoundString &prefix, const SoundString &word)
{
    const SoundString base = prefix.chopped(1);
    const Sound w = word.front();
    if (w == Sound::r)
        return base.chopped(1) + Sound::I + word;
    if (isVoiced(w))
        return base + Sound::r + word;
    if (isVoicelessStop(w) && (placeOf(w) == Place::Velar || placeOf(w) == Place::Labial))
        return base + Sound::Sh + word;
    if (isVoicelessStop(w) && placeOf(w) == Place::Palatal)
        return base + Sound::sh + word;
    if (isVoicelessStop(w) && placeOf(w) == Place::Dental)
        return base + Sound::s + word;
    return base + Sound::H + word;
}

SoundString joinPrefix(const SoundString &prefix, const SoundString &word,
                       const SoundString &rootSounds)
{
    if (word.isEmpty())
        return prefix;
    if (prefix == "ud"_sounds)
        return joinUd(word);
    if (prefix == "nis"_sounds || prefix == "dus"_sounds)
        return joinNisDus(prefix, word);
    if (prefix == "sam"_sounds)
        return isVowel(word.front()) ? prefix + word : "saM"_sounds + word;
    return isVowel(word.front()) ? joinVowelPrefix(prefix, word, rootSounds) : prefix + word;
}

// ni + sIdati -> niShIdati, ni + asIdat -> nyaShIdat, abhi + stauti -> abhiShTauti: the root's s as
// if it stood right after the prefix's last sound, the augment between letting the rule through.
SoundString retroflexInitialS(Sound prefixFinal, const SoundString &word)
{
    const int at = word.startsWith(Sound::s) ? 0 : word.startsWith("as") ? 1 : -1;
    if (at < 0)
        return word;
    SoundString out = word;
    out.set(at, retroflexS(prefixFinal + word.mid(at), 1).at(1));
    if (out.at(at) != word.at(at) && at + 1 < out.size() &&
        isPlainStop(out.at(at + 1), Place::Dental))
        out.set(at + 1, retroflexOf(out.at(at + 1)));
    return out;
}

// Across a prefix only the n of a root that has it first and the n of the first person
// imperative Ani turn to N (praNamati, prabhavANi, but prApnoti).
SoundString retroflexAcrossPrefix(const SoundString &word, int prefixLength,
                                  const SoundString &rootSounds)
{
    QList<int> targets;
    if (rootSounds.startsWith(Sound::n) && !inRootGroup(RootGroup::DentalNKept, rootSounds))
        targets.append(word.indexOf(Sound::n, qMax<int>(0, prefixLength - 1)));
    if (word.endsWith("Ani"))
        targets.append(word.size() - 2);
    // The n of han after the a of its root turns to N before a vowel or y (prahaNyAt,
    // prahaNana), but not where the a is gone (praghnanti) or before a consonant (prahanti).
    if (inRootGroup(RootGroup::NRetroflexBeforeVowel, rootSounds)) {
        const int at = word.indexOf("han"_sounds, qMax<int>(0, prefixLength - 1));
        if (at >= 0 && at + 3 < word.size() &&
            (isVowel(word.at(at + 3)) || word.at(at + 3) == Sound::y))
            targets.append(at + 2);
    }
    SoundString out = word;
    for (const int at : targets) {
        if (at >= 0 && retroflexReaches(out, at))
            out.set(at, Sound::N);
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
        const Outcome<SoundString> read = SoundString::fromItrans(part);
        SoundString sounds = read.value;
        if (sounds == "ut"_sounds) // written as it sounds before a voiceless letter (utpatati)
            sounds = SoundString("ud");
        if (!read.ok() || !prefixTable().contains(sounds))
            return {{}, QStringLiteral("\"%1\" is not a verbal prefix").arg(part)};
        split.value.prefixes.append(sounds);
    }
    return split;
}

SoundString withPrefixes(const SoundStrings &prefixes, const SoundString &rootSounds,
                         const SoundString &form)
{
    SoundString word = form;
    if (prefixes.isEmpty())
        return word;
    // The s of su stays before the sy of the future and the conditional (visoShyati,
    // abhyasoShyat), as the grammars except it.
    const bool suBeforeSy =
        inRootGroup(RootGroup::SKeptBeforeSy, rootSounds) && word.contains("oShy");
    if (inRootGroup(RootGroup::SRetroflexAfterPrefix, rootSounds) &&
        turnsSToSh(prefixes.back().back()) && !suBeforeSy) {
        // The Sh made of the root's s turns a following n of the form to N as any Sh does, and
        // N doubles its n (niShaNNa, abhiShuNoti).
        word = retroflexN(retroflexInitialS(prefixes.back().back(), word));
        word.replaceAll("Nn"_sounds, "NN"_sounds);
    }
    // The s of as (to be) after a prefix in i or u turns to Sh before a vowel or y (abhiShanti,
    // abhiShyAt), not before a consonant (abhistaH).
    if (inRootGroup(RootGroup::SAsShBeforeVowel, rootSounds) && word.size() > 1 &&
        (isVowel(word.at(1)) || word.at(1) == Sound::y))
        word = retroflexS(prefixes.back().back() + word, 1).mid(1);
    if (prefixes.back() == "ud"_sounds && inRootGroup(RootGroup::SDropsAfterUd, rootSounds) &&
        word.startsWith(Sound::s))
        word.remove(0);
    // The s of saMskR^i comes after the augment (samaskarot, samaskArShIt).
    if (prefixes.back() == "sam"_sounds && inRootGroup(RootGroup::SAfterSam, rootSounds))
        word.insert(word.startsWith("ak"_sounds) ? 1 : 0, Sound::s);
    for (int i = prefixes.size() - 1; i >= 0; --i)
        word = joinPrefix(prefixes.at(i), word, rootSounds);
    int prefixLength = 0;
    for (const SoundString &prefix : prefixes)
        prefixLength += prefix.size();
    return retroflexAcrossPrefix(word, prefixLength, rootSounds);
}

const QStringList &commonPrefixChains()
{
    static const QStringList chains = [] {
        QStringList list;
        for (const SoundString &prefix : prefixTable())
            list.append(prefix.toItrans() + u'-');
        for (const char *pair : {"prati-A-", "sam-A-", "upa-A-", "abhi-A-", "vi-A-", "pari-A-",
                                 "adhi-A-", "anu-pra-", "pra-ati-", "vi-ni-"})
            list.append(QString::fromLatin1(pair));
        return list;
    }();
    return chains;
}

} // namespace vantro::verbs
