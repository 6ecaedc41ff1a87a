// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace vantro {

// The English lemmas of a word form, by the irregular forms of WordNet's exception lists
// (read from the folder wordnet-base installs, when it is there), the commonest irregular forms
// built into the program, and the regular suffix rules: -s, -es, -ies, -ed, -ing, -er, -est,
// with a doubled consonant undone (running: run) and a silent e restored (hoping: hope).
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
    // True when base is reached from word by one or more of the rules (walkers: walker: walk).
    bool relates(const QString &word, const QString &base) const;
    bool hasWordNet() const { return m_wordNet; }

private:
    void readExceptions(const QByteArray &text);

    QHash<QString, QStringList> m_irregular;
    bool m_wordNet = false;
};

} // namespace vantro
