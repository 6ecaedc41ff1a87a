// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>

#include <array>

namespace vantro {

// The English words WordNet knows as words in their own right (its index files, as wordnet-base
// installs them), with the parts of speech each is: what tells "hammer" from a form of "ham",
// and English from romanised Sanskrit in a dictionary that mixes them.
class EnglishWords
{
public:
    enum PartOfSpeech : quint8 { Noun = 1, Verb = 2, Adjective = 4, Adverb = 8 };

    // The words of the installed WordNet, read once for the process; empty when it is not
    // installed.
    static const EnglishWords &instance();
    explicit EnglishWords(const QString &wordNetFolder);

    bool isEmpty() const { return m_words.isEmpty(); }
    // The parts of speech of a lower-cased word (or phrase, blanks as WordNet's "_" or not), 0
    // for a word WordNet does not have.
    quint8 partsOf(const QString &word) const;
    bool contains(const QString &word) const { return partsOf(word) != 0; }
    // How many senses WordNet gives the word as the parts of speech named (a mask), all of them
    // by default: how much of a word in its own right it is.
    int sensesOf(const QString &word, quint8 parts = Noun | Verb | Adjective | Adverb) const;

private:
    // The senses as each part of speech, in the order of PartOfSpeech's bits.
    using Senses = std::array<quint8, 4>;
    QHash<QString, Senses> m_words;
};

} // namespace vantro
