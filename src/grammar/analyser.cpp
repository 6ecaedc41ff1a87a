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
#include <tuple>

namespace vantro {

namespace {

QString sounds(QStringView itrans)
{
    return verbs::soundsFromItrans(itrans).value;
}

struct EndingRule
{
    QString written; // sounds
    QString pausal;
    // After a or A, the only words the ending stands for (the r of punar, not the visarga of
    // kAH or rAmaH); none listed: any.
    QStringList onlyAfterA; // sounds
};

const QList<EndingRule> &wordEndingRules()
{
    static const QList<EndingRule> rules = [] {
        QList<EndingRule> list;
        for (const QStringList &row : tableRows(kWordEndingsTsv)) {
            QStringList onlyAfterA;
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
    QString written;  // sounds
    QString firstEnd; // sounds; empty where the first word ends as written
    QString second;   // sounds
    bool afterAnyEnd; // chit, chana: after a vowel too
};

const QList<SplitRule> &sandhiSplitRules()
{
    static const QList<SplitRule> rules = [] {
        QList<SplitRule> list;
        for (const QStringList &row : tableRows(kSandhiSplitsTsv))
            list.append({sounds(row.value(0)),
                         row.value(1) == u"-" ? QString() : sounds(row.value(1)),
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

void setPausal(QList<WordReading> *readings, const QString &pausalSounds)
{
    const QString pausal = verbs::itransFromSounds(pausalSounds);
    for (WordReading &reading : *readings)
        if (reading.pausalForm.isEmpty())
            reading.pausalForm = pausal;
}

// Words are written together only where sandhi joins them: after a final consonant (tach cha,
// ahamekadA), not after a vowel or a visarga, which keep their space (rAme na, punaH punaH).
bool joinsWithNext(const QString &sounds)
{
    return !sounds.isEmpty() && !verbs::isVowel(sounds.back()) && sounds.back() != u'H';
}
const QString kAlphabet = QStringLiteral("aAiIuUfFeEoOMHkKgGNcCjJYwWqQRtTdDnpPbBmyrlvSzsh");

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
    QString member = sounds(stem.lemma);
    // A stem in -an or -in loses its n before the next member (karma-phala, hasti-pada); one in
    // a vowel stands as it is (vR^iddha-, nadI-); the others change in ways not read here
    // (manaH-, mano-).
    if (member.endsWith(QStringLiteral("an")) || member.endsWith(QStringLiteral("in")))
        member.chop(1);
    if (member.size() >= 2 && verbs::isVowel(member.back()) &&
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

QList<WordReading> Analyser::readAsWritten(const QString &sounds) const
{
    QList<WordReading> readings;
    for (const FormIndex::Posting &posting : m_index.find(formKeyOfSounds(sounds)))
        if (m_lexicon.entry(posting.entry).isLive() &&
            !(posting.cell.flags & FormCell::kAfterPrefix))
            readings.append(readingOf(posting));
    for (WordReading &reading : readings)
        reading.form = verbs::itransFromSounds(sounds);
    return readings + readWithPrefixes(sounds);
}

// A root of the table with prefixes before it (AgachChati, upaiti, saMgachChate): the form
// after a prefix's length is looked up, with the vowel a prefix may have merged with, and kept
// when the prefixes joined to it give the word back.
QList<WordReading> Analyser::readWithPrefixes(const QString &word) const
{
    QList<WordReading> readings;
    const QString key = formKeyOfSounds(word);
    for (qsizetype at = 1; at + 2 <= word.size(); ++at) {
        QStringList rests = {word.mid(at)};
        // ud drops the s of sthA and stambh (utthita, uttambhita): the rest is looked up with it.
        if (word.at(at - 1) == u't' && (word.at(at) == u't' || word.at(at) == u'T'))
            rests.append(u's' + word.mid(at));
        // The vowels a prefix's final a, i or u may have merged into: a, i, u, e, o.
        static const QString mergedVowels = [] {
            QString vowels;
            for (int s = 0; s < kSoundCount; ++s) {
                const Sound vowel = static_cast<Sound>(s);
                if (isVowel(vowel) && !verbs::isVocalicLiquid(vowel) &&
                    !verbs::isVrddhiDiphthong(vowel))
                    vowels += codeOf(vowel);
            }
            return vowels;
        }();
        if (verbs::isVowel(word.at(at)))
            for (const QChar vowel : mergedVowels)
                if (vowel != word.at(at))
                    rests.append(vowel + word.mid(at + 1));
        for (const QString &rest : rests) {
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
                    if (codeOf(chain.prefixes.first().front()) != word.front())
                        continue;
                    const SoundString joined =
                        verbs::withPrefixes(chain.prefixes, rootSounds, verbs::soundsOfCodes(rest));
                    if (formKeyOfSounds(verbs::codesOfSounds(joined)) != key)
                        continue;
                    WordReading reading = readingOf(posting);
                    reading.lemma = chain.itrans + entry.lemma;
                    reading.form = verbs::itransFromSounds(word);
                    readings.append(reading);
                }
            }
        }
    }
    return readings;
}

QList<WordReading> Analyser::readWithSandhi(const QString &word) const
{
    QList<WordReading> readings = readAsWritten(word);
    const QString key = formKeyOfSounds(word);
    for (const EndingRule &rule : wordEndingRules()) {
        if (word.size() <= rule.written.size() || !word.endsWith(rule.written))
            continue;
        const QString pausal = word.chopped(rule.written.size()) + rule.pausal;
        if (formKeyOfSounds(pausal) == key) // "ahaM" is aham as written already
            continue;
        QList<WordReading> found = readAsWritten(pausal);
        // The vocative of a stem in R^i ends in r too (pitar atra).
        if (!rule.onlyAfterA.isEmpty() && pausal.size() >= 2 &&
            (pausal.at(pausal.size() - 2) == u'a' || pausal.at(pausal.size() - 2) == u'A') &&
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

QList<WordReading> Analyser::readAsTwoWords(const QString &word) const
{
    for (const SplitRule &rule : sandhiSplitRules()) {
        if (word.size() <= rule.written.size() || !word.endsWith(rule.written))
            continue;
        const QString first = word.chopped(rule.written.size()) + rule.firstEnd;
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
const QHash<QChar, QList<QPair<QChar, QChar>>> &mergedVowels()
{
    static const QHash<QChar, QList<QPair<QChar, QChar>>> table = [] {
        QHash<QChar, QList<QPair<QChar, QChar>>> map;
        const auto both = [&](QChar merged, QStringView firsts, QStringView seconds) {
            for (const QChar first : firsts)
                for (const QChar second : seconds)
                    map[merged].append({first, second});
        };
        both(u'A', u"aA", u"aA");
        both(u'I', u"iI", u"iI");
        both(u'U', u"uU", u"uU");
        both(u'e', u"aA", u"iI");
        both(u'o', u"aA", u"uU");
        both(u'E', u"aA", u"eE");
        both(u'O', u"aA", u"oO");
        return map;
    }();
    return table;
}

constexpr int kShortestJoinedWord = 2;
constexpr int kMostJoinedWords = 8;

// Finds a way to read sounds[from...] as words, each through the sandhi of its end; `first`
// stands in for the sound at `from` when the junction before it changed it (a vowel merged
// into the one before, the sh that t + sh writes as Ch).
class JoinedWordsReader
{
public:
    using Reader = std::function<QList<WordReading>(const QString &)>;
    // readWord reads a word through the sandhi of its end; readAsWritten only as it stands, for
    // a word whose last vowel merged with the next word's first (the vowel a sandhi change left
    // before a vowel, vana for vane, is never merged again).
    JoinedWordsReader(const QString &sounds, Reader readWord, Reader readAsWritten)
        : m_sounds(sounds), m_readWord(std::move(readWord)),
          m_readAsWritten(std::move(readAsWritten))
    {
    }

    QList<WordReading> read(int from, QChar first, int words)
    {
        if (from == m_sounds.size())
            return {};
        if (words >= kMostJoinedWords)
            return {};
        const QString key = QString::number(from) + first;
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
    QString piece(int from, QChar first, int end) const
    {
        QString text = m_sounds.mid(from, end - from);
        if (!first.isNull())
            text[0] = first;
        return text;
    }

    QList<WordReading> withRest(const QString &word, QList<WordReading> rest, int restFrom,
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

    QList<WordReading> readFrom(int from, QChar first, int end, int words)
    {
        const QString word = piece(from, first, end);
        const bool last = end == m_sounds.size();
        // The words meet as written (ahamekadA, tannirUpayAmi: the first read through its end);
        // t + sh is written chCh (kenachichChR^igAlena).
        const QChar next =
            !last && word.endsWith(u'c') && m_sounds.at(end) == u'C' ? QChar(u'S') : QChar();
        QList<WordReading> readings;
        if (last)
            readings = withRest(word, {}, end);
        else if (joinsWithNext(word))
            readings = withRest(word, read(end, next, words + 1), end);
        if (!readings.isEmpty() || m_sounds.size() - end + 1 < kShortestJoinedWord || last)
            return readings;
        // Two vowels became one (bhAgyenaitat: bhAgyena etat; yatrAste: yatra Aste or aste).
        for (const auto &[own, following] : mergedVowels().value(m_sounds.at(end - 1)))
            readings +=
                withRest(word.chopped(1) + own, read(end - 1, following, words + 1), end - 1, true);
        return readings;
    }

    QString m_sounds;
    Reader m_readWord;
    Reader m_readAsWritten;
    QHash<QString, QList<WordReading>> m_memo;
};

} // namespace

QList<WordReading> Analyser::readAsJoinedWords(const QString &sounds, bool compounds) const
{
    // A piece may itself be a word with chit or cha written onto it (kenachit), and where asked,
    // a compound.
    JoinedWordsReader reader(
        sounds,
        [this, compounds](const QString &word) {
            QList<WordReading> readings = readWithSandhi(word);
            if (readings.isEmpty())
                readings = readAsTwoWords(word);
            return readings.isEmpty() && compounds ? readAsCompound(word) : readings;
        },
        [this](const QString &word) { return readAsWritten(word); });
    return reader.read(0, QChar(), 0);
}

// A compound the dictionary does not hold, read from its members: each but the last a noun stem
// of the dictionary in a vowel as it stands, the last a declined form of one, the members meeting
// as written (vR^iddha-vyAghraH) or with their vowels merged (dakShiNa-araNye: dakShiNAraNye).
// It is read as one noun: the stem as written with the last member's, the last member's gender,
// case and number, the members' English keys joined by "+".
QList<WordReading> Analyser::readAsCompound(const QString &word) const
{
    QList<WordReading> readings;
    if (!m_compoundMembers.isEmpty())
        readCompoundFrom(word, 0, QChar(), {}, &readings);
    return readings;
}

namespace {

constexpr int kMostCompoundMembers = 4;

// The stem or pausal form of a compound: what is written before its last member, then the last
// member's own, whose first sound stands for the merged vowel written where it begins.
QString compoundPart(const QString &written, int lastFrom, bool merged, const QString &lastOwn)
{
    const QString own = sounds(lastOwn);
    return own.isEmpty()
               ? QString()
               : verbs::itransFromSounds(written.left(lastFrom) +
                                         (merged ? written.at(lastFrom) + own.mid(1) : own));
}

} // namespace

void Analyser::readCompoundFrom(const QString &word, int from, QChar first,
                                const QStringList &memberKeys, QList<WordReading> *readings) const
{
    const auto pieceOf = [&](int end) {
        QString piece = word.mid(from, end - from);
        if (!first.isNull())
            piece[0] = first;
        return piece;
    };
    for (int end = from + 2; end + 2 <= word.size(); ++end) {
        // The member as written before a consonant, or its last vowel merged with the next's.
        QList<std::tuple<QString, int, QChar>> splits;
        if (verbs::isVowel(word.at(end - 1)) && !verbs::isVowel(word.at(end)))
            splits.append({pieceOf(end), end, QChar()});
        for (const auto &[own, following] : mergedVowels().value(word.at(end - 1)))
            if (end - 1 - from >= 2)
                splits.append({pieceOf(end - 1) + own, end - 1, following});
        for (const auto &[member, restFrom, restFirst] : splits) {
            QStringList keys;
            for (const int entry : m_compoundMembers.value(member))
                if (m_lexicon.entry(entry).inDictionary() && keys.isEmpty())
                    keys = memberKeys + QStringList{m_lexicon.entry(entry).englishKeys.first()};
            if (keys.isEmpty())
                continue;
            QString last = word.mid(restFrom);
            if (!restFirst.isNull())
                last[0] = restFirst;
            for (const WordReading &final : readWithSandhi(last)) {
                if (final.kind != ReadingKind::Noun || final.englishKeys.isEmpty())
                    continue;
                WordReading reading = final;
                const bool merged = !restFirst.isNull();
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
    const QString wordSounds = sounds(word);
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
    const QString word = sounds(written);
    if (word.isEmpty())
        return {};
    // The likeliest slips first: a vowel's length, a final visarga or anusvara.
    QStringList candidates;
    for (qsizetype at = 0; at < word.size(); ++at) {
        const Sound sound = soundOfCode(word.at(at)).value_or(Sound::H);
        if (verbs::isHighVowel(sound) || verbs::sameVowelQuality(sound, Sound::a))
            candidates.append(QString(word).replace(at, 1, codeOf(verbs::otherLength(sound))));
    }
    candidates += {word + u'H', word + u'M', word + u'm'};
    for (qsizetype at = 0; at <= word.size(); ++at) {
        if (at < word.size())
            candidates.append(QString(word).remove(at, 1));
        for (const QChar sound : kAlphabet) {
            candidates.append(QString(word).insert(at, sound));
            if (at < word.size() && sound != word.at(at))
                candidates.append(QString(word).replace(at, 1, sound));
        }
    }
    QStringList own, builtIn;
    QSet<QString> seen;
    for (const QString &candidate : std::as_const(candidates)) {
        if (candidate.isEmpty() || seen.contains(candidate))
            continue;
        seen.insert(candidate);
        const QList<WordReading> readings = readWithSandhi(candidate);
        if (readings.isEmpty())
            continue;
        const QString shown = verbs::itransFromSounds(candidate);
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
