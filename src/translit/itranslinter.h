// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "itranstoken.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>

namespace vantro {

struct LintFinding
{
    int line = 0;   // from 1
    int column = 0; // from 1, in characters
    QString message;
};

// Looks for what usually goes wrong in hand-typed ITRANS: letters the scheme does not know,
// one letter spelled two ways in the same text (A and aa), anusvara typed before a stop where
// Sanskrit writes the class nasal, a nasal of another class spelled out before a stop, vowels
// run together where "_" should mark the break, a virama after anything but a consonant, signs
// cut off from their letter by a blank, and invisible joiners pasted in from other text.
class ItransLinter
{
public:
    QVector<LintFinding> lint(QStringView text);
    // Lints a text that arrives in parts (whole lines), numbering the lines of this part from
    // firstLine and comparing its spellings with those of the parts before.
    QVector<LintFinding> lintPart(QStringView text, int firstLine);

private:
    struct FirstSpelling
    {
        int alternate = 0;
        QString source;
        QString position; // "line:column"
    };

    void checkUnknown(int index);
    void checkSpelling(const ItransToken &token);
    void checkAnusvara(int index);
    void checkVowelRun(int index);
    void checkClassNasal(int index);
    void checkSign(int index);
    void checkInvisible(int index);
    void report(int position, const QString &message);
    QString source(const ItransToken &token) const;
    QString positionText(int position) const;
    int lineIndex(int position) const;
    int column(int position) const;

    QStringView m_text;
    QVector<ItransToken> m_tokens;
    QVector<int> m_lineStarts;
    QVector<std::pair<int, LintFinding>> m_findings;
    int m_firstLine = 1;
    QHash<const Letter *, FirstSpelling> m_firstSpelling;
    QSet<QString> m_reportedSpellings;
};

} // namespace vantro
