// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conjugation.h"
#include "paradigm.h"

#include <QString>
#include <QStringList>

namespace vantro {

// Where a word of the lexicon comes from; the dictionary's own words rank first.
enum class WordSource { Dictionary, BuiltIn };

// What a written form is: a noun (adjectives, pronouns and numerals too), a finite verb, a
// form made from a root (participle, gerund, infinitive) or an indeclinable.
enum class ReadingKind { Noun, Verb, Participle, Gerund, Infinitive, Indeclinable };

// One reading of a written word: the lexicon word it is a form of and the cell it fills.
struct WordReading
{
    ReadingKind kind = ReadingKind::Noun;
    // The noun stem, the root with its prefixes ("A-gam"), or the indeclinable, in ITRANS.
    QString lemma;
    Gender gender = Gender::Masculine;
    GrammaticalCase grammaticalCase = GrammaticalCase::Nominative;
    GrammaticalNumber number = GrammaticalNumber::Singular;
    int verbClass = 0;
    Pada pada = Pada::Parasmaipada;
    Tense tense = Tense::Present;
    Person person = Person::Third;
    bool passive = false;
    bool causative = false;
    bool desiderative = false;
    // The participle's kind ("past passive", "present active"), from the generator that made it.
    QString participleKind;
    WordSource source = WordSource::BuiltIn;
    // The English keys of the dictionary records whose meaning holds the word.
    QStringList englishKeys;
    // The word as it stands before a pause when sandhi changed its end ("rAmaH" for "rAmo");
    // empty when the word was read as written.
    QString pausalForm;
    // The written form itself, in ITRANS as the paradigm writes it.
    QString form;
};

// The reading as the analyse command prints it after the word: "noun", stem, gender, case,
// number; "verb", root, class, pada, tense, person, number (then "causative", "passive");
// "participle", root, class, kind, gender, case, number; "gerund" or "infinitive", root,
// class; "indeclinable". The stem or root is the second field.
QStringList readingFields(const WordReading &reading);
// The reading in one line for a status bar: "rAma m., instrumental singular: Rama".
QString readingSummary(const WordReading &reading);

QString genderLetter(Gender gender);
QString caseName(GrammaticalCase grammaticalCase);
QString numberName(GrammaticalNumber number);
QString personName(Person person);

} // namespace vantro
