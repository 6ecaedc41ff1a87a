// SPDX-License-Identifier: GPL-3.0-or-later
#include "analyser.h"

#include "analyserdata.h"
#include "soundclasses.h"
#include "tablerows.h"
#include "verbphonology.h"
#include "verbprefixes.h"

#include <QCoreApplication>
#include <QDir>
#include <QSet>

#include <algorithm>
#include <array>
#include <optional>
#include <tuple>

namespace vantro {

namespace {

SoundString sounds(QStringView itrans)
{
    return SoundString::fromItrans(itrans).value;
}

struct EndingRule
{
    SoundString written;
    SoundString pausal;
    // After a or A, the only words the ending stands for (the r of punar, not the visarga of
    // kAH or rAmaH); none listed: any.
    SoundStrings onlyAfterA;
};

const QList<EndingRule> &wordEndingRules()
{
    static const QList<EndingRule> rules = [] {
        QList<EndingRule> list;
        for (const QStringList &row : tableRows(kWordEndingsTsv)) {
            SoundStrings onlyAfterA;
            for (const QString &word : row.value(3).split(u' ', Qt::SkipEmptyParts))
                onlyAfterA.append(sounds(word));
            list.append({sounds(row.value(0)), sounds(row.value(1)), onlyAfterA});
        }
        return list;
    }();
    return rules;
}

struct SplitRule
{
    SoundString written;
    SoundString firstEnd; // empty where the first word ends as written
    SoundString second;
    bool afterAnyEnd; // chit, chana: after a vowel too
};

const QList<SplitRule> &sandhiSplitRules()
{
    static const QList<SplitRule> rules = [] {
        QList<SplitRule> list;
        for (const QStringList &row : tableRows(kSandhiSplitsTsv))
            list.append({sounds(row.value(0)),
                         row.value(1) == u"-" ? SoundString() : sounds(row.value(1)),
                         sounds(row.value(2)), row.value(3) == u"always"});
        return list;
    }();
    return rules;
}

struct PrefixChain
{
    QString itrans; // "prati-A-"
    SoundStrings prefixes;
};

const QList<PrefixChain> &prefixChains()
{
    static const QList<PrefixChain> chains = [] {
        QList<PrefixChain> list;
        for (const QString &chain : verbs::commonPrefixChains()) {
            const SoundStrings prefixes =
                verbs::splitPrefixes(chain + QStringLiteral("gam")).value.prefixes;
            if (!prefixes.isEmpty())
                list.append({chain, prefixes});
        }
        return list;
    }();
    return chains;
}

bool sameReading(const WordReading &a, const WordReading &b)
{
    return a.kind == b.kind && a.lemma == b.lemma && a.gender == b.gender &&
           a.grammaticalCase == b.grammaticalCase && a.number == b.number &&
           a.verbClass == b.verbClass && a.pada == b.pada && a.tense == b.tense &&
           a.person == b.person && a.passive == b.passive && a.causative == b.causative &&
           a.desiderative == b.desiderative && a.participleKind == b.participleKind &&
           a.pausalForm == b.pausalForm;
}

// The dictionary's words before the built-in ones; a word read as written before one read
// through sandhi; otherwise the order the generators gave.
void rank(QList<WordReading> *readings)
{
    const auto order = [](const WordReading &r) {
        const bool vocative = (r.kind == ReadingKind::Noun || r.kind == ReadingKind::Participle) &&
                              r.grammaticalCase == GrammaticalCase::Vocative;
        return std::make_tuple(r.englishKeys.isEmpty(), !r.pausalForm.isEmpty(),
                               r.kind == ReadingKind::Participle, vocative);
    };
    std::stable_sort(
        readings->begin(), readings->end(),
        [&](const WordReading &a, const WordReading &b) { return order(a) < order(b); });
    QList<WordReading> unique;
    for (const WordReading &reading : *readings)
        if (std::none_of(unique.begin(), unique.end(),
                         [&](const WordReading &kept) { return sameReading(kept, reading); }))
            unique.append(reading);
    *readings = unique;
}

void setPausal(QList<WordReading> *readings, const SoundString &pausalSounds)
{
    const QString pausal = pausalSounds.toItrans();
    for (WordReading &reading : *readings)
        if (reading.pausalForm.isEmpty())
            reading.pausalForm = pausal;
}

// Words are written together only where sandhi joins them: after a final consonant (tach cha,
// ahamekadA), not after a vowel or a visarga, which keep their space (rAme na, punaH punaH).
bool joinsWithNext(const SoundString &sounds)
{
    return !sounds.isEmpty() && !isVowel(sounds.back()) && sounds.back() != Sound::H;
}

// The sounds a slip of the pen may add or put for another, in the order they are tried.
constexpr Sound kAlphabet[] = {
    Sound::a,  Sound::A,  Sound::i,  Sound::I,  Sound::u,  Sound::U,  Sound::Ri, Sound::RI,
    Sound::e,  Sound::ai, Sound::o,  Sound::au, Sound::M,  Sound::H,  Sound::k,  Sound::kh,
    Sound::g,  Sound::gh, Sound::ng, Sound::ch, Sound::Ch, Sound::j,  Sound::jh, Sound::ny,
    Sound::T,  Sound::Th, Sound::D,  Sound::Dh, Sound::N,  Sound::t,  Sound::th, Sound::d,
    Sound::dh, Sound::n,  Sound::p,  Sound::ph, Sound::b,  Sound::bh, Sound::m,  Sound::y,
    Sound::r,  Sound::l,  Sound::v,  Sound::sh, Sound::Sh, Sound::s,  Sound::h};

} // namespace

Analyser::Analyser() : Analyser(builtIn()) {}

const Analyser &Analyser::builtIn()
{
    static const Analyser made{BuiltInOnly{}};
    return made;
}

Analyser::Analyser(BuiltInOnly) : m_lexicon(Lexicon::builtIn())
{
    for (const QString &path : builtInFormsFiles()) {
        if (Outcome<FormIndex> read = FormIndex::readFrom(path, m_lexicon); read.ok()) {
            m_index = std::move(read.value);
            m_index.share();
            return;
        }
    }
    m_index = FormIndex::madeFor(m_lexicon);
    m_index.share();
}

Outcome<void> Analyser::writeBuiltInForms(const QString &path)
{
    const Lexicon lexicon = Lexicon::builtIn();
    return FormIndex::madeFor(lexicon).writeTo(path, lexicon);
}

QStringList Analyser::builtInFormsFiles()
{
    QStringList files;
    if (QCoreApplication::instance())
        files.append(QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                     QStringLiteral("/../share/vantro/" VANTRO_FORMS_FILE_NAME)));
    files.append(QStringLiteral(VANTRO_BUILT_FORMS_FILE));
    return files;
}

