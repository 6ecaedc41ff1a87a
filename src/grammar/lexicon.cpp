// SPDX-License-Identifier: GPL-3.0-or-later
#include "lexicon.h"

#include "analyserdata.h"
#include "meaningwords.h"
#include "nounstems.h"
#include "soundstring.h"
#include "tablerows.h"
#include "verbroots.h"
#include "wordguess.h"

#include <QRegularExpression>

namespace vantro {

namespace {

QString identityOf(const LexiconEntry &entry)
{
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(int(entry.kind))
        .arg(entry.stemToDecline())
        .arg(entry.kind == ReadingKind::Noun ? int(entry.gender) : 0)
        .arg(entry.verbClass)
        .arg(entry.kind == ReadingKind::Verb ? int(entry.pada) : 0);
}

// The scheme's preferred spelling of a word ("aa" and "A" are one word), or the word as it is
// when it holds anything but Sanskrit letters.
QString canonical(const QString &itrans)
{
    const Outcome<SoundString> sounds = SoundString::fromItrans(itrans);
    return sounds.ok() ? sounds.value.toItrans() : itrans;
}

QList<LexiconEntry> nounEntries(const QString &stem, const QList<Gender> &genders, bool builtIn)
{
    QList<LexiconEntry> entries;
    for (const Gender gender : genders) {
        LexiconEntry entry;
        entry.lemma = stem;
        entry.gender = gender;
        entry.builtIn = builtIn;
        entries.append(entry);
    }
    return entries;
}

bool declines(const QString &stem, Gender gender)
{
    return declineNoun(stem, gender).ok();
}

} // namespace

namespace {

// The genders a tag names ("m", "f", "n", "mf", "mfn"), or none.
QList<Gender> gendersOfTags(const QStringList &tags)
{
    static const QRegularExpression genders(QStringLiteral("^[mfn]{1,3}$"));
    for (const QString &tag : tags) {
        if (!genders.match(tag).hasMatch())
            continue;
        QList<Gender> named;
        for (const QChar letter : tag)
            named.append(letter == u'm'   ? Gender::Masculine
                         : letter == u'f' ? Gender::Feminine
                                          : Gender::Neuter);
        return named;
    }
    return {};
}

// The class a tag names ("4 P" is written as "4" and "P"), or 0.
int classOfTags(const QStringList &tags)
{
    for (const QString &tag : tags)
        if (const int verbClass = tag.left(2).toInt(); verbClass >= 1 && verbClass <= 10)
            return verbClass;
    return 0;
}

LexiconEntry nounEntry(const QString &stem, Gender gender)
{
    LexiconEntry entry;
    entry.lemma = stem;
    entry.gender = gender;
    return entry;
}

// An adjective in every gender it declines in; in -a, whose feminine the declension wants named,
// the feminine in -A, which most adjectives take (gata, vidheya, shubha).
QList<LexiconEntry> adjectiveEntries(const QString &stem, const QList<Gender> &genders)
{
    QList<LexiconEntry> entries;
    for (const Gender gender : genders) {
        if (declines(stem, gender)) {
            entries.append(nounEntry(stem, gender));
        } else if (gender == Gender::Feminine && stem.endsWith(u'a') &&
                   declines(stem + u'A', gender)) {
            LexiconEntry feminine = nounEntry(stem, gender);
            feminine.declinedStem = stem.chopped(1) + u'A';
            entries.append(feminine);
        }
    }
    return entries;
}

QList<LexiconEntry> verbEntries(const QList<WordGuess> &guesses, int verbClass)
{
    QList<LexiconEntry> entries;
    const WordGuess *best = nullptr;
    for (const WordGuess &guess : guesses)
        if (guess.kind == WordGuess::Kind::Verb &&
            (verbClass == 0 || guess.verb.verbClass == verbClass) && !best)
            best = &guess;
    for (const WordGuess &guess : guesses) {
        if (!best || guess.kind != WordGuess::Kind::Verb || guess.verb.root != best->verb.root ||
            (verbClass != 0 && guess.verb.verbClass != verbClass))
            continue;
        LexiconEntry entry;
        entry.kind = ReadingKind::Verb;
        entry.lemma = guess.verb.root;
        entry.verbClass = guess.verb.verbClass;
        entry.pada = guess.verb.pada;
        entries.append(entry);
    }
    return entries;
}

} // namespace

QList<LexiconEntry> lexiconEntriesForCitation(const QString &citation, const QStringList &tags)
{
    const QList<WordGuess> guesses = guessWord(citation);
    if (guesses.isEmpty())
        return {};
    const QList<Gender> tagged = gendersOfTags(tags);
    if (tagged.isEmpty() && (guesses.first().kind == WordGuess::Kind::Verb || classOfTags(tags)))
        return verbEntries(guesses, classOfTags(tags));
    // A gender the dictionary names picks the first stem that has it (buddhiH f: buddhi f).
    if (tagged.size() == 1) {
        for (const WordGuess &guess : guesses)
            if (guess.kind == WordGuess::Kind::Noun && guess.noun.gender == tagged.first())
                return {nounEntry(guess.noun.stem, guess.noun.gender)};
    }
    const WordGuess *best = nullptr;
    for (const WordGuess &guess : guesses)
        if (guess.kind == WordGuess::Kind::Noun && !best)
            best = &guess;
    if (!best)
        return {};
    // An adjective is cited as its bare stem (sundara, mahat) and declined in every gender: the
    // stem as written is taken where the guess has it, not one the citation may be a form of
    // (nava mfn. is new, not the numeral navan).
    if (tagged.size() > 1) {
        for (const WordGuess &guess : guesses)
            if (guess.kind == WordGuess::Kind::Noun && guess.noun.stem == canonical(citation))
                return adjectiveEntries(guess.noun.stem, tagged);
        return adjectiveEntries(best->noun.stem, tagged);
    }
    if (best->noun.stem == canonical(citation))
        return adjectiveEntries(best->noun.stem,
                                {Gender::Masculine, Gender::Feminine, Gender::Neuter});
    return {nounEntry(best->noun.stem, best->noun.gender)};
}

Lexicon Lexicon::builtIn()
{
    Lexicon lexicon;
    // The pronouns and numerals are the declension's own list; one paradigm for every gender
    // is read once, as the masculine.
    for (const NamedNounStem &row : namedNounStems()) {
        if (row.declinedBy != u"pronoun" && row.declinedBy != u"numeral")
            continue;
        const QList<Gender> genders =
            row.sameInEveryGender ? QList<Gender>{Gender::Masculine} : row.genders;
        for (const LexiconEntry &entry : nounEntries(canonical(row.stem), genders, true))
            lexicon.add(entry, QString());
    }
    for (const QStringList &fields : tableRows(kLexiconTsv))
        lexicon.addIndeclinable(fields.value(1));
    for (const VerbRoot &root : verbRootTable()) {
        for (const Pada pada : {Pada::Parasmaipada, Pada::Atmanepada}) {
            if (!root.takes(pada))
                continue;
            LexiconEntry entry;
            entry.kind = ReadingKind::Verb;
            entry.lemma = root.root;
            entry.verbClass = root.verbClass;
            entry.pada = pada;
            entry.builtIn = true;
            lexicon.add(entry, QString());
        }
    }
    return lexicon;
}

void Lexicon::addIndeclinable(const QString &word)
{
    LexiconEntry entry;
    entry.kind = ReadingKind::Indeclinable;
    entry.lemma = canonical(word);
    entry.builtIn = true;
    add(entry, QString());
}

int Lexicon::add(const LexiconEntry &entry, const QString &englishKey)
{
    const QString identity = identityOf(entry);
    int index = m_byIdentity.value(identity, -1);
    if (index < 0) {
        index = int(m_entries.size());
        m_entries.append(entry);
        m_byIdentity.insert(identity, index);
        m_byLemma[entry.lemma].append(index);
    }
    m_entries[index].builtIn = m_entries[index].builtIn || entry.builtIn;
    addKey(index, englishKey);
    return index;
}

void Lexicon::addKey(int index, const QString &englishKey)
{
    LexiconEntry &stored = m_entries[index];
    if (!englishKey.isEmpty() && !stored.englishKeys.contains(englishKey)) {
        stored.englishKeys.append(englishKey);
        m_byEnglishKey[englishKey].append(index);
    }
}

// A pronoun or numeral the dictionary gives in one gender (saH) means the same in the others
// (sA, tat); a root given in one pada (bravIti), in the other of its class (brUte).
void Lexicon::shareKeyWithBuiltIns(const LexiconEntry &entry, const QString &englishKey)
{
    for (const int index : m_byLemma.value(entry.lemma)) {
        const LexiconEntry &other = m_entries.at(index);
        if (other.builtIn && other.kind == entry.kind && other.verbClass == entry.verbClass)
            addKey(index, englishKey);
    }
}

QList<int> Lexicon::addMeaning(const QString &englishKey, const QString &meaning)
{
    QList<int> made;
    for (const MeaningWord &written : sanskritWordsOfMeaning(meaning)) {
        // A dictionary gives one word under many English keys (water, aqua): what it stands for
        // is worked out once.
        const QString citation = written.word + u'|' + written.tags.join(u' ');
        if (const auto known = m_byCitation.constFind(citation); known != m_byCitation.cend()) {
            for (const int index : *known) {
                addKey(index, englishKey);
                shareKeyWithBuiltIns(m_entries.at(index), englishKey);
            }
            continue;
        }
        QList<int> entries;
        for (const LexiconEntry &entry : entriesOfWord(written)) {
            const qsizetype before = m_entries.size();
            const int index = add(entry, englishKey);
            if (m_entries.size() > before) {
                made.append(index);
                // An indeclinable new to the lexicon changes what its word stands for elsewhere.
                if (entry.kind == ReadingKind::Indeclinable)
                    m_byCitation.clear();
            }
            entries.append(index);
            if (entry.kind != ReadingKind::Indeclinable)
                shareKeyWithBuiltIns(entry, englishKey);
        }
        m_byCitation.insert(citation, entries);
    }
    return made;
}

// A word the grammar lists as indeclinable stays one, rather than becoming a noun stem; so does
// one the dictionary tags as such.
QList<LexiconEntry> Lexicon::entriesOfWord(const MeaningWord &written) const
{
    LexiconEntry indeclinable;
    indeclinable.kind = ReadingKind::Indeclinable;
    indeclinable.lemma = canonical(written.word);
    if (written.tags.contains(QStringLiteral("ind")) ||
        m_byIdentity.contains(identityOf(indeclinable)))
        return {indeclinable};
    return lexiconEntriesForCitation(written.word, written.tags);
}

void Lexicon::removeMeaning(const QString &englishKey)
{
    for (const int index : m_byEnglishKey.take(englishKey))
        m_entries[index].englishKeys.removeAll(englishKey);
}

qsizetype Lexicon::memoryBytes() const
{
    qsizetype bytes = m_entries.capacity() * qsizetype(sizeof(LexiconEntry));
    for (const LexiconEntry &entry : m_entries) {
        bytes += entry.lemma.capacity() * 2 + 24;
        for (const QString &key : entry.englishKeys)
            bytes += key.capacity() * 2 + 48;
    }
    // The two hashes: a node and a key each.
    bytes += m_byIdentity.size() * 64 + m_byEnglishKey.size() * 80 + m_byCitation.size() * 96;
    return bytes;
}

} // namespace vantro
