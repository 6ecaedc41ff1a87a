// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "meaningwords.h"
#include "wordreading.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace vantro {

// A word the analyser reads forms of: a noun stem in one gender, a root in one class and pada
// (with its prefixes), or an indeclinable.
struct LexiconEntry
{
    ReadingKind kind = ReadingKind::Noun;
    QString lemma; // ITRANS, as the generators take it: "rAma", "A-gam", "cha"
    // The stem the forms are made of where it is not the lemma: an adjective's feminine in -A
    // (vidheyA of vidheya), which the declension takes as a stem of its own.
    QString declinedStem;
    Gender gender = Gender::Masculine;
    int verbClass = 0;
    Pada pada = Pada::Parasmaipada;
    bool builtIn = false;
    // The English keys of the dictionary records whose meaning holds the word.
    QStringList englishKeys;

    bool inDictionary() const { return !englishKeys.isEmpty(); }
    // A word the dictionary held and holds no longer is left in place, but read no more.
    bool isLive() const { return builtIn || inDictionary(); }
    const QString &stemToDecline() const { return declinedStem.isEmpty() ? lemma : declinedStem; }
};

// The words the analyser knows: the roots of the root table, the pronouns, numerals and
// indeclinables, and the Sanskrit words of the dictionary's meanings as the window or the
// command line hands them in (this library never opens the dictionary itself).
class Lexicon
{
public:
    // The built-in words only.
    static Lexicon builtIn();

    // The words of one record's meaning; answers the entries it made (a word already known only
    // gains the key). Saving a record again: removeMeaning first, then addMeaning.
    QList<int> addMeaning(const QString &englishKey, const QString &meaning);
    void removeMeaning(const QString &englishKey);

    const LexiconEntry &entry(int index) const { return m_entries.at(index); }
    int size() const { return int(m_entries.size()); }
    qsizetype memoryBytes() const;

private:
    // The entry's index, the entry added when it is new.
    int add(const LexiconEntry &entry, const QString &englishKey);
    QList<LexiconEntry> entriesOfWord(const MeaningWord &written) const;
    void addKey(int index, const QString &englishKey);
    void shareKeyWithBuiltIns(const LexiconEntry &entry, const QString &englishKey);
    void addIndeclinable(const QString &word);

    QList<LexiconEntry> m_entries;
    QHash<QString, int> m_byIdentity;
    QHash<QString, QList<int>> m_byEnglishKey;
    QHash<QString, QList<int>> m_byLemma;
    // The entries each citation of a meaning stood for ("jalaM|n"), found once.
    QHash<QString, QList<int>> m_byCitation;
};

// The readings a dictionary word stands for, as the lexicon takes them: a citation form
// ("jalaM", "agniH", "gachChati", "sundara") to its stem or root by the guess's rules; the
// best guess only, but an adjective cited as its stem in every gender. Tags written after the
// word choose among the guesses: a gender ("f" for buddhiH, "mfn" for an adjective) or a
// class and pada ("4 P").
QList<LexiconEntry> lexiconEntriesForCitation(const QString &citation,
                                              const QStringList &tags = {});

} // namespace vantro