void Analyser::addRecords(const QList<MeaningRecord> &records,
                          const std::function<bool(int, int)> &progress)
{
    const int total = int(records.size());
    for (int done = 0; done < total; ++done) {
        const MeaningRecord &record = records.at(done);
        for (const int entry : m_lexicon.addMeaning(record.first, record.second)) {
            m_index.addEntry(m_lexicon, entry);
            addCompoundMember(entry);
        }
        if (progress && done % 500 == 0 && !progress(done, total))
            break;
    }
    m_index.finish();
    if (progress)
        progress(total, total);
}

void Analyser::replaceRecord(const QString &englishKey, const QString &meaning)
{
    m_lexicon.removeMeaning(englishKey);
    for (const int entry : m_lexicon.addMeaning(englishKey, meaning)) {
        m_index.addEntry(m_lexicon, entry);
        addCompoundMember(entry);
    }
}

void Analyser::addCompoundMember(int entry)
{
    const LexiconEntry &stem = m_lexicon.entry(entry);
    if (stem.kind != ReadingKind::Noun)
        return;
    SoundString member = sounds(stem.lemma);
    // A stem in -an or -in loses its n before the next member (karma-phala, hasti-pada); one in
    // a vowel stands as it is (vR^iddha-, nadI-); the others change in ways not read here
    // (manaH-, mano-).
    if (member.endsWith("an") || member.endsWith("in"))
        member.chop(1);
    if (member.size() >= 2 && isVowel(member.back()) &&
        !m_compoundMembers.value(member).contains(entry))
        m_compoundMembers[member].append(entry);
}

