// SPDX-License-Identifier: GPL-3.0-or-later
#include "retroflexion.h"

#include <algorithm>

namespace vantro {

namespace {

bool isOneOf(Sound sound, std::initializer_list<Sound> set)
{
    return std::find(set.begin(), set.end(), sound) != set.end();
}

bool isVelarOrLabialStop(Sound sound)
{
    return isStop(sound) && (placeOf(sound) == Place::Velar || placeOf(sound) == Place::Labial);
}

bool turnsNToN(Sound sound)
{
    return isOneOf(sound, {Sound::r, Sound::Ri, Sound::RI, Sound::Sh});
}

bool letsRetroflexionThrough(Sound sound)
{
    return isVowel(sound) || isOneOf(sound, {Sound::h, Sound::y, Sound::v, Sound::M}) ||
           isVelarOrLabialStop(sound);
}

} // namespace

bool turnsSToSh(Sound before)
{
    if (isVowel(before))
        return before != Sound::a && before != Sound::A;
    return isOneOf(before, {Sound::y, Sound::r, Sound::l, Sound::v, Sound::h}) ||
           (isStop(before) && placeOf(before) == Place::Velar);
}

void retroflexS(SoundString &word, int index)
{
    if (word.at(index) != Sound::s || index + 1 >= word.size() || word.at(index + 1) == Sound::r)
        return;
    int before = index - 1;
    if (before >= 0 && word.at(before) == Sound::H)
        --before;
    if (before >= 0 && turnsSToSh(word.at(before)))
        word.set(index, Sound::Sh);
}

bool retroflexReaches(const SoundString &word, int index)
{
    if (index + 1 >= word.size() || word.at(index) != Sound::n)
        return false;
    const Sound next = word.at(index + 1);
    if (!(isVowel(next) || isOneOf(next, {Sound::n, Sound::m, Sound::y, Sound::v})))
        return false;
    for (int j = index - 1; j >= 0; --j) {
        if (turnsNToN(word.at(j)))
            return true;
        if (!letsRetroflexionThrough(word.at(j)))
            return false;
    }
    return false;
}

void retroflexN(SoundString &word, int from)
{
    for (int i = std::max(from, 0); i + 1 < word.size(); ++i)
        if (retroflexReaches(word, i))
            word.set(i, Sound::N);
}

} // namespace vantro
