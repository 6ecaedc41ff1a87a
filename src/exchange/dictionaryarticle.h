// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace vantro {

// One Sanskrit equivalent of an English word as a dictionary gives it: the word (or phrase) in
// ITRANS, the grammar the dictionary states for it ("(1 P)", "(m.)", "-ktA -ktaM", "(tyaj 1 P)"),
// and English said of it alone ("with inf."), unfenced.
struct ArticleEquivalent
{
    QString word;
    QString tag;
    QString note;
};

// An English phrase of the article and its Sanskrit rendering (‘heavy rain’ ativR^iShTiH).
struct ArticleExample
{
    QString english;
    QString sanskrit;
};

// One sense of an English word: its Sanskrit equivalents in the dictionary's order, the English
// gloss that tells the sense apart, and the phrases quoted in it.
struct ArticleSense
{
    QList<ArticleEquivalent> equivalents;
    QString gloss;
    QList<ArticleExample> examples;
    bool isEmpty() const { return equivalents.isEmpty() && gloss.isEmpty() && examples.isEmpty(); }
};

// The senses of one English word; a sub-entry (a derived word printed under another) names the
// word it was printed under.
struct Article
{
    QString headword;
    QList<ArticleSense> senses;
    QString printedUnder;
};

// The article as a dictionary meaning: the senses that have Sanskrit equivalents first, each as
// its equivalents ("word tag", joined by ", ") and then its English fenced ("##...##"), the
// phrases after them as their Sanskrit and then their English; then the senses that have only
// phrases, then those that have only English; senses joined by "; ". So the meaning starts with
// the first Sanskrit equivalent whenever the article has one, and with Sanskrit whenever it has
// any.
QString meaningOfArticle(const Article &article);

// English text with what cannot stand inside a fence made safe: a "##" would end the fence
// early and a "|" would start the synonyms.
QString fenceSafe(QString english);

} // namespace vantro