void Analyser::removeRecord(const QString &englishKey)
{
    m_lexicon.removeMeaning(englishKey);
}

WordReading Analyser::readingOf(const FormIndex::Posting &posting) const
{
    const LexiconEntry &entry = m_lexicon.entry(posting.entry);
    const FormCell &cell = posting.cell;
    WordReading reading;
    reading.kind = ReadingKind(cell.kind);
    reading.lemma = entry.lemma;
    reading.gender = Gender(cell.gender);
    reading.grammaticalCase = GrammaticalCase(cell.grammaticalCase);
    reading.number = GrammaticalNumber(cell.number);
    reading.verbClass = entry.verbClass;
    reading.passive = cell.flags & FormCell::kPassive;
    reading.causative = cell.flags & FormCell::kCausative;
    reading.desiderative = cell.flags & FormCell::kDesiderative;
    // A causative or desiderative has the pada of its own ending, not the root's.
    const bool derived = reading.causative || reading.desiderative;
    reading.pada = reading.passive || (derived && (cell.flags & FormCell::kAtmanepada))
                       ? Pada::Atmanepada
                   : derived ? Pada::Parasmaipada
                             : entry.pada;
    reading.tense = Tense(cell.tense);
    reading.person = Person(cell.person);
    if (reading.kind == ReadingKind::Participle) {
        reading.participleKind = participleKindNames().value(cell.participleKind);
        reading.participleKind.remove(QStringLiteral(" participle"));
    }
    reading.source = entry.inDictionary() ? WordSource::Dictionary : WordSource::BuiltIn;
    reading.englishKeys = entry.englishKeys;
    return reading;
}

QList<WordReading> Analyser::readAsWritten(const SoundString &sounds) const
{
    QList<WordReading> readings;
    for (const FormIndex::Posting &posting : m_index.find(formKeyOfSounds(sounds)))
        if (m_lexicon.entry(posting.entry).isLive() &&
            !(posting.cell.flags & FormCell::kAfterPrefix))
            readings.append(readingOf(posting));
    for (WordReading &reading : readings)
        reading.form = sounds.toItrans();
    return readings + readWithPrefixes(sounds);
}

// A root of the table with prefixes before it (AgachChati, upaiti, saMgachChate): the form
// after a prefix's length is looked up, with the vowel a prefix may have merged with, and kept
// when the prefixes joined to it give the word back.
QList<WordReading> Analyser::readWithPrefixes(const SoundString &word) const
{
    QList<WordReading> readings;
    const QString key = formKeyOfSounds(word);
    for (int at = 1; at + 2 <= word.size(); ++at) {
        SoundStrings rests = {word.mid(at)};
        // ud drops the s of sthA and stambh (utthita, uttambhita): the rest is looked up with it.
        if (word.at(at - 1) == Sound::t && (word.at(at) == Sound::t || word.at(at) == Sound::th))
            rests.append(Sound::s + word.mid(at));
        // The vowels a prefix's final a, i or u may have merged into: a, A, i, I, u, U, e, o.
        static const SoundString mergedVowels = [] {
            SoundString vowels;
            for (int s = 0; s < kSoundCount; ++s) {
                const Sound vowel = static_cast<Sound>(s);
                if (isVowel(vowel) && !verbs::isVocalicLiquid(vowel) &&
                    !verbs::isVrddhiDiphthong(vowel))
                    vowels.append(vowel);
            }
            return vowels;
        }();
        if (isVowel(word.at(at)))
            for (int v = 0; v < mergedVowels.size(); ++v)
                if (mergedVowels.at(v) != word.at(at))
                    rests.append(mergedVowels.at(v) + word.mid(at + 1));
        for (const SoundString &rest : rests) {
            for (const FormIndex::Posting &posting : m_index.find(formKeyOfSounds(rest))) {
                const LexiconEntry &entry = m_lexicon.entry(posting.entry);
                const bool madeFromRoot = posting.cell.kind != quint8(ReadingKind::Noun) &&
                                          posting.cell.kind != quint8(ReadingKind::Indeclinable);
                if (!madeFromRoot || !entry.isLive() || entry.lemma.contains(u'-'))
                    continue;
                // The gerund in -tvA takes no prefix; the one in -ya is its form after one.
                if (posting.cell.kind == quint8(ReadingKind::Gerund) &&
                    !(posting.cell.flags & FormCell::kAfterPrefix))
                    continue;
                const SoundString rootSounds = SoundString::fromItrans(entry.lemma).value;
                for (const PrefixChain &chain : prefixChains()) {
                    if (chain.prefixes.first().front() != word.front())
                        continue;
                    if (formKeyOfSounds(verbs::withPrefixes(chain.prefixes, rootSounds, rest)) !=
                        key)
                        continue;
                    WordReading reading = readingOf(posting);
                    reading.lemma = chain.itrans + entry.lemma;
                    reading.form = word.toItrans();
                    readings.append(reading);
                }
            }
        }
    }
    return readings;
}

