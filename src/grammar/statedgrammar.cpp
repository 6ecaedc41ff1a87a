// SPDX-License-Identifier: GPL-3.0-or-later
#include "statedgrammar.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace vantro {
namespace {

bool sameGuess(const WordGuess &a, const WordGuess &b)
{
    if (a.kind != b.kind)
        return false;
    return a.kind == WordGuess::Kind::Noun
               ? a.noun.stem == b.noun.stem && a.noun.gender == b.noun.gender
               : a.verb.root == b.verb.root && a.verb.verbClass == b.verb.verbClass &&
                     a.verb.pada == b.verb.pada;
}

void addOnce(QList<WordGuess> &readings, const WordGuess &guess)
{
    for (const WordGuess &known : readings) {
        if (sameGuess(known, guess))
            return;
    }
    readings.append(guess);
}

// "1 P", "10", "1, 10 A": a pada after several classes is each one's.
void readClasses(const QString &text, StatedGrammar &grammar)
{
    static const QRegularExpression classes(QStringLiteral("\\b(10|[1-9])\\b\\s*([PAU]\\b)?"));
    QList<StatedGrammar::VerbClass> found;
    for (auto it = classes.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        found.append({match.captured(1).toInt(), match.captured(2)});
    }
    // "1, 10 A": the 1 takes the A when it has none of its own and the list ends with one.
    for (qsizetype i = found.size() - 2; i >= 0; --i) {
        if (found[i].pada.isEmpty())
            found[i].pada = found[i + 1].pada;
    }
    grammar.classes += found;
}

// "caus.", "desid.", "pass.", "nom.": the verb derived from the root; "caus. of bhU" names the
// root as well. True for a word read so.
bool readVoice(const QStringList &words, qsizetype at, StatedGrammar &grammar)
{
    const QString word = words.at(at).toLower();
    if (word == u"caus." || word == u"causal")
        grammar.derived = VerbRequest::Derived::Causative;
    else if (word == u"desid." || word == u"des.")
        grammar.derived = VerbRequest::Derived::Desiderative;
    else if (word == u"pass.")
        grammar.passive = true;
    else if (word == u"nom." || word == u"den." || word == u"denom.")
        grammar.denominative = true;
    else
        return false;
    if (at + 2 < words.size() && words.at(at + 1) == u"of")
        grammar.root = words.at(at + 2);
    return true;
}

void readGroup(const QString &inner, StatedGrammar &grammar)
{
    const QStringList words =
        inner.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    static const QRegularExpression number(QStringLiteral("^(10|[1-9])$"));
    static const QHash<QString, QList<Gender>> genders{
        {QStringLiteral("m."), {Gender::Masculine}},
        {QStringLiteral("f."), {Gender::Feminine}},
        {QStringLiteral("n."), {Gender::Neuter}},
        {QStringLiteral("mfn."), {Gender::Masculine, Gender::Feminine, Gender::Neuter}},
    };
    bool any = false;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString &word = words.at(i);
        // "1 P or caus.": the root's own verb is meant first.
        if (i > 0 && words.at(i - 1) == u"or")
            continue;
        if (readVoice(words, i, grammar)) {
            any = true;
            continue;
        }
        grammar.genders += genders.value(word);
        grammar.indeclinable = grammar.indeclinable || word == u"ind." || word == u"indecl.";
        any = any || genders.contains(word) || word.endsWith(u'.');
    }
    if (std::any_of(words.cbegin(), words.cend(),
                    [&](const QString &w) { return number.match(w).hasMatch(); })) {
        readClasses(inner, grammar);
        // "(tyaj 1 P)": the root before the class.
        if (!words.isEmpty() && !number.match(words.first()).hasMatch() &&
            !words.first().endsWith(u'.') && grammar.root.isEmpty())
            grammar.root = words.first();
        return;
    }
    // "(n)", "(t)", "(s)": the stem's last consonant.
    if (!any && words.size() == 1 && words.first().size() <= 3 && !words.first().endsWith(u'.'))
        grammar.stemFinal = words.first();
}

QList<NounCandidate> nounsOf(const QString &form, Gender gender)
{
    QList<NounCandidate> found;
    for (const NounCandidate &candidate : guessNounStems(form)) {
        if (candidate.gender == gender)
            found.append(candidate);
    }
    return found;
}

