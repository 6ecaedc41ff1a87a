// SPDX-License-Identifier: GPL-3.0-or-later
#include "nounsandhi.h"

#include "retroflexion.h"

#include <algorithm>

namespace vantro {

namespace {

bool isOneOf(Sound sound, std::initializer_list<Sound> set)
{
    return std::find(set.begin(), set.end(), sound) != set.end();
}

void palataliseN(SoundString &word, int from)
{
    for (int i = std::max(from, 1); i < word.size(); ++i)
        if (word.at(i) == Sound::n && isStop(word.at(i - 1)) &&
            placeOf(word.at(i - 1)) == Place::Palatal)
            word.set(i, Sound::ny);
}

// Roots whose final j becomes T rather than k (samrAT, parivrAT, vishvasR^iT; but asR^ik,
// which is no compound of sR^ij), and the words whose final sh becomes k rather than T (dik,
// tAdR^ik).
bool endsInCerebralisingJ(const SoundString &stem)
{
    static const SoundString roots[] = {SoundString("rAj"), SoundString("mR^ij"),
                                        SoundString("sR^ij"), SoundString("yaj"),
                                        SoundString("bhrasj")};
    static const SoundString asRij("asR^ij");
    return stem != asRij &&
           std::any_of(std::begin(roots), std::end(roots),
                       [&](const SoundString &root) { return stem.endsWith(root); });
}

bool endsInVelarisingSh(const SoundString &stem)
{
    static const SoundString roots[] = {SoundString("dish"), SoundString("dR^ish"),
                                        SoundString("spR^ish")};
    return std::any_of(std::begin(roots), std::end(roots),
                       [&](const SoundString &root) { return stem.endsWith(root); });
}

// Where the root's last syllable starts: the consonants before its vowel.
int syllableOnset(const SoundString &word)
{
    int vowel = word.size() - 1;
    while (vowel >= 0 && !isVowel(word.at(vowel)))
        --vowel;
    int onset = vowel;
    while (onset > 0 && isConsonant(word.at(onset - 1)))
        --onset;
    return onset;
}

Sound finalOfH(const SoundString &stem)
{
    static const SoundString nah("nah"), uShNih("uShNih");
    const int onset = syllableOnset(stem);
    if ((onset < stem.size() && stem.at(onset) == Sound::d) || stem.endsWith(uShNih))
        return Sound::k;
    return stem.endsWith(nah) ? Sound::t : Sound::T;
}

Sound finalConsonant(const SoundString &stem)
{
    const Sound last = stem.last();
    switch (last) {
    case Sound::ch:
    case Sound::Ch:
        return Sound::k;
    case Sound::j:
    case Sound::jh:
        return endsInCerebralisingJ(stem) ? Sound::T : Sound::k;
    case Sound::sh:
        return endsInVelarisingSh(stem) ? Sound::k : Sound::T;
    case Sound::Sh:
        return Sound::T;
    case Sound::h:
        return finalOfH(stem);
    default:
        return stopAtEnd(last);
    }
}

// A root ending in an aspirate that loses its breath at the end throws it back on a voiced
// initial: duh -> dhuk, budh -> bhut.
void throwBackAspiration(SoundString &word, Sound lostAspirate)
{
    if (!(isAspirated(lostAspirate) && isVoiced(lostAspirate)))
        return;
    const int onset = syllableOnset(word.chopped(1));
    for (int i = onset; i < word.size() && isConsonant(word.at(i)); ++i) {
        if (takesThrownBackAspiration(word.at(i))) {
            word.set(i, aspiratedOf(word.at(i)));
            return;
        }
    }
}

} // namespace

SoundString attachEnding(const SoundString &stem, const SoundString &ending)
{
    SoundString word = stem + ending;
    const int join = stem.size();
    if (join > 0 && !ending.isEmpty()) {
        if (stem.last() == Sound::s && isVowel(ending.at(0)))
            retroflexS(word, join - 1);
        if (ending.at(0) == Sound::s)
            retroflexS(word, join);
    }
    palataliseN(word, join - 1);
    retroflexN(word, join - 1);
    return word;
}

SoundString joinBeforeConsonant(const SoundString &stem, const SoundString &ending)
{
    if (stem.isEmpty() || isVowel(stem.last()) || ending.isEmpty())
        return attachEnding(stem, ending);
    const bool voicedEnding = isVoiced(ending.at(0));
    const Sound last = stem.last();
    if (last == Sound::s) {
        const Sound before = stem.last(2);
        if (!voicedEnding)
            return attachEnding(stem.chopped(1) + Sound::H, ending);
        if (before == Sound::a)
            return stem.chopped(2) + Sound::o + ending;
        if (before == Sound::A)
            return stem.chopped(1) + ending;
        return stem.chopped(1) + Sound::r + ending;
    }
    if (last == Sound::r || isNasal(last))
        return attachEnding(stem, ending);
    SoundString word = wordFinal(stem);
    const Sound final = word.last();
    if (voicedEnding && isStop(final) && !isNasal(final))
        word.set(word.size() - 1, stopOf(placeOf(final), true, false));
    return attachEnding(word, ending);
}

SoundString wordFinal(const SoundString &stem)
{
    SoundString word = stem;
    if (word.isEmpty() || !isConsonant(word.last()))
        return word;
    while (word.size() >= 2 && isConsonant(word.last()) && isConsonant(word.last(2)) &&
           word.last(2) != Sound::r)
        word = word.chopped(1);
    const Sound last = word.last();
    if (inPauseAtEnd(last) != last) {
        word.set(word.size() - 1, inPauseAtEnd(last));
        return word;
    }
    word.set(word.size() - 1, finalConsonant(word));
    throwBackAspiration(word, last);
    return word;
}

SoundString inPause(SoundString word)
{
    if (!word.isEmpty())
        word.set(word.size() - 1, inPauseAtEnd(word.last()));
    for (int i = 0; i + 1 < word.size(); ++i)
        if ((word.at(i) == Sound::n || word.at(i) == Sound::m) &&
            isOneOf(word.at(i + 1), {Sound::s, Sound::sh, Sound::Sh, Sound::h}))
            word.set(i, Sound::M);
    return word;
}

SoundString withPluralNasal(const SoundString &stem)
{
    const Sound last = stem.last();
    if (last == Sound::s && isVowel(stem.last(2))) {
        const Sound vowel = stem.last(2);
        const bool plain = vowel == Sound::a || vowel == Sound::A;
        return stem.chopped(2) + lengthened(vowel) + Sound::M + (plain ? Sound::s : Sound::Sh);
    }
    SoundString nasalised = stem;
    if (isStop(last) && !isNasal(last))
        nasalised.insert(stem.size() - 1, nasalOf(placeOf(last)));
    else if (isOneOf(last, {Sound::sh, Sound::Sh, Sound::h}))
        nasalised.insert(stem.size() - 1, Sound::M);
    return nasalised;
}

} // namespace vantro