QList<WordReading> Analyser::readWithSandhi(const SoundString &word) const
{
    QList<WordReading> readings = readAsWritten(word);
    const QString key = formKeyOfSounds(word);
    for (const EndingRule &rule : wordEndingRules()) {
        if (word.size() <= rule.written.size() || !word.endsWith(rule.written))
            continue;
        const SoundString pausal = word.chopped(rule.written.size()) + rule.pausal;
        if (formKeyOfSounds(pausal) == key) // "ahaM" is aham as written already
            continue;
        QList<WordReading> found = readAsWritten(pausal);
        // The vocative of a stem in R^i ends in r too (pitar atra).
        if (!rule.onlyAfterA.isEmpty() && pausal.size() >= 2 &&
            (pausal.last(2) == Sound::a || pausal.last(2) == Sound::A) &&
            !rule.onlyAfterA.contains(pausal))
            found.removeIf([](const WordReading &r) {
                return !(r.kind == ReadingKind::Noun && r.lemma.endsWith(QStringLiteral("R^i")) &&
                         r.grammaticalCase == GrammaticalCase::Vocative);
            });
        setPausal(&found, pausal);
        readings += found;
    }
    return readings;
}

QList<WordReading> Analyser::readAsTwoWords(const SoundString &word) const
{
    for (const SplitRule &rule : sandhiSplitRules()) {
        if (word.size() <= rule.written.size() || !word.endsWith(rule.written))
            continue;
        const SoundString first = word.chopped(rule.written.size()) + rule.firstEnd;
        if (rule.firstEnd.isEmpty() && !rule.afterAnyEnd && !joinsWithNext(first))
            continue;
        QList<WordReading> readings = readWithSandhi(first);
        QList<WordReading> second = readAsWritten(rule.second);
        if (readings.isEmpty() || second.isEmpty())
            continue;
        setPausal(&readings, first);
        setPausal(&second, rule.second);
        return readings + second;
    }
    return {};
}

