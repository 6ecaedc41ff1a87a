// SPDX-License-Identifier: GPL-3.0-or-later
// The generators of forms the analyser's index is built from: one function for each kind of
// form, each taking the entries it knows how to inflect.
#include "formindex.h"

#include "declension.h"

namespace vantro {

namespace {

void declinedForms(const LexiconEntry &entry, FormSink &sink)
{
    if (entry.kind != ReadingKind::Noun)
        return;
    const Inflection<NounParadigm> declined = declineNoun(entry.lemma, entry.gender);
    if (!declined.ok())
        return;
    FormCell cell;
    cell.kind = quint8(ReadingKind::Noun);
    cell.gender = quint8(entry.gender);
    for (int c = 0; c < kCaseCount; ++c) {
        for (int n = 0; n < kNumberCount; ++n) {
            cell.grammaticalCase = quint8(c);
            cell.number = quint8(n);
            for (const QString &form :
                 declined.paradigm.at(GrammaticalCase(c), GrammaticalNumber(n)))
                sink.add(form, cell);
        }
    }
}

void addParadigm(const VerbParadigm &paradigm, FormCell cell, FormSink &sink)
{
    for (int p = 0; p < kPersonCount; ++p) {
        for (int n = 0; n < kNumberCount; ++n) {
            cell.person = quint8(p);
            cell.number = quint8(n);
            for (const QString &form : paradigm.at(Person(p), GrammaticalNumber(n)))
                sink.add(form, cell);
        }
    }
}

// The active in the entry's pada and the passive, which is the same for every class and pada
// of a root: it is made with the parasmaipada entry, or the atmanepada one of a root that has
// no other.
void conjugatedForms(const LexiconEntry &entry, FormSink &sink)
{
    if (entry.kind != ReadingKind::Verb)
        return;
    FormCell cell;
    cell.kind = quint8(ReadingKind::Verb);
    bool conjugated = false;
    for (const Tense tense : generatedTenses()) {
        cell.tense = quint8(tense);
        cell.flags = 0;
        const Inflection<VerbParadigm> active =
            conjugate({entry.lemma, entry.verbClass, entry.pada, tense, false});
        if (active.ok()) {
            addParadigm(active.paradigm, cell, sink);
            conjugated = true;
        }
    }
    const QList<VerbCandidate> classes = verbRootClasses(entry.lemma.section(u'-', -1));
    const bool passiveHere = entry.pada == Pada::Parasmaipada ||
                             std::none_of(classes.begin(), classes.end(), [](const auto &c) {
                                 return c.pada == Pada::Parasmaipada;
                             });
    if (!conjugated || !passiveHere)
        return;
    for (const Tense tense : generatedTenses()) {
        cell.tense = quint8(tense);
        cell.flags = FormCell::kPassive;
        const Inflection<VerbParadigm> passive =
            conjugate({entry.lemma, entry.verbClass, entry.pada, tense, true});
        if (passive.ok())
            addParadigm(passive.paradigm, cell, sink);
    }
}

void indeclinableForm(const LexiconEntry &entry, FormSink &sink)
{
    if (entry.kind != ReadingKind::Indeclinable)
        return;
    FormCell cell;
    cell.kind = quint8(ReadingKind::Indeclinable);
    sink.add(entry.lemma, cell);
}

} // namespace

const std::vector<FormGenerator> &formGenerators()
{
    static const std::vector<FormGenerator> generators = {declinedForms, conjugatedForms,
                                                          indeclinableForm};
    return generators;
}

const std::vector<Tense> &generatedTenses()
{
    static const std::vector<Tense> tenses = {Tense::Present, Tense::Imperfect, Tense::Imperative,
                                              Tense::Optative, Tense::Future};
    return tenses;
}

const QStringList &participleKindNames()
{
    static const QStringList names = {
        QStringLiteral("present active"), QStringLiteral("present middle"),
        QStringLiteral("past passive"),   QStringLiteral("past active"),
        QStringLiteral("future active"),  QStringLiteral("future passive"),
        QStringLiteral("perfect active")};
    return names;
}

} // namespace vantro
