// SPDX-License-Identifier: GPL-3.0-or-later
#include "verbphonology.h"

#include "retroflexion.h"
#include "soundclasses.h"

namespace vantro::verbs {

namespace {

// A final aspirate that loses its breath hands it to the stem's initial.
SoundString throwBackAspiration(SoundString stem)
{
    if (!stem.isEmpty() && takesThrownBackAspiration(stem.front()))
        stem.set(0, aspiratedOf(stem.front()));
    return stem;
}

// gh, jh, Dh, dh, bh and h.
bool isVoicedAspirate(Sound sound)
{
    return isVoiced(sound) && isAspirated(sound);
}

// k, kh, g, gh and the plain ch and j, which meet a consonant as a velar (vakti, yunakti).
bool meetsAsVelar(Sound sound)
{
    return isPlainStop(sound) && (placeOf(sound) == Place::Velar ||
                                  (placeOf(sound) == Place::Palatal && !isAspirated(sound)));
}

// sh and Sh, which meet a dental as a retroflex (dviShTa, dveShTA).
bool isHushingSibilant(Sound sound)
{
    return isSibilant(sound) && placeOf(sound) != Place::Dental;
}

// A dental stop other than n, or s, at an ending's start: there a final consonant changes
// (the endings begin with t, th, dh or s, none with d).
bool changesFinalConsonant(Sound sound)
{
    return placeOf(sound) == Place::Dental && (isPlainStop(sound) || isSibilant(sound));
}

// h of duh, dih, druh, snih sounds as gh; elsewhere (lih, vah) as the cerebral dh.
bool hIsVelar(const SoundString &stem)
{
    return stem.startsWith(Sound::d) || stem.startsWith(Sound::dh) || stem.startsWith("sn");
}

// The short vowel before an h that goes grows long (lIDha, gUDha); R^i stays (tR^iDha).
SoundString lengthenLastVowel(SoundString stem)
{
    if (!stem.isEmpty() && isVowel(stem.back()) && stem.back() != Sound::Ri)
        stem.set(stem.size() - 1, lengthened(stem.back()));
    return stem;
}

// A dental stop the ending begins with turns to the retroflex of the same voice and breath.
SoundString dentalToCerebral(SoundString ending)
{
    if (isPlainStop(ending.front(), Place::Dental))
        ending.set(0, retroflexOf(ending.front()));
    return ending;
}

// The s an ending begins with, turned to Sh where the sound before it turns it.
SoundString sAfter(Sound before, SoundString ending)
{
    if (turnsSToSh(before))
        ending.set(0, Sound::Sh);
    return ending;
}

SoundString joinCerebral(const SoundString &base, Sound last, const SoundString &ending)
{
    const Sound e = ending.front();
    if (last == Sound::h && (e == Sound::t || e == Sound::th || e == Sound::dh))
        return lengthenLastVowel(base) + Sound::Dh + ending.mid(1);
    if (e == Sound::t || e == Sound::th)
        return base + Sound::Sh + dentalToCerebral(ending);
    if (e == Sound::dh)
        return base + Sound::D + Sound::Dh + ending.mid(1);
    return base + Sound::k + sAfter(Sound::k, ending);
}

SoundString joinVelar(const SoundString &base, Sound last, const SoundString &ending)
{
    const Sound e = ending.front();
    const bool voicedAspirate = last == Sound::h || last == Sound::gh;
    if (e == Sound::s)
        return (voicedAspirate ? throwBackAspiration(base) : base) + Sound::k +
               sAfter(Sound::k, ending);
    if (voicedAspirate) {
        const SoundString front = ending.startsWith("dhv") ? throwBackAspiration(base) : base;
        return front + Sound::g + Sound::dh + ending.mid(1);
    }
    if (e == Sound::dh)
        return base + Sound::g + ending;
    return base + Sound::k + ending;
}

SoundString joinDental(const SoundString &base, Sound last, const SoundString &ending)
{
    const Sound e = ending.front();
    if (e == Sound::s)
        return (last == Sound::dh ? throwBackAspiration(base) : base) + Sound::t + ending;
    if (last == Sound::dh || e == Sound::dh)
        return base + Sound::d + Sound::dh + ending.mid(1);
    return base + Sound::t + ending;
}

SoundString joinOther(const SoundString &base, Sound last, const SoundString &ending)
{
    const Sound e = ending.front();
    if (last == Sound::s)
        return e == Sound::dh ? base + ending : base + Sound::s + ending;
    if (isPlainStop(last, Place::Labial)) {
        if (e == Sound::s)
            return (last == Sound::bh ? throwBackAspiration(base) : base) + Sound::p + ending;
        if (last == Sound::bh && (e == Sound::t || e == Sound::th))
            return base + Sound::b + Sound::dh + ending.mid(1);
        return base + (e == Sound::dh ? Sound::b : Sound::p) + ending;
    }
    if ((last == Sound::n || last == Sound::m) && e == Sound::s)
        return base + Sound::M + ending;
    if (last == Sound::r && e == Sound::s)
        return base + last + sAfter(last, ending);
    return base + last + ending;
}

// The j of mR^ij (mArShTi) goes as Sh; elsewhere j goes as g (yunakti).
bool jSoundsAsSh(const SoundString &stem)
{
    return stem.endsWith("R^ij") || stem.endsWith("Arj");
}

SoundString finalConsonant(const SoundString &stem)
{
    const Sound last = stem.back();
    const SoundString base = stem.chopped(1);
    if (last == Sound::h && hIsVelar(stem))
        return throwBackAspiration(base) + Sound::k;
    if (isHushingSibilant(last) || last == Sound::h || jSoundsAsSh(stem))
        return base + Sound::T;
    if (last == Sound::s)
        return base + Sound::t;
    if (placeOf(last) == Place::Palatal)
        return meetsAsVelar(last) ? base + Sound::k : stem;
    if (!isPlainStop(last))
        return stem;
    return (isVoicedAspirate(last) ? throwBackAspiration(base) : base) + stopAtEnd(last);
}

SoundString joinVowels(const SoundString &stem, const SoundString &ending)
{
    if (!isVowel(ending.front()))
        return stem + ending;
    const Sound last = stem.back();
    const SoundString base = stem.chopped(1);
    if (last == Sound::o || last == Sound::au)
        return base + "av" + ending;
    if (last == Sound::e)
        return base + "ay" + ending;
    if (last == Sound::A && shortVowelOf(ending.front()) == Sound::a)
        return stem + ending.mid(1);
    if (last == Sound::A && ending.front() == Sound::u)
        return base + ending;
    if (last == Sound::A && ending.front() == Sound::ai)
        return base + ending;
    return stem + ending;
}

SoundString joinConsonants(const SoundString &stem, const SoundString &ending)
{
    if (stem.isEmpty() || !isConsonant(stem.back()))
        return stem + ending;
    if (ending.isEmpty())
        return finalConsonant(stem);
    if (!changesFinalConsonant(ending.front()))
        return stem + ending;
    const Sound last = stem.back();
    const SoundString base = stem.chopped(1);
    if (stem.endsWith("kSh"))
        return ending.front() == Sound::s ? stem + ending.mid(1)
                                          : joinCerebral(base.chopped(1), Sound::Sh, ending);
    if (isHushingSibilant(last) || last == Sound::Dh || jSoundsAsSh(stem) ||
        (last == Sound::h && !hIsVelar(stem)))
        return joinCerebral(base, last, ending);
    if (meetsAsVelar(last) || last == Sound::h)
        return joinVelar(base, last, ending);
    if (isPlainStop(last, Place::Dental))
        return joinDental(base, last, ending);
    return joinOther(base, last, ending);
}

SoundString gradeBeforeVowel(const SoundString &grade)
{
    return grade.size() == 1 ? diphthongBeforeVowel(grade.front()) : grade;
}

} // namespace

bool followsConsonant(const SoundString &sounds, int index)
{
    return index > 0 && isConsonant(sounds.at(index - 1));
}

SoundString gunaBeforeVowel(Sound vowel)
{
    return gradeBeforeVowel(guna(vowel));
}

SoundString vrddhiBeforeVowel(Sound vowel)
{
    return gradeBeforeVowel(vrddhi(vowel));
}

SoundString gunaOfRoot(const SoundString &root)
{
    if (root.isEmpty())
        return root;
    if (isVowel(root.back()))
        return root.chopped(1) + guna(root.back());
    const int v = root.size() - 2;
    if (v >= 0 && root.at(v) != Sound::a && isShortVowel(root.at(v)))
        return root.left(v) + guna(root.at(v)) + root.back();
    return root;
}

SoundString withAugment(const SoundString &stem)
{
    if (!stem.isEmpty() && isVowel(stem.front()))
        return vrddhi(stem.front()) + stem.mid(1);
    // A short vowel before ch doubles it with c ("achChinat").
    return stem.startsWith(Sound::Ch) ? "ach" + stem : Sound::a + stem;
}

SoundString attach(const SoundString &stem, const SoundString &ending)
{
    if (stem.isEmpty())
        return ending;
    if (isConsonant(stem.back()))
        return joinConsonants(stem, ending);
    if (ending.isEmpty())
        return stem;
    if (ending.size() > 1 && ending.front() == Sound::s && turnsSToSh(stem.back()))
        return stem + sAfter(stem.back(), ending);
    return joinVowels(stem, ending);
}

SoundString attach(const SoundString &stem, const char *ending)
{
    return attach(stem, SoundString::literal(ending));
}

SoundString joinBeforeFutureS(const SoundString &stem, const SoundString &ending)
{
    if (stem.isEmpty())
        return ending;
    const Sound last = stem.back();
    if (isVowel(last))
        return stem + sAfter(last, ending);
    const SoundString base = stem.chopped(1);
    if (stem.endsWith("kSh"))
        return stem + ending.mid(1);
    if (meetsAsVelar(last) || isHushingSibilant(last) || last == Sound::h)
        return (isVoicedAspirate(last) ? throwBackAspiration(base) : base) + Sound::k +
               sAfter(Sound::k, ending);
    if (last == Sound::s)
        return base + Sound::t + ending;
    if (last == Sound::r)
        return stem + sAfter(last, ending);
    return joinConsonants(stem, ending);
}

SoundString withS(const SoundString &stem)
{
    return stem + (!stem.isEmpty() && turnsSToSh(stem.back()) ? Sound::Sh : Sound::s);
}

SoundString retroflexS(SoundString word, int index)
{
    vantro::retroflexS(word, index);
    return word;
}

SoundString retroflexN(SoundString word)
{
    vantro::retroflexN(word);
    return word;
}

SoundString finishWord(const SoundString &word)
{
    SoundString out = retroflexN(word);
    for (int i = 0; i + 1 < out.size(); ++i) {
        if (out.at(i) == Sound::M && isPlainStop(out.at(i + 1)))
            out.set(i, nasalOf(placeOf(out.at(i + 1))));
    }
    if (!out.isEmpty())
        out.set(out.size() - 1, inPauseAtEnd(out.back()));
    return out;
}

} // namespace vantro::verbs