namespace {

// The vowels two vowels of neighbouring words become (Macdonell's rules read backwards): the
// first word's last vowel and the second's first.
using VowelPairs = QList<QPair<Sound, Sound>>;
const VowelPairs &mergedVowels(Sound merged)
{
    static const std::array<VowelPairs, kSoundCount> table = [] {
        std::array<VowelPairs, kSoundCount> map;
        const auto both = [&](Sound merged, std::initializer_list<Sound> firsts,
                              std::initializer_list<Sound> seconds) {
            for (const Sound first : firsts)
                for (const Sound second : seconds)
                    map[std::size_t(merged)].append({first, second});
        };
        both(Sound::A, {Sound::a, Sound::A}, {Sound::a, Sound::A});
        both(Sound::I, {Sound::i, Sound::I}, {Sound::i, Sound::I});
        both(Sound::U, {Sound::u, Sound::U}, {Sound::u, Sound::U});
        both(Sound::e, {Sound::a, Sound::A}, {Sound::i, Sound::I});
        both(Sound::o, {Sound::a, Sound::A}, {Sound::u, Sound::U});
        both(Sound::ai, {Sound::a, Sound::A}, {Sound::e, Sound::ai});
        both(Sound::au, {Sound::a, Sound::A}, {Sound::o, Sound::au});
        return map;
    }();
    return table[std::size_t(merged)];
}

constexpr int kShortestJoinedWord = 2;
constexpr int kMostJoinedWords = 8;

// Finds a way to read sounds[from...] as words, each through the sandhi of its end; `first`
// stands in for the sound at `from` when the junction before it changed it (a vowel merged
// into the one before, the sh that t + sh writes as Ch).
class JoinedWordsReader
{
public:
    using Reader = std::function<QList<WordReading>(const SoundString &)>;
    // readWord reads a word through the sandhi of its end; readAsWritten only as it stands, for
    // a word whose last vowel merged with the next word's first (the vowel a sandhi change left
    // before a vowel, vana for vane, is never merged again).
    JoinedWordsReader(const SoundString &sounds, Reader readWord, Reader readAsWritten)
        : m_sounds(sounds), m_readWord(std::move(readWord)),
          m_readAsWritten(std::move(readAsWritten))
    {
    }

    QList<WordReading> read(int from, std::optional<Sound> first, int words)
    {
        if (from == m_sounds.size())
            return {};
        if (words >= kMostJoinedWords)
            return {};
        const QPair<int, int> key{from, first ? int(*first) : -1};
        if (const auto known = m_memo.constFind(key); known != m_memo.cend())
            return *known;
        QList<WordReading> found;
        for (int end = int(m_sounds.size()); end - from >= kShortestJoinedWord && found.isEmpty();
             --end)
            found = readFrom(from, first, end, words);
        m_memo.insert(key, found);
        return found;
    }

private:
    SoundString piece(int from, std::optional<Sound> first, int end) const
    {
        SoundString text = m_sounds.mid(from, end - from);
        if (first)
            text.set(0, *first);
        return text;
    }

    QList<WordReading> withRest(const SoundString &word, QList<WordReading> rest, int restFrom,
                                bool merged = false) const
    {
        if (rest.isEmpty() && restFrom < m_sounds.size())
            return {};
        QList<WordReading> readings = merged ? m_readAsWritten(word) : m_readWord(word);
        if (readings.isEmpty())
            return {};
        setPausal(&readings, word);
        return readings + rest;
    }

    QList<WordReading> readFrom(int from, std::optional<Sound> first, int end, int words)
    {
        const SoundString word = piece(from, first, end);
        const bool last = end == m_sounds.size();
        // The words meet as written (ahamekadA, tannirUpayAmi: the first read through its end);
        // t + sh is written chCh (kenachichChR^igAlena).
        const std::optional<Sound> next =
            !last && word.endsWith(Sound::ch) && m_sounds.at(end) == Sound::Ch
                ? std::optional<Sound>(Sound::sh)
                : std::nullopt;
        QList<WordReading> readings;
        if (last)
            readings = withRest(word, {}, end);
        else if (joinsWithNext(word))
            readings = withRest(word, read(end, next, words + 1), end);
        if (!readings.isEmpty() || m_sounds.size() - end + 1 < kShortestJoinedWord || last)
            return readings;
        // Two vowels became one (bhAgyenaitat: bhAgyena etat; yatrAste: yatra Aste or aste).
        for (const auto &[own, following] : mergedVowels(m_sounds.at(end - 1)))
            readings +=
                withRest(word.chopped(1) + own, read(end - 1, following, words + 1), end - 1, true);
        return readings;
    }

