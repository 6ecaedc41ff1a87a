// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formindex.h"
#include "lexicon.h"
#include "soundstring.h"
#include "wordreading.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

#include <functional>
#include <optional>

namespace vantro {

// One dictionary record as the analyser takes it: the English key and the meaning.
using MeaningRecord = QPair<QString, QString>;

// Reads written Sanskrit words against a lexicon: every reading the grammar allows, the
// dictionary's own words first, then the built-in ones; a form of no lexicon word is not read
// (it is unknown, however regular its ending). A word whose end sandhi changed (rAmo, tad,
// agnir) is read as the pausal form it stands for; a short word sandhi wrote onto it (tachcha,
// rAmeti) and a word after the avagraha (so.api) are read as two.
class Analyser
{
public:
    // The built-in lexicon only. Its forms are the same for every dictionary: they are made
    // once a process and copied for each analyser after the first.
    Analyser();

    // The forms of the built-in lexicon made by the generators and written to a file, which the
    // build does once; an analyser reads them from there rather than making them (see
    // builtInFormsFiles()).
    [[nodiscard]] static Outcome<void> writeBuiltInForms(const QString &path);
    // Where the built-in forms are looked for, in order: beside the installation's other data
    // (share/vantro/), then where the build wrote them.
    static QStringList builtInFormsFiles();

    // Adds the Sanskrit words of the records' meanings. `progress` hears (records done, total)
    // now and then, and stops the work by answering false (what was added stays readable).
    void addRecords(const QList<MeaningRecord> &records,
                    const std::function<bool(int, int)> &progress = {});
    // A record saved: its old words lose the key, its new ones are read in.
    void replaceRecord(const QString &englishKey, const QString &meaning);
    void removeRecord(const QString &englishKey);

    // Every reading, best first; none for a word the lexicon does not explain.
    QList<WordReading> analyse(QStringView word) const;
    bool explains(QStringView word) const { return !analyse(word).isEmpty(); }
    // The known forms nearest the word: one sound changed, added or dropped, a vowel's length,
    // a final visarga or anusvara; the dictionary's words first, at most `most`, in ITRANS.
    QStringList suggestions(QStringView word, int most = 5) const;

    const Lexicon &lexicon() const { return m_lexicon; }
    qsizetype memoryBytes() const { return m_lexicon.memoryBytes() + m_index.memoryBytes(); }
    qsizetype formCount() const { return m_index.postingCount(); }

private:
    struct BuiltInOnly
    {
    };
    explicit Analyser(BuiltInOnly);
    static const Analyser &builtIn();

    QList<WordReading> readWithSandhi(const SoundString &sounds) const;
    QList<WordReading> readAsWritten(const SoundString &sounds) const;
    QList<WordReading> readWithPrefixes(const SoundString &sounds) const;
    QList<WordReading> readAsTwoWords(const SoundString &sounds) const;
    QList<WordReading> readAsJoinedWords(const SoundString &sounds, bool compounds) const;
    QList<WordReading> readAsCompound(const SoundString &sounds) const;
    void readCompoundFrom(const SoundString &sounds, int from, std::optional<Sound> first,
                          const QStringList &memberKeys, QList<WordReading> *readings) const;
    void addCompoundMember(int entry);
    WordReading readingOf(const FormIndex::Posting &posting) const;

    Lexicon m_lexicon;
    FormIndex m_index;
    // The dictionary's noun stems by their sounds, for the members of a compound it does not
    // hold as a whole.
    QHash<SoundString, QList<int>> m_compoundMembers;
};

} // namespace vantro
