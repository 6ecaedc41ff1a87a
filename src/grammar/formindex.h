// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lexicon.h"
#include "outcome.h"
#include "soundstring.h"

#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

namespace vantro {

// The cell of a paradigm a form fills, packed: an index holds one for each form it knows.
struct FormCell
{
    quint8 kind = 0; // ReadingKind
    quint8 gender = 0;
    quint8 grammaticalCase = 0;
    quint8 number = 0;
    quint8 tense = 0;
    quint8 person = 0;
    quint8 flags = 0;          // kPassive, kCausative
    quint8 participleKind = 0; // an index into participleKindNames()

    static constexpr quint8 kPassive = 1;
    static constexpr quint8 kCausative = 2;
    static constexpr quint8 kDesiderative = 8;
    // The form stands only after a prefix (the gerund in -ya: -gamya of Agamya, upagamya).
    static constexpr quint8 kAfterPrefix = 4;
    // A causative or desiderative form in the atmanepada: either pada is made of them, whatever
    // the root's own (kArayati, kArayate).
    static constexpr quint8 kAtmanepada = 16;
};

// Receives the forms a generator makes of one lexicon entry, in ITRANS.
class FormSink
{
public:
    virtual ~FormSink() = default;
    virtual void add(const QString &form, const FormCell &cell) = 0;
};

// Makes every form of one entry it knows how to make, and ignores the others. The index runs
// all of them on every entry, so that a new kind of form (a tense, the participles) becomes
// readable by adding its generator to formGenerators().
using FormGenerator = void (*)(const LexiconEntry &entry, FormSink &sink);
const std::vector<FormGenerator> &formGenerators();
// The names of the forms made from roots (participles, gerundives, gerund, infinitive), for
// FormCell::participleKind.
const QStringList &participleKindNames();

// The key a written form is found under: its sounds one character each (sound.h: codeOf), with
// a final anusvara read as m and a nasal before a stop of its own class as the anusvara, so
// that "gachChaMti" and "gachChanti", "jalaM" and "jalam" are one form. Empty when the text
// holds anything but Sanskrit letters.
QString formKeyOfItrans(QStringView itrans);
QString formKeyOfSounds(const SoundString &sounds);

// Every form of the lexicon's entries, found by its key. A form is kept as a 64-bit hash of its
// key beside its entry and cell, 24 bytes, so that the forms of a 25,000-word dictionary fit
// in a few tens of megabytes; two keys of one hash are not to be expected below billions.
class FormIndex
{
public:
    struct Posting
    {
        quint64 hash = 0;
        qint32 entry = 0;
        FormCell cell;
    };

    // Runs every generator on the entry.
    void addEntry(const Lexicon &lexicon, int entry);
    // The index of every entry of the lexicon, made by the generators.
    static FormIndex madeFor(const Lexicon &lexicon);

    // The finished index written to a file, and read back: the build writes the built-in
    // lexicon's forms once, and every start reads them instead of making them again. A file
    // made for another lexicon, by other generators or on another kind of machine is refused
    // with the reason (the caller then makes the forms itself).
    [[nodiscard]] Outcome<void> writeTo(const QString &path, const Lexicon &lexicon) const;
    static Outcome<FormIndex> readFrom(const QString &path, const Lexicon &lexicon);

    // Sorts what was added since, for look-ups by halving.
    void finish();
    // The postings of a key (formKeyOf...).
    std::vector<Posting> find(QStringView key) const;
    qsizetype postingCount() const
    {
        return qsizetype((m_shared ? m_shared->size() : 0) + m_sorted.size() + m_recent.size());
    }
    // Hands what is sorted to the copies of this index, which keep it without copying it (the
    // built-in forms, the same in every analyser of a process) and sort only their own.
    void share();
    qsizetype memoryBytes() const;

private:
    bool holdsFreshFormsOf(const Lexicon &lexicon, int entry) const;

    std::shared_ptr<const std::vector<Posting>> m_shared;
    std::vector<Posting> m_sorted;
    // Entries added after the last finish(): a record saved while the window is open.
    std::vector<Posting> m_recent;
};

} // namespace vantro