    SoundString m_sounds;
    Reader m_readWord;
    Reader m_readAsWritten;
    QHash<QPair<int, int>, QList<WordReading>> m_memo;
};

} // namespace

QList<WordReading> Analyser::readAsJoinedWords(const SoundString &sounds, bool compounds) const
{
    // A piece may itself be a word with chit or cha written onto it (kenachit), and where asked,
    // a compound.
    JoinedWordsReader reader(
        sounds,
        [this, compounds](const SoundString &word) {
            QList<WordReading> readings = readWithSandhi(word);
            if (readings.isEmpty())
                readings = readAsTwoWords(word);
            return readings.isEmpty() && compounds ? readAsCompound(word) : readings;
        },
        [this](const SoundString &word) { return readAsWritten(word); });
    return reader.read(0, std::nullopt, 0);
}

// A compound the dictionary does not hold, read from its members: each but the last a noun stem
// of the dictionary in a vowel as it stands, the last a declined form of one, the members meeting
// as written (vR^iddha-vyAghraH) or with their vowels merged (dakShiNa-araNye: dakShiNAraNye).
// It is read as one noun: the stem as written with the last member's, the last member's gender,
// case and number, the members' English keys joined by "+".
QList<WordReading> Analyser::readAsCompound(const SoundString &word) const
{
    QList<WordReading> readings;
    if (!m_compoundMembers.isEmpty())
        readCompoundFrom(word, 0, std::nullopt, {}, &readings);
    return readings;
}

namespace {

constexpr int kMostCompoundMembers = 4;

// The stem or pausal form of a compound: what is written before its last member, then the last
// member's own, whose first sound stands for the merged vowel written where it begins.
QString compoundPart(const SoundString &written, int lastFrom, bool merged, const QString &lastOwn)
{
    const SoundString own = sounds(lastOwn);
    return own.isEmpty()
               ? QString()
               : (written.left(lastFrom) + (merged ? written.at(lastFrom) + own.mid(1) : own))
                     .toItrans();
}

} // namespace

void Analyser::readCompoundFrom(const SoundString &word, int from, std::optional<Sound> first,
                                const QStringList &memberKeys, QList<WordReading> *readings) const
{
    const auto pieceOf = [&](int end) {
        SoundString piece = word.mid(from, end - from);
        if (first)
            piece.set(0, *first);
        return piece;
    };
    for (int end = from + 2; end + 2 <= word.size(); ++end) {
        // The member as written before a consonant, or its last vowel merged with the next's.
        QList<std::tuple<SoundString, int, std::optional<Sound>>> splits;
        if (isVowel(word.at(end - 1)) && !isVowel(word.at(end)))
            splits.append({pieceOf(end), end, std::nullopt});
        for (const auto &[own, following] : mergedVowels(word.at(end - 1)))
            if (end - 1 - from >= 2)
                splits.append({pieceOf(end - 1) + own, end - 1, following});
        for (const auto &[member, restFrom, restFirst] : splits) {
            QStringList keys;
            for (const int entry : m_compoundMembers.value(member))
                if (m_lexicon.entry(entry).inDictionary() && keys.isEmpty())
                    keys = memberKeys + QStringList{m_lexicon.entry(entry).englishKeys.first()};
            if (keys.isEmpty())
                continue;
            SoundString last = word.mid(restFrom);
            if (restFirst)
                last.set(0, *restFirst);
            for (const WordReading &final : readWithSandhi(last)) {
                if (final.kind != ReadingKind::Noun || final.englishKeys.isEmpty())
                    continue;
                WordReading reading = final;
                const bool merged = restFirst.has_value();
                reading.lemma = compoundPart(word, restFrom, merged, final.lemma);
                reading.englishKeys = {
                    (keys + QStringList{final.englishKeys.first()}).join(QStringLiteral(" + "))};
                if (!final.pausalForm.isEmpty())
                    reading.pausalForm = compoundPart(word, restFrom, merged, final.pausalForm);
                if (!reading.lemma.isEmpty())
                    readings->append(reading);
            }
            if (keys.size() + 1 < kMostCompoundMembers)
                readCompoundFrom(word, restFrom, restFirst, keys, readings);
        }
    }
}

