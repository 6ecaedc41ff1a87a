// SPDX-License-Identifier: GPL-3.0-or-later
#include "verbphonology.h"

#include "itranstoken.h"
#include "letter.h"
#include "retroflexion.h"
#include "schemetable.h"
#include "soundclasses.h"

#include <QHash>

#include <array>

namespace vantro::verbs {

namespace {

// The codes of each letter's sounds, worked out once from the table of sounds through the
// letter's preferred spelling: kSh and j~n are two sounds; a letter no Sanskrit word holds
// (a digit, a nukta letter, an accent) has none.
QString codesOfLetter(const Letter *letter)
{
    static const QHash<const Letter *, QString> codes = [] {
        QHash<const Letter *, QString> table;
        for (std::size_t i = 0; i < schemeLetterCount(); ++i) {
            const Letter *letter = schemeLetters() + i;
            const SoundString sounds =
                SoundString::fromItrans(QString::fromLatin1(letter->preferred())).value;
            for (int s = 0; s < sounds.size(); ++s)
                table[letter] += codeOf(sounds.at(s));
        }
        return table;
    }();
    return codes.value(letter);
}

// The verb strings hold only sounds; anything else reads as the visarga, which no rule here
// takes.
Sound soundAt(QChar code)
{
    return soundOfCode(code).value_or(Sound::H);
}

// A final aspirate that loses its breath hands it to the stem's initial.
QString throwBackAspiration(QString stem)
{
    if (!stem.isEmpty() && takesThrownBackAspiration(soundAt(stem.front())))
        stem[0] = codeOf(aspiratedOf(soundAt(stem.front())));
    return stem;
}

// gh, jh, Dh, dh, bh and h.
bool isVoicedAspirate(QChar code)
{
    const Sound sound = soundAt(code);
    return isVoiced(sound) && isAspirated(sound);
}

// One of the four stops of a class that are no nasal.
bool isPlainStopAt(QChar code, Place place)
{
    const Sound sound = soundAt(code);
    return isPlainStop(sound) && placeOf(sound) == place;
}

// k, kh, g, gh and the plain c and j, which meet a consonant as a velar (vakti, yunakti).
bool meetsAsVelar(QChar code)
{
    const Sound sound = soundAt(code);
    return isPlainStop(sound) && (placeOf(sound) == Place::Velar ||
                                  (placeOf(sound) == Place::Palatal && !isAspirated(sound)));
}

// sh and Sh, which meet a dental as a retroflex (dviShTa, dveShTA).
bool isHushingSibilant(QChar code)
{
    const Sound sound = soundAt(code);
    return isSibilant(sound) && placeOf(sound) != Place::Dental;
}

// A dental stop other than n, or s, at an ending's start: there a final consonant changes
// (the endings begin with t, th, dh or s, none with d).
bool changesFinalConsonant(QChar code)
{
    const Sound sound = soundAt(code);
    return placeOf(sound) == Place::Dental && (isPlainStop(sound) || isSibilant(sound));
}

// h of duh, dih, druh, snih sounds as gh; elsewhere (lih, vah) as the cerebral dh.
bool hIsVelar(const QString &stem)
{
    return stem.startsWith(u'd') || stem.startsWith(u'D') || stem.startsWith(QStringLiteral("sn"));
}

// The short vowel before an h that goes grows long (lIQa, gUQa); R^i stays (tR^iDha).
QString lengthenLastVowel(QString stem)
{
    if (!stem.isEmpty() && isVowel(stem.back()) && stem.back() != codeOf(Sound::Ri))
        stem.back() = codeOf(lengthened(soundAt(stem.back())));
    return stem;
}

// A dental stop the ending begins with turns to the retroflex of the same voice and breath.
QString dentalToCerebral(QString ending)
{
    if (isOralStop(ending.front(), Place::Dental))
        ending[0] = retroflexOf(ending.front());
    return ending;
}

// The s an ending begins with, turned to z where the sound before it turns it.
QString sAfter(QChar before, QString ending)
{
    if (turnsSToSh(before))
        ending[0] = u'z';
    return ending;
}

// The verb strings hold only sounds; anything else stops the n-to-R rule as a visarga would.
SoundString soundsOfCodes(QStringView codes)
{
    SoundString sounds;
    for (const QChar code : codes)
        sounds.append(soundOfCode(code).value_or(Sound::H));
    return sounds;
}

QString joinCerebral(const QString &base, QChar last, const QString &ending)
{
    const QChar e = ending.front();
    if (last == u'h' && (e == u't' || e == u'T' || e == u'D'))
        return lengthenLastVowel(base) + u'Q' + ending.mid(1);
    if (e == u't' || e == u'T')
        return base + u'z' + dentalToCerebral(ending);
    if (e == u'D')
        return base + u'q' + u'Q' + ending.mid(1);
    return base + u'k' + sAfter(u'k', ending);
}

QString joinVelar(const QString &base, QChar last, const QString &ending)
{
    const QChar e = ending.front();
    const bool voicedAspirate = last == u'h' || last == u'G';
    if (e == u's')
        return (voicedAspirate ? throwBackAspiration(base) : base) + u'k' + sAfter(u'k', ending);
    if (voicedAspirate) {
        const QString front =
            ending.startsWith(QStringLiteral("Dv")) ? throwBackAspiration(base) : base;
        return front + u'g' + u'D' + ending.mid(1);
    }
    if (e == u'D')
        return base + u'g' + ending;
    return base + u'k' + ending;
}

QString joinDental(const QString &base, QChar last, const QString &ending)
{
    const QChar e = ending.front();
    if (e == u's')
        return (last == u'D' ? throwBackAspiration(base) : base) + u't' + ending;
    if (last == u'D' || e == u'D')
        return base + u'd' + u'D' + ending.mid(1);
    return base + u't' + ending;
}

QString joinOther(const QString &base, QChar last, const QString &ending)
{
    const QChar e = ending.front();
    if (last == u's')
        return e == u'D' ? base + ending : base + u's' + ending;
    if (isPlainStopAt(last, Place::Labial)) {
        if (e == u's')
            return (last == u'B' ? throwBackAspiration(base) : base) + u'p' + ending;
        if (last == u'B' && (e == u't' || e == u'T'))
            return base + u'b' + u'D' + ending.mid(1);
        return base + (e == u'D' ? u'b' : u'p') + ending;
    }
    if ((last == u'n' || last == u'm') && e == u's')
        return base + u'M' + ending;
    if (last == u'r' && e == u's')
        return base + last + sAfter(last, ending);
    return base + last + ending;
}

// The j of mfj (mArzwi) goes as z; elsewhere j goes as g (yunakti).
bool jSoundsAsZ(const QString &stem)
{
    return stem.endsWith(QStringLiteral("fj")) || stem.endsWith(QStringLiteral("Arj"));
}

QString finalConsonant(const QString &stem)
{
    const QChar last = stem.back();
    const QString base = stem.chopped(1);
    if (last == u'h' && hIsVelar(stem))
        return throwBackAspiration(base) + u'k';
    if (isHushingSibilant(last) || last == u'h' || jSoundsAsZ(stem))
        return base + u'w';
    if (last == u's')
        return base + u't';
    const Sound sound = soundAt(last);
    if (placeOf(sound) == Place::Palatal)
        return meetsAsVelar(last) ? base + u'k' : stem;
    if (!isPlainStop(sound))
        return stem;
    return (isVoicedAspirate(last) ? throwBackAspiration(base) : base) + codeOf(stopAtEnd(sound));
}

} // namespace

static QString joinVowels(const QString &stem, const QString &ending);
static QString joinConsonants(const QString &stem, const QString &ending);

Outcome<QString> soundsFromItrans(QStringView itrans)
{
    Outcome<QString> sounds;
    ItransTokenizer tokenizer(itrans);
    for (ItransToken token; tokenizer.next(&token);) {
        const QString codes = token.isLetter() ? codesOfLetter(token.letter()) : QString();
        if (codes.isEmpty()) {
            const QStringView piece = itrans.mid(token.position, token.length);
            return {{},
                    QStringLiteral("\"%1\" in \"%2\" is not a letter of ITRANS")
                        .arg(piece.toString(), itrans.toString())};
        }
        sounds.value += codes;
    }
    return sounds;
}

// Every form goes out through here, so the spellings are looked up in a plain array by the
// sound's code rather than hashed, and the text reserved once.
QString itransFromSounds(QStringView sounds)
{
    static const std::array<QString, 128> spellings = [] {
        std::array<QString, 128> table;
        for (int s = 0; s < kSoundCount; ++s) {
            const Sound sound = static_cast<Sound>(s);
            table[codeOf(sound).unicode()] = QString::fromLatin1(letterOf(sound)->preferred());
        }
        return table;
    }();
    QString itrans;
    itrans.reserve(sounds.size() * 2);
    for (const QChar c : sounds) {
        if (c.unicode() < spellings.size())
            itrans += spellings[c.unicode()];
    }
    return itrans;
}

bool isVowel(QChar sound)
{
    const std::optional<Sound> known = soundOfCode(sound);
    return known && vantro::isVowel(*known);
}

bool isShortVowel(QChar sound)
{
    const std::optional<Sound> known = soundOfCode(sound);
    return known && vantro::isShortVowel(*known);
}

bool isConsonant(QChar sound)
{
    const std::optional<Sound> known = soundOfCode(sound);
    return known && vantro::isConsonant(*known);
}

bool followsConsonant(QStringView sounds, qsizetype index)
{
    return index > 0 && isConsonant(sounds[index - 1]);
}

QString guna(QChar vowel)
{
    const std::optional<Sound> sound = soundOfCode(vowel);
    return sound ? gunaCodes(*sound) : QString(vowel);
}

QString vrddhi(QChar vowel)
{
    const std::optional<Sound> sound = soundOfCode(vowel);
    return sound ? vrddhiCodes(*sound) : QString(vowel);
}

static QString gradeBeforeVowel(const QString &grade)
{
    return grade.size() == 1 ? diphthongBeforeVowel(grade.front()) : grade;
}

QString gunaBeforeVowel(QChar vowel)
{
    return gradeBeforeVowel(guna(vowel));
}

QString vrddhiBeforeVowel(QChar vowel)
{
    return gradeBeforeVowel(vrddhi(vowel));
}

QString gunaOfRoot(const QString &root)
{
    if (root.isEmpty())
        return root;
    if (isVowel(root.back()))
        return root.chopped(1) + guna(root.back());
    const qsizetype v = root.size() - 2;
    if (v >= 0 && root[v] != u'a' && isShortVowel(root[v]))
        return root.left(v) + guna(root[v]) + root.back();
    return root;
}

QString withAugment(const QString &stem)
{
    if (!stem.isEmpty() && isVowel(stem.front()))
        return vrddhi(stem.front()) + stem.mid(1);
    // A short vowel before ch doubles it with c ("acCinat").
    return stem.startsWith(u'C') ? QStringLiteral("ac") + stem : u'a' + stem;
}

QString attach(const QString &stem, const QString &ending)
{
    if (stem.isEmpty())
        return ending;
    if (isConsonant(stem.back()))
        return joinConsonants(stem, ending);
    if (ending.isEmpty())
        return stem;
    if (ending.size() > 1 && ending.front() == u's' && turnsSToSh(stem.back()))
        return stem + sAfter(stem.back(), ending);
    return joinVowels(stem, ending);
}

static QString joinVowels(const QString &stem, const QString &ending)
{
    if (!isVowel(ending.front()))
        return stem + ending;
    const QChar last = stem.back();
    const QString base = stem.chopped(1);
    if (last == u'o' || last == u'O')
        return base + QStringLiteral("av") + ending;
    if (last == u'e')
        return base + QStringLiteral("ay") + ending;
    if (last == u'A' && shortVowelOf(soundAt(ending.front())) == Sound::a)
        return stem + ending.mid(1);
    if (last == u'A' && ending.front() == u'u')
        return base + ending;
    if (last == u'A' && ending.front() == u'E')
        return base + ending;
    return stem + ending;
}

static QString joinConsonants(const QString &stem, const QString &ending)
{
    if (stem.isEmpty() || !isConsonant(stem.back()))
        return stem + ending;
    if (ending.isEmpty())
        return finalConsonant(stem);
    if (!changesFinalConsonant(ending.front()))
        return stem + ending;
    const QChar last = stem.back();
    const QString base = stem.chopped(1);
    if (stem.endsWith(QStringLiteral("kz")))
        return ending.front() == u's' ? stem + ending.mid(1)
                                      : joinCerebral(base.chopped(1), u'z', ending);
    if (isHushingSibilant(last) || last == u'Q' || jSoundsAsZ(stem) ||
        (last == u'h' && !hIsVelar(stem)))
        return joinCerebral(base, last, ending);
    if (meetsAsVelar(last) || last == u'h')
        return joinVelar(base, last, ending);
    if (isPlainStopAt(last, Place::Dental))
        return joinDental(base, last, ending);
    return joinOther(base, last, ending);
}

QString joinBeforeFutureS(const QString &stem, const QString &ending)
{
    if (stem.isEmpty())
        return ending;
    const QChar last = stem.back();
    if (isVowel(last))
        return stem + sAfter(last, ending);
    const QString base = stem.chopped(1);
    if (stem.endsWith(QStringLiteral("kz")))
        return stem + ending.mid(1);
    if (meetsAsVelar(last) || isHushingSibilant(last) || last == u'h')
        return (isVoicedAspirate(last) ? throwBackAspiration(base) : base) + u'k' +
               sAfter(u'k', ending);
    if (last == u's')
        return base + u't' + ending;
    if (last == u'r')
        return stem + sAfter(last, ending);
    return joinConsonants(stem, ending);
}

bool turnsSToSh(QChar before)
{
    const std::optional<Sound> sound = soundOfCode(before);
    return sound && vantro::turnsSToSh(*sound);
}

QString withS(const QString &stem)
{
    return stem + (!stem.isEmpty() && turnsSToSh(stem.back()) ? u'z' : u's');
}

QString retroflexS(const QString &word, qsizetype index)
{
    SoundString sounds = soundsOfCodes(word);
    vantro::retroflexS(sounds, int(index));
    QString out = word;
    if (sounds.at(int(index)) == Sound::Sh)
        out[index] = codeOf(Sound::Sh);
    return out;
}

bool retroflexReaches(QStringView word, qsizetype index)
{
    return vantro::retroflexReaches(soundsOfCodes(word), int(index));
}

QString retroflexN(const QString &word)
{
    const SoundString sounds = soundsOfCodes(word);
    QString out = word;
    for (qsizetype i = 0; i + 1 < out.size(); ++i) {
        if (vantro::retroflexReaches(sounds, int(i)))
            out[i] = u'R';
    }
    return out;
}

QString finishWord(const QString &word)
{
    QString out = retroflexN(word);
    for (qsizetype i = 0; i + 1 < out.size(); ++i) {
        const std::optional<Sound> next = soundOfCode(out[i + 1]);
        if (out[i] == u'M' && next && isPlainStop(*next))
            out[i] = codeOf(nasalOf(placeOf(*next)));
    }
    if (const auto last = out.isEmpty() ? std::nullopt : soundOfCode(out.back()))
        out.back() = codeOf(inPauseAtEnd(*last));
    return out;
}

} // namespace vantro::verbs
