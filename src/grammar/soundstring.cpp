// SPDX-License-Identifier: GPL-3.0-or-later
#include "soundstring.h"

#include "itranstoken.h"
#include "scheme.h"

#include <QHash>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <bitset>
#include <unordered_map>
#include <vector>

namespace vantro {

namespace {

using Sounds = QVarLengthArray<Sound, 2>;

// Measured once: every form the analyser indexes is written out through here.
QLatin1StringView spellingOf(Sound sound)
{
    static const std::array<QLatin1StringView, kSoundCount> spellings = [] {
        std::array<QLatin1StringView, kSoundCount> table;
        for (int s = 0; s < kSoundCount; ++s)
            table[size_t(s)] = QLatin1StringView(letterOf(static_cast<Sound>(s))->preferred());
        return table;
    }();
    return spellings[size_t(sound)];
}

// Every sound a spelling splits into, read longest first: "kSh" -> k Sh, "j~n" -> j ~n.
Sounds splitSpelling(QLatin1StringView spelling)
{
    Sounds sounds;
    while (!spelling.isEmpty()) {
        int best = -1, bestLength = 0;
        for (int s = 0; s < kSoundCount; ++s) {
            const QLatin1StringView candidate = spellingOf(static_cast<Sound>(s));
            if (candidate.size() > bestLength && spelling.startsWith(candidate))
                best = s, bestLength = int(candidate.size());
        }
        if (best < 0)
            return {};
        sounds.append(static_cast<Sound>(best));
        spelling = spelling.mid(bestLength);
    }
    return sounds;
}

// How the letters of the ITRANS table map to sounds, and which neighbours would be misread
// when written side by side: "a" + "i" reads as "ai", "k" + "h" as "kh", "d" "n" "y" as the
// conjunct "dny". Both are worked out from the table itself.
class SoundTable
{
public:
    static const SoundTable &instance()
    {
        static const SoundTable table;
        return table;
    }

    const Sounds *soundsOf(const Letter *letter) const
    {
        const auto found = m_byLetter.constFind(letter);
        return found == m_byLetter.constEnd() ? nullptr : &found.value();
    }

    bool needsSeparator(Sound first, Sound second, const Sound *third) const
    {
        if (m_pairs[index(first, second)])
            return true;
        return third &&
               std::find(m_triples.begin(), m_triples.end(),
                         index(first, second) * kSoundCount + int(*third)) != m_triples.end();
    }

private:
    SoundTable()
    {
        for (int s = 0; s < kSoundCount; ++s)
            m_byLetter.insert(letterOf(static_cast<Sound>(s)), {static_cast<Sound>(s)});
        for (const Letter *letter : Scheme::instance().letters()) {
            if (letter->letterClass == LetterClass::Conjunct)
                m_byLetter.insert(letter, splitSpelling(QLatin1StringView(letter->preferred())));
            for (const char *spelling : letter->itrans)
                if (spelling)
                    addMisreadTriples(QLatin1StringView(spelling));
        }
        for (int first = 0; first < kSoundCount; ++first)
            for (int second = 0; second < kSoundCount; ++second)
                m_pairs[index(first, second)] = mergesWhenJoined(first, second);
    }

    static int index(Sound first, Sound second) { return index(int(first), int(second)); }
    static int index(int first, int second) { return first * kSoundCount + second; }

    // A conjunct letter that stands for exactly the two sounds ("kSh", "j~n") reads back right.
    bool mergesWhenJoined(int first, int second) const
    {
        const Sound a = static_cast<Sound>(first), b = static_cast<Sound>(second);
        const QString joined = QString(spellingOf(a)) + spellingOf(b);
        const Spelling read = Scheme::instance().matchItrans(joined, false);
        if (read.length == spellingOf(a).size())
            return false;
        const Sounds *sounds = soundsOf(read.letter);
        return !(read.length == joined.size() && sounds && *sounds == Sounds{a, b});
    }

    // A spelling of three or more letters that three sounds' spellings make up exactly.
    void addMisreadTriples(QLatin1StringView spelling)
    {
        const Sounds sounds = splitSpelling(spelling);
        if (sounds.size() == 3)
            m_triples.push_back(index(sounds[0], sounds[1]) * kSoundCount + int(sounds[2]));
    }

