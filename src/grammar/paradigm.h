// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace vantro {

enum class Gender { Masculine, Feminine, Neuter };

// The cases in the order the grammars print them, the vocative last.
enum class GrammaticalCase { Nominative, Accusative, Instrumental, Dative, Ablative, Genitive,
                             Locative, Vocative };
enum class GrammaticalNumber { Singular, Dual, Plural };
// Persons in the order the grammars print them: third, second, first.
enum class Person { Third, Second, First };

constexpr int kCaseCount = 8;
constexpr int kNumberCount = 3;
constexpr int kPersonCount = 3;

// Every cell holds ITRANS forms: the usual one first, then the alternatives the grammar
// allows. An empty cell means the form is not given (unknown or not in use).
struct NounParadigm
{
    std::array<QStringList, kCaseCount * kNumberCount> cells;

    QStringList &at(GrammaticalCase c, GrammaticalNumber n)
    {
        return cells[static_cast<int>(c) * kNumberCount + static_cast<int>(n)];
    }
    const QStringList &at(GrammaticalCase c, GrammaticalNumber n) const
    {
        return cells[static_cast<int>(c) * kNumberCount + static_cast<int>(n)];
    }
};

struct VerbParadigm
{
    std::array<QStringList, kPersonCount * kNumberCount> cells;

    QStringList &at(Person p, GrammaticalNumber n)
    {
        return cells[static_cast<int>(p) * kNumberCount + static_cast<int>(n)];
    }
    const QStringList &at(Person p, GrammaticalNumber n) const
    {
        return cells[static_cast<int>(p) * kNumberCount + static_cast<int>(n)];
    }
};

// A paradigm, or the reason none could be made ("no stem in -x is known", ...).
template <typename Paradigm>
struct Inflection
{
    Paradigm paradigm;
    QString error;
    // The stems declined in place of the one asked for, in ITRANS, the usual one first: an
    // adjective's feminine is a stem of its own (sundarI of sundara, bhavantI of bhavat).
    QStringList derivedStems;
    // What each derived stem is where one word has several (bhavat: "pronoun", "participle"),
    // or empty.
    QStringList derivedStemUses;

    bool ok() const { return error.isEmpty(); }
};

} // namespace vantro
