// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "itranstoken.h"
#include "sandhirules.h"

#include <QHash>
#include <QString>
#include <QVector>

namespace vantro {

// Joins the words of a text: words parted only by blanks meet in a junction, where the sandhi
// rules decide; anything else between words (a line break, punctuation, digits, a "##" fence)
// is a pause, and the words on either side of it stay as typed.
class SandhiLineJoiner
{
public:
    explicit SandhiLineJoiner(QStringView text);

    int junctionCount() const { return m_junctionCount; }
    // The text joined with, at each junction, the join numbered in choices (0, the usual one,
    // where choices ends). Null where a choice is past the joins its junction offers; counts,
    // if given, receives how many each junction offered.
    QString joined(const QVector<int> &choices, QVector<int> *counts = nullptr) const;

private:
    struct WordSpan
    {
        int firstToken = 0;
        int endToken = 0;
        int start = 0; // in the text
        int end = 0;
    };
    struct Output
    {
        QString text;
        QStringView lastSpelling; // of the piece written last, while no pause followed it
    };

    void noteSpellings();
    void findWords();
    SandhiWord word(const WordSpan &span) const;
    static void write(Output &out, const SandhiWord &word, int count);
    static void pause(Output &out, const SandhiWord &word, QStringView gap);
    void apply(Output &out, SandhiWord &left, SandhiWord &right, const SandhiJoin &join,
               QStringView gap) const;
    SandhiPiece added(const Letter *letter) const;

    QStringView m_text;
    QVector<ItransToken> m_tokens;
    QVector<WordSpan> m_words;
    // The spelling the text first uses for each letter that has several (aa or A), so that a
    // letter a rule puts in is spelled as the typist spells it.
    QHash<const Letter *, QStringView> m_spellings;
    int m_junctionCount = 0;
};

} // namespace vantro