    QHash<const Letter *, Sounds> m_byLetter;
    std::bitset<kSoundCount * kSoundCount> m_pairs;
    std::vector<int> m_triples;
};

} // namespace

SoundString::SoundString(const char *itrans)
{
    const Outcome<SoundString> read = fromItrans(QString::fromLatin1(itrans));
    Q_ASSERT_X(read.ok(), "SoundString", itrans);
    m_sounds = read.value.m_sounds;
}

Outcome<SoundString> SoundString::fromItrans(QStringView itrans)
{
    const SoundTable &table = SoundTable::instance();
    Outcome<SoundString> word;
    const auto notALetter = [itrans](const ItransToken &token) {
        return Outcome<SoundString>{
            {},
            QStringLiteral("\"%1\" in \"%2\" is not a letter of Sanskrit")
                .arg(itrans.mid(token.position, token.length).toString(), itrans.toString())};
    };
    ItransTokenizer tokenizer(itrans);
    for (ItransToken token; tokenizer.next(&token);) {
        if (token.kind == ItransToken::Kind::Separator)
            continue;
        if (!token.isLetter())
            return notALetter(token);
        if (token.letter()->letterClass == LetterClass::Virama)
            continue;
        const Sounds *sounds = table.soundsOf(token.letter());
        if (!sounds)
            return notALetter(token);
        for (const Sound sound : *sounds)
            word.value.append(sound);
    }
    return word;
}

QString SoundString::toItrans() const
{
    const SoundTable &table = SoundTable::instance();
    QString text;
    text.reserve(size() * 2);
    for (int i = 0; i < size(); ++i) {
        text += spellingOf(at(i));
        if (i + 1 < size()) {
            const Sound following = i + 2 < size() ? at(i + 2) : Sound::a;
            if (table.needsSeparator(at(i), at(i + 1), i + 2 < size() ? &following : nullptr))
                text += u'_';
        }
    }
    return text;
}

Sound SoundString::last(int back) const
{
    return back <= size() ? at(size() - back) : Sound::a;
}

bool SoundString::endsWith(const SoundString &tail) const
{
    return tail.size() <= size() && m_sounds.compare(m_sounds.size() - tail.m_sounds.size(),
                                                     std::string::npos, tail.m_sounds) == 0;
}

const SoundString &SoundString::literal(const char *itrans)
{
    // A map whose entries stay where they are as it grows: a caller keeps the reference while
    // the rule it passes it to reads further literals.
    thread_local std::unordered_map<const char *, SoundString> read;
    auto found = read.find(itrans);
    if (found == read.end())
        found = read.emplace(itrans, SoundString(itrans)).first;
    return found->second;
}

bool SoundString::startsWith(const SoundString &head) const
{
    return m_sounds.compare(0, head.m_sounds.size(), head.m_sounds) == 0;
}

bool SoundString::startsWith(const char *literal) const
{
    return startsWith(SoundString::literal(literal));
}

int SoundString::indexOf(Sound sound, int from) const
{
    const std::size_t found = m_sounds.find(char(sound), std::size_t(std::max(0, from)));
    return found == std::string::npos ? -1 : int(found);
}

int SoundString::indexOf(const SoundString &piece, int from) const
{
    const std::size_t found = m_sounds.find(piece.m_sounds, std::size_t(std::max(0, from)));
    return found == std::string::npos ? -1 : int(found);
}

bool SoundString::endsWith(const char *literal) const
{
    return endsWith(SoundString::literal(literal));
}

bool SoundString::endsWithOneOf(std::initializer_list<const char *> tails) const
{
    return std::any_of(tails.begin(), tails.end(),
                       [this](const char *tail) { return endsWith(tail); });
}

bool SoundString::isOneOf(std::initializer_list<const char *> words) const
{
    return std::any_of(words.begin(), words.end(),
                       [this](const char *word) { return *this == literal(word); });
}

SoundString SoundString::left(int count) const
{
    SoundString part;
    part.m_sounds = m_sounds.substr(0, std::size_t(std::max(0, count)));
    return part;
}

SoundString SoundString::mid(int from) const
{
    SoundString part;
    if (from < size())
        part.m_sounds = m_sounds.substr(std::size_t(std::max(0, from)));
    return part;
}

SoundString SoundString::mid(int from, int count) const
{
    SoundString part;
    if (from < size() && count > 0)
        part.m_sounds = m_sounds.substr(std::size_t(std::max(0, from)), std::size_t(count));
    return part;
}

SoundString &SoundString::replace(int from, int count, const SoundString &with)
{
    m_sounds.replace(std::size_t(from), std::size_t(count), with.m_sounds);
    return *this;
}

SoundString &SoundString::replaceAll(const SoundString &before, const SoundString &after)
{
    if (before.isEmpty())
        return *this;
    for (std::size_t at = m_sounds.find(before.m_sounds); at != std::string::npos;
         at = m_sounds.find(before.m_sounds, at + after.m_sounds.size()))
        m_sounds.replace(at, before.m_sounds.size(), after.m_sounds);
    return *this;
}

int SoundString::syllableCount() const
{
    return int(std::count_if(m_sounds.begin(), m_sounds.end(),
                             [](char c) { return isVowel(static_cast<Sound>(c)); }));
}

SoundString &SoundString::append(Sound sound)
{
    m_sounds.push_back(char(sound));
    return *this;
}

SoundString &SoundString::append(const SoundString &other)
{
    m_sounds += other.m_sounds;
    return *this;
}

void removeDuplicates(SoundStrings &words)
{
    SoundStrings once;
    once.reserve(words.size());
    for (const SoundString &word : std::as_const(words))
        if (!once.contains(word))
            once.append(word);
    words = once;
}

void SoundString::insert(int index, Sound sound)
{
    m_sounds.insert(m_sounds.begin() + index, char(sound));
}

} // namespace vantro
