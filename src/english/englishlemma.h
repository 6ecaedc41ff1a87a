// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "englishwords.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace vantro {

// The English lemmas of a word form, by the irregular forms of WordNet's exception lists
// (read from the folder wordnet-base installs, when it is there), the commonest irregular forms
// built into the program, and the regular suffix rules: -s, -es, -ies, -ed, -ing, -er, -est,
// with a doubled consonant undone (running: run) and a silent e restored (hoping: hope).
// With WordNet's index files at hand the rules reach only words WordNet has, of the part of
// speech the suffix belongs to (-er and -est adjectives, -ed and -ing verbs), and a word that is
// a word in its own right (hammer, evening) only a lemma that is more of one than it is.
class EnglishLemmas
{
public:
    static constexpr const char *kWordNetFolder = "/usr/share/wordnet";

    // The lists of the installed WordNet, read once for the process.
    static const EnglishLemmas &instance();
    // The lists of the folder given (noun.exc, verb.exc, adj.exc, adv.exc), and the built-in
    // ones; a folder without them leaves the built-in ones.
    explicit EnglishLemmas(const QString &wordNetFolder);

    // The candidate lemmas of a lower-cased word, the likeliest first: its irregular bases,
    // then what the suffix rules give. Never the word itself.
    QStringList lemmasOf(const QString &word) const;
    // True when base is reached from word by one or more of the rules (cities: city).
    bool relates(const QString &word, const QString &base) const;
    bool hasWordNet() const { return m_wordNet; }
    const EnglishWords &words() const { return m_words; }

private:
    void readExceptions(const QByteArray &text);
    QStringList regularLemmas(const QString &word) const;

    QHash<QString, QStringList> m_irregular;
    bool m_wordNet = false;
    EnglishWords m_words;
};

} // namespace vantro
