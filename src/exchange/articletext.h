// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dictionaryarticle.h"

#include <QString>
#include <QStringList>
#include <QStringView>

namespace vantro {

// How a dictionary writes its Sanskrit: which words of its text are Sanskrit, and their ITRANS.
class ArticleScript
{
public:
    virtual ~ArticleScript() = default;
    // Whether words[at] is Sanskrit, its neighbours at hand for the dictionaries that mix scripts
    // without marking them.
    virtual bool isSanskrit(const QStringList &words, qsizetype at) const = 0;
    virtual QString toItrans(QStringView sanskrit) const = 0;
    // Whether "c." alone after a word means its causative (it means "class" before a number, and
    // "case" after a case name, in every dictionary).
    virtual bool bareCMeansCausative() const { return false; }
    // Whether a word that stands alone between the separators of a sense is Sanskrit.
    virtual bool isSanskritAlone(const QString &word) const
    {
        return isSanskrit(QStringList{word}, 0);
    }
};

// Sanskrit written in Devanagari among English in Latin letters.
class DevanagariScript : public ArticleScript
{
public:
    bool isSanskrit(const QStringList &words, qsizetype at) const override;
    QString toItrans(QStringView sanskrit) const override;
};

// The text of an HTML definition as lines, without its links (the page, PDF and correction
// links of the digitisations) and without markup.
QStringList articleLines(const QString &html);

// Lines joined by blanks, a word broken at a line end ("Re-" "probate", "-tal") made whole again.
QString joinedLines(const QStringList &lines);

// Text split at the separators that stand outside brackets and quotes; parts trimmed, empty
// ones dropped.
QStringList splitOutside(QStringView text, QStringView separators);

// The English of a dictionary with its headword abbreviations written out: "a(bide)s" -> abides.
QString plainEnglish(QString english);

// Reads one part of a sense (what stands between its commas and semicolons) into the sense:
// Sanskrit words become an equivalent, the grammar after them its tag, English after them a note
// on it; a quoted English phrase followed by Sanskrit becomes an example; English alone goes to
// the gloss. A part that holds only a class and pada ("10 A", after "garh 1,") adds them to the
// equivalent before it.
void readSensePart(const QString &part, const ArticleScript &script, ArticleSense &sense);

// A word printed with a variant spelling inside it ("co(cO)raH", "पा(ला)लकः") as the two
// words, parted by a comma.
QString withVariantsSpelledOut(const QString &text);

// Reads the text of a sense after its gloss: its parts up to the first quoted English phrase,
// then each phrase with the Sanskrit that renders it (up to the next phrase) as an example.
void readSenseText(const QString &text, const ArticleScript &script, ArticleSense &sense);

} // namespace vantro
