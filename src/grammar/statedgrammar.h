// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wordguess.h"

#include <QList>
#include <QString>

namespace vantro {

// The grammar a dictionary states beside a word, as a meaning keeps it after the word:
// "(1 P)", "(1, 10 A)", "(tyaj 1 P)" for a root's class and pada (U both), "(m.)", "(f. du.)",
// "(m. f. n.)" for genders, "-krA -kraM" for an adjective's feminine and neuter, "(n)" for the
// last consonant of the stem, "(f. nI)" for a feminine form; "(caus.)", "(desid.)", "(pass.)",
// "(nom.)" (or "den.") for the verb derived from the root that is meant, "(caus. of bhU)" with
// the root named.
struct StatedGrammar
{
    struct VerbClass
    {
        int verbClass = 0;
        QString pada; // "P", "A", "U", or empty where the dictionary leaves it out
    };
    QString root; // the root named beside a verb form ("tyajati (tyaj 1 P)")
    QList<VerbClass> classes;
    QList<Gender> genders; // as stated, or all three for an adjective's three endings
    QStringList endings;   // "-krA", "-kraM": the feminine and neuter nominatives' ends
    QString stemFinal;     // "n" of "(n)"
    bool indeclinable = false;
    VerbRequest::Derived derived = VerbRequest::Derived::None;
    bool passive = false;
    // A verb made from a noun: no root's forms are its forms, so it gives no reading.
    bool denominative = false;
    bool isEmpty() const
    {
        return root.isEmpty() && classes.isEmpty() && genders.isEmpty() && endings.isEmpty() &&
               stemFinal.isEmpty() && !indeclinable && derived == VerbRequest::Derived::None &&
               !passive && !denominative;
    }
};

// Reads a tag; what it does not know (a voice, a note) it passes over.
StatedGrammar parseStatedGrammar(const QString &tag);

// The tag that follows a word of a meaning: its text from wordEnd up to the next comma or
// semicolon outside brackets, or a "##" fence.
QString tagAfterWord(const QString &meaning, int wordEnd);

// The readings the stated grammar gives the word, best first: the classes and padas of the
// root named (or of the word), the stems of the genders stated (the feminine of an adjective
// from its feminine ending); for a derived verb stated without a class, the root's classes in
// the table of roots. Empty when the tag states nothing they can be read from, and for a
// denominative.
QList<WordGuess> statedReadings(const QString &word, const StatedGrammar &grammar);

// The readings of a word with its tag: the stated ones first, then the guesses that differ.
QList<WordGuess> guessWord(const QString &citationForm, const QString &tag);

} // namespace vantro
