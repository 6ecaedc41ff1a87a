// SPDX-License-Identifier: GPL-3.0-or-later
#include "lexicon.h"

#include "analyserdata.h"
#include "meaningwords.h"
#include "soundstring.h"
#include "verbroots.h"
#include "wordguess.h"

namespace vantro {

namespace {

QString identityOf(const LexiconEntry &entry)
{
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(int(entry.kind))
        .arg(entry.lemma)
        .arg(entry.kind == ReadingKind::Noun ? int(entry.gender) : 0)
        .arg(entry.verbClass)
        .arg(entry.kind == ReadingKind::Verb ? int(entry.pada) : 0);
}

// The scheme's preferred spelling of a word ("aa" and "A" are one word), or the word as it is
// when it holds anything but Sanskrit letters.
QString canonical(const QString &itrans)
{
    const std::optional<SoundString> sounds = SoundString::fromItrans(itrans);
    return sounds ? sounds->toItrans() : itrans;
}

QList<LexiconEntry> nounEntries(const QString &stem, const QString &genders, bool builtIn)
{
    QList<LexiconEntry> entries;
    for (const QChar letter : genders) {
        const Gender gender = letter == u'm'   ? Gender::Masculine
                              : letter == u'f' ? Gender::Feminine
                                               : Gender::Neuter;
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

QList<LexiconEntry> lexiconEntriesForCitation(const QString &citation)
{
    const QList<WordGuess> guesses = guessWord(citation);
    if (guesses.isEmpty())
        return {};
    QList<LexiconEntry> entries;
    const WordGuess &best = guesses.first();
    if (best.kind == WordGuess::Kind::Verb) {
        for (const WordGuess &guess : guesses) {
            if (guess.kind != WordGuess::Kind::Verb || guess.verb.root != best.verb.root)
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
    // An adjective is cited as its bare stem (sundara, mahat) and declined in every gender.
    const bool citedAsStem = best.noun.stem == canonical(citation);
    for (const Gender gender : {Gender::Masculine, Gender::Feminine, Gender::Neuter}) {
        const bool wanted =
            citedAsStem ? declines(best.noun.stem, gender) : gender == best.noun.gender;
        if (!wanted)
            continue;
        LexiconEntry entry;
        entry.lemma = best.noun.stem;
        entry.gender = gender;
        entries.append(entry);
    }
    return entries;
}

Lexicon Lexicon::builtIn()
{
    Lexicon lexicon;
    for (const QString &line : QString::fromUtf8(kLexiconTsv).split(u'\n')) {
        if (!line.isEmpty() && !line.startsWith(u'#'))
            lexicon.addBuiltInLine(line.split(u'\t'));
    }
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

void Lexicon::addBuiltInLine(const QStringList &fields)
{
    const QString kind = fields.value(0);
    const QString word = canonical(fields.value(1));
    if (kind == u"indeclinable") {
        LexiconEntry entry;
        entry.kind = ReadingKind::Indeclinable;
        entry.lemma = word;
        entry.builtIn = true;
        add(entry, QString());
        return;
    }
    for (const LexiconEntry &entry : nounEntries(word, fields.value(2), true))
        add(entry, QString());
}

int Lexicon::add(const LexiconEntry &entry, const QString &englishKey)
{
    const QString identity = identityOf(entry);
    int index = m_byIdentity.value(identity, -1);
    const bool added = index < 0;
    if (added) {
        index = int(m_entries.size());
        m_entries.append(entry);
        m_byIdentity.insert(identity, index);
    }
    LexiconEntry &stored = m_entries[index];
    stored.builtIn = stored.builtIn || entry.builtIn;
    if (!englishKey.isEmpty() && !stored.englishKeys.contains(englishKey)) {
        stored.englishKeys.append(englishKey);
        m_byEnglishKey[englishKey].append(index);
    }
    return added ? index : -1;
}

QList<int> Lexicon::addMeaning(const QString &englishKey, const QString &meaning)
{
    QList<int> made;
    for (const QString &word : sanskritWordsOfMeaning(meaning)) {
        // A word the grammar lists as indeclinable stays one, rather than becoming a noun stem.
        LexiconEntry indeclinable;
        indeclinable.kind = ReadingKind::Indeclinable;
        indeclinable.lemma = canonical(word);
        if (m_byIdentity.contains(identityOf(indeclinable))) {
            add(indeclinable, englishKey);
            continue;
        }
        for (const LexiconEntry &entry : lexiconEntriesForCitation(word)) {
            if (const int index = add(entry, englishKey); index >= 0)
                made.append(index);
        }
    }
    return made;
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
    bytes += m_byIdentity.size() * 64 + m_byEnglishKey.size() * 80;
    return bytes;
}

} // namespace vantro
