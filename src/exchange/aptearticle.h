// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "articletext.h"
#include "romanizedsanskrit.h"

#include <QHash>

namespace vantro {

class EnglishWords;

// Apte's romanised Sanskrit among his English: a word is Sanskrit when the romanisation marks it
// (a capital inside it: "tyAgaH"), when grammar follows it ("vas 1 P", "hras c."), or when it is
// no English word; the small words and abbreviations of his English ("or", "in comp.", "See")
// are English always.
class ApteScript : public ArticleScript
{
public:
    ApteScript(RomanScheme scheme, const EnglishWords &english);
    bool isSanskrit(const QStringList &words, qsizetype at) const override;
    QString toItrans(QStringView sanskrit) const override;
    bool bareCMeansCausative() const override { return true; }
    bool isSanskritAlone(const QString &word) const override;

private:
    bool isEnglishWord(const QString &lower) const;
    bool judge(const QStringList &words, qsizetype at) const;

    RomanScheme m_scheme;
    const EnglishWords &m_english;
    mutable QHash<QString, bool> m_englishWords;
    // The words judged, without grammar after them and with it.
    mutable QHash<QString, bool> m_judged[2];
    mutable QHash<QString, QString> m_itrans;
};

// An article of Apte's English-Sanskrit dictionary as the Cologne digitisation gives it: lines
// marked with circled letters (C the part of speech, D or A the Sanskrit that follows, B a new
// numbered sense, E a new part of speech, N a derived word such as "[Abandon]ment"). The first
// article is the headword's; each derived word comes as an article of its own, printedUnder the
// headword.
QList<Article> readApteArticle(const QString &headword, const QString &html,
                               const ApteScript &script);

} // namespace vantro