QList<WordReading> Analyser::analyse(QStringView written) const
{
    QString word = written.toString();
    // n before l is written as a nasal l (etAvA.Nl lobhaH).
    word.replace(QStringLiteral(".Nl"), QStringLiteral("nl"));
    // The avagraha stands for an a that the e or o before it swallowed (so.api: saH api).
    word.replace(u'\'', QStringLiteral(".a"));
    const qsizetype avagraha = word.indexOf(QStringLiteral(".a"));
    if (avagraha == 0)
        return analyse(QString(word.mid(2)).prepend(u'a'));
    if (avagraha > 0) {
        const QString firstWord = word.left(avagraha);
        const QString secondWord = QString(word.mid(avagraha + 2)).prepend(u'a');
        QList<WordReading> first = analyse(firstWord);
        QList<WordReading> second = analyse(secondWord);
        setPausal(&first, sounds(firstWord));
        setPausal(&second, sounds(secondWord));
        return first.isEmpty() || second.isEmpty() ? QList<WordReading>() : first + second;
    }
    const SoundString wordSounds = sounds(word);
    if (wordSounds.isEmpty())
        return {};
    QList<WordReading> readings = readWithSandhi(wordSounds);
    if (readings.isEmpty())
        readings = readAsTwoWords(wordSounds);
    if (readings.isEmpty())
        readings = readAsCompound(wordSounds);
    // Words without compounds first: a compound's freedom to split would otherwise take a word
    // and the start of the next for one (jIrNAnyanyAni: jIrNAni anyAni, not jIrNAnyat yAni).
    if (readings.isEmpty())
        readings = readAsJoinedWords(wordSounds, false);
    if (readings.isEmpty())
        readings = readAsJoinedWords(wordSounds, true);
    rank(&readings);
    return readings;
}

QStringList Analyser::suggestions(QStringView written, int most) const
{
    const SoundString word = sounds(written);
    if (word.isEmpty())
        return {};
    // The likeliest slips first: a vowel's length, a final visarga or anusvara.
    SoundStrings candidates;
    for (int at = 0; at < word.size(); ++at) {
        const Sound sound = word.at(at);
        if (verbs::isHighVowel(sound) || verbs::sameVowelQuality(sound, Sound::a))
            candidates.append(
                SoundString(word).replace(at, 1, SoundString(verbs::otherLength(sound))));
    }
    candidates += {word + Sound::H, word + Sound::M, word + Sound::m};
    for (int at = 0; at <= word.size(); ++at) {
        if (at < word.size()) {
            SoundString shorter = word;
            shorter.remove(at);
            candidates.append(shorter);
        }
        for (const Sound sound : kAlphabet) {
            SoundString longer = word;
            longer.insert(at, sound);
            candidates.append(longer);
            if (at < word.size() && sound != word.at(at))
                candidates.append(SoundString(word).replace(at, 1, SoundString(sound)));
        }
    }
    QStringList own, builtIn;
    QSet<SoundString> seen;
    for (const SoundString &candidate : std::as_const(candidates)) {
        if (candidate.isEmpty() || seen.contains(candidate))
            continue;
        seen.insert(candidate);
        const QList<WordReading> readings = readWithSandhi(candidate);
        if (readings.isEmpty())
            continue;
        const QString shown = candidate.toItrans();
        (readings.first().englishKeys.isEmpty() ? builtIn : own).append(shown);
        if (own.size() >= most)
            break;
    }
    return (own + builtIn).mid(0, most);
}