// The feminine or neuter nominative an ending stands for: "vakraH" and "-krA" give "vakrA".
QString formWithEnding(const QString &word, const QString &ending)
{
    const QString tail = ending.mid(1);
    for (qsizetype overlap = qMin(tail.size(), word.size()); overlap > 0; --overlap) {
        const qsizetype at = word.lastIndexOf(tail.left(overlap));
        if (at > 0)
            return word.left(at) + tail;
    }
    return {};
}

void addVerbReadings(const QString &word, const StatedGrammar &grammar, QList<WordGuess> &out)
{
    const QString root = grammar.root.isEmpty() ? word : grammar.root;
    for (const StatedGrammar::VerbClass &stated : grammar.classes) {
        QList<Pada> padas;
        if (stated.pada == u"P" || stated.pada == u"U")
            padas.append(Pada::Parasmaipada);
        if (stated.pada == u"A" || stated.pada == u"U")
            padas.append(Pada::Atmanepada);
        if (padas.isEmpty()) {
            for (const VerbCandidate &known : verbRootClasses(root)) {
                if (known.verbClass == stated.verbClass)
                    padas.append(known.pada);
            }
        }
        if (padas.isEmpty())
            padas.append(Pada::Parasmaipada);
        for (const Pada pada : padas)
            addOnce(out, {WordGuess::Kind::Verb, {}, {root, stated.verbClass, pada}});
    }
}

// A derived verb stated without the root's class: the classes the table of roots knows, none
// for a root it does not know.
void addTableReadings(const QString &root, QList<WordGuess> &out)
{
    for (const VerbCandidate &known : verbRootClasses(root))
        addOnce(out, {WordGuess::Kind::Verb, {}, known});
}

void addNounReadings(const QString &word, const StatedGrammar &grammar, QList<WordGuess> &out)
{
    QList<Gender> genders = grammar.genders;
    QStringList forms(genders.size(), word);
    // Three endings: the word is the masculine, the endings the feminine and the neuter.
    if (grammar.endings.size() == 2) {
        genders = {Gender::Masculine, Gender::Feminine, Gender::Neuter};
        forms = {word, formWithEnding(word, grammar.endings.at(0)),
                 formWithEnding(word, grammar.endings.at(1))};
    }
    for (qsizetype i = 0; i < genders.size(); ++i) {
        if (forms.at(i).isEmpty())
            continue;
        for (const NounCandidate &candidate : nounsOf(forms.at(i), genders.at(i))) {
            if (grammar.stemFinal.isEmpty() || candidate.stem.endsWith(grammar.stemFinal))
                addOnce(out, {WordGuess::Kind::Noun, candidate, {}});
        }
    }
}

} // namespace

StatedGrammar parseStatedGrammar(const QString &tag)
{
    StatedGrammar grammar;
    static const QRegularExpression group(QStringLiteral("\\(([^()]*)\\)"));
    static const QRegularExpression ending(QStringLiteral("(?:^|\\s)(-[^\\s(),]+)"));
    const qsizetype firstGroup = tag.indexOf(u'(');
    const QString beforeGroups = firstGroup < 0 ? tag : tag.left(firstGroup);
    for (auto it = ending.globalMatch(beforeGroups); it.hasNext();)
        grammar.endings.append(it.next().captured(1));
    for (auto it = group.globalMatch(tag); it.hasNext();)
        readGroup(it.next().captured(1), grammar);
    return grammar;
}

QString tagAfterWord(const QString &meaning, int wordEnd)
{
    int depth = 0;
    for (int at = wordEnd; at < meaning.size(); ++at) {
        const QChar c = meaning.at(at);
        if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        else if (depth == 0 && (c == u',' || c == u';' || meaning.mid(at, 2) == u"##"))
            return meaning.mid(wordEnd, at - wordEnd).trimmed();
    }
    return meaning.mid(wordEnd).trimmed();
}

QList<WordGuess> statedReadings(const QString &word, const StatedGrammar &grammar)
{
    QList<WordGuess> readings;
    if (grammar.indeclinable || grammar.denominative)
        return readings;
    if (!grammar.classes.isEmpty())
        addVerbReadings(word, grammar, readings);
    else if (grammar.derived != VerbRequest::Derived::None || grammar.passive)
        addTableReadings(grammar.root.isEmpty() ? word : grammar.root, readings);
    else
        addNounReadings(word, grammar, readings);
    return readings;
}

QList<WordGuess> guessWord(const QString &citationForm, const QString &tag)
{
    QList<WordGuess> readings = statedReadings(citationForm, parseStatedGrammar(tag));
    for (const WordGuess &guess : guessWord(citationForm))
        addOnce(readings, guess);
    return readings;
}

} // namespace vantro