QStringList readingFields(const WordReading &r)
{
    switch (r.kind) {
    case ReadingKind::Noun:
        return {QStringLiteral("noun"), r.lemma, genderLetter(r.gender),
                caseName(r.grammaticalCase), numberName(r.number)};
    case ReadingKind::Verb: {
        QStringList fields = {QStringLiteral("verb"),
                              r.lemma,
                              QString::number(r.verbClass),
                              r.pada == Pada::Atmanepada ? QStringLiteral("A")
                                                         : QStringLiteral("P"),
                              tenseName(r.tense),
                              personName(r.person),
                              numberName(r.number)};
        if (r.causative)
            fields.append(QStringLiteral("causative"));
        if (r.desiderative)
            fields.append(QStringLiteral("desiderative"));
        if (r.passive)
            fields.append(QStringLiteral("passive"));
        return fields;
    }
    case ReadingKind::Participle:
        return {QStringLiteral("participle"), r.lemma,
                QString::number(r.verbClass), r.participleKind,
                genderLetter(r.gender),       caseName(r.grammaticalCase),
                numberName(r.number)};
    case ReadingKind::Gerund:
    case ReadingKind::Infinitive: {
        QStringList fields = {r.kind == ReadingKind::Gerund ? QStringLiteral("gerund")
                                                            : QStringLiteral("infinitive"),
                              r.lemma, QString::number(r.verbClass)};
        if (r.causative)
            fields.append(QStringLiteral("causative"));
        return fields;
    }
    case ReadingKind::Indeclinable:
        break;
    }
    return {QStringLiteral("indeclinable")};
}

QString readingSummary(const WordReading &r)
{
    QString text;
    switch (r.kind) {
    case ReadingKind::Noun:
        text = QStringLiteral("%1 %2., %3 %4")
                   .arg(r.lemma, genderLetter(r.gender), caseName(r.grammaticalCase),
                        numberName(r.number));
        break;
    case ReadingKind::Verb:
        text = QStringLiteral("%1 %2 %3, %4 %5 %6%7")
                   .arg(r.lemma, QString::number(r.verbClass),
                        r.pada == Pada::Atmanepada ? QStringLiteral("A") : QStringLiteral("P"),
                        tenseName(r.tense), personName(r.person), numberName(r.number),
                        QString(r.causative ? QStringLiteral(", causative") : QString()) +
                            (r.desiderative ? QStringLiteral(", desiderative") : QString()) +
                            (r.passive ? QStringLiteral(", passive") : QString()));
        break;
    case ReadingKind::Participle:
        text = QStringLiteral("%1, %2 participle, %3., %4 %5")
                   .arg(r.lemma, r.participleKind, genderLetter(r.gender),
                        caseName(r.grammaticalCase), numberName(r.number));
        break;
    case ReadingKind::Gerund:
    case ReadingKind::Infinitive:
        text = QStringLiteral("%1, %2%3")
                   .arg(r.lemma, r.causative ? QStringLiteral("causative ") : QString(),
                        r.kind == ReadingKind::Gerund ? QStringLiteral("gerund")
                                                      : QStringLiteral("infinitive"));
        break;
    case ReadingKind::Indeclinable:
        text = QStringLiteral("%1, indeclinable").arg(r.lemma);
        break;
    }
    if (!r.pausalForm.isEmpty())
        text = QStringLiteral("(%1) %2").arg(r.pausalForm, text);
    if (!r.englishKeys.isEmpty())
        text += QStringLiteral(": ") + r.englishKeys.join(QStringLiteral(", "));
    return text;
}

QString genderLetter(Gender gender)
{
    return gender == Gender::Masculine  ? QStringLiteral("m")
           : gender == Gender::Feminine ? QStringLiteral("f")
                                        : QStringLiteral("n");
}

QString caseName(GrammaticalCase grammaticalCase)
{
    static const QStringList names = {"nominative", "accusative", "instrumental", "dative",
                                      "ablative",   "genitive",   "locative",     "vocative"};
    return names.value(int(grammaticalCase));
}

QString numberName(GrammaticalNumber number)
{
    static const QStringList names = {"singular", "dual", "plural"};
    return names.value(int(number));
}

QString personName(Person person)
{
    static const QStringList names = {"third", "second", "first"};
    return names.value(int(person));
}

} // namespace vantro
