// SPDX-License-Identifier: GPL-3.0-or-later
// The generators of forms the analyser's index is built from: one function for each kind of
// form, each taking the entries it knows how to inflect.
#include "formindex.h"

#include "declension.h"
#include "rootderivatives.h"
#include "verbphonology.h"
#include "verbprefixes.h"
#include "verbroots.h"
#include "verbstems.h"

namespace vantro {

namespace {

// Every cell of a declension, each form under its case and number; kind and gender are the
// caller's.
void addDeclension(const NounParadigm &paradigm, FormCell cell, FormSink &sink)
{
    for (int c = 0; c < kCaseCount; ++c) {
        for (int n = 0; n < kNumberCount; ++n) {
            cell.grammaticalCase = quint8(c);
            cell.number = quint8(n);
            for (const QString &form : paradigm.at(GrammaticalCase(c), GrammaticalNumber(n)))
                sink.add(form, cell);
        }
    }
}

void declinedForms(const LexiconEntry &entry, FormSink &sink)
{
    if (entry.kind != ReadingKind::Noun)
        return;
    const Inflection<NounParadigm> declined = declineNoun(entry.stemToDecline(), entry.gender);
    if (!declined.ok())
        return;
    FormCell cell;
    cell.kind = quint8(ReadingKind::Noun);
    cell.gender = quint8(entry.gender);
    addDeclension(declined.paradigm, cell, sink);
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

// What is the same for every pada of a root (the passive, the forms made from the root) is made
// with its parasmaipada entry, or the atmanepada one of a root that has no other.
bool makesWhatEveryPadaShares(const LexiconEntry &entry)
{
    const QList<VerbCandidate> classes = verbRootClasses(entry.lemma.section(u'-', -1));
    return entry.pada == Pada::Parasmaipada ||
           std::none_of(classes.begin(), classes.end(), [&](const VerbCandidate &c) {
               return c.verbClass == entry.verbClass && c.pada == Pada::Parasmaipada;
           });
}

// The active in the entry's pada, the passive, and the causative and desiderative verbs made
// from the root.
void conjugatedForms(const LexiconEntry &entry, FormSink &sink)
{
    if (entry.kind != ReadingKind::Verb)
        return;
    using Derived = VerbRequest::Derived;
    const bool shared = makesWhatEveryPadaShares(entry);
    bool conjugated = false;
    for (const auto &[derived, flag] : {std::pair{Derived::None, quint8(0)},
                                        {Derived::Causative, FormCell::kCausative},
                                        {Derived::Desiderative, FormCell::kDesiderative}}) {
        if (derived != Derived::None && !(conjugated && shared))
            break;
        FormCell cell;
        cell.kind = quint8(ReadingKind::Verb);
        for (const bool passive : {false, true}) {
            if (passive && !(conjugated && shared))
                break;
            for (const Tense tense : allTenses()) {
                cell.tense = quint8(tense);
                cell.flags = quint8(flag | (passive ? FormCell::kPassive : 0));
                VerbRequest request{entry.lemma, entry.verbClass, entry.pada, tense, passive};
                request.derived = derived;
                // A causative or desiderative of its own takes either pada: the table gives
                // the root's, so both are tried.
                for (const Pada pada :
                     {entry.pada,
                      entry.pada == Pada::Parasmaipada ? Pada::Atmanepada : Pada::Parasmaipada}) {
                    request.pada = pada;
                    if (derived != Derived::None && !passive && pada == Pada::Atmanepada)
                        cell.flags |= FormCell::kAtmanepada;
                    else
                        cell.flags &= quint8(~FormCell::kAtmanepada);
                    const Inflection<VerbParadigm> made = conjugate(request);
                    if (made.ok()) {
                        addParadigm(made.paradigm, cell, sink);
                        conjugated = true;
                    }
                    if (derived == Derived::None || passive)
                        break;
                }
            }
        }
    }
}

// The participles and gerundives declined in every gender, the gerund and the infinitive as
// they are: every form the root makes.
void derivedForms(const LexiconEntry &entry, FormSink &sink)
{
    if (entry.kind != ReadingKind::Verb || !makesWhatEveryPadaShares(entry))
        return;
    const RootDerivatives made = rootDerivatives(entry.lemma, entry.verbClass);
    if (!made.ok())
        return;
    for (const RootDerivative &derivative : made.derivatives) {
        FormCell cell;
        cell.participleKind = quint8(rootDerivativeNames().indexOf(derivative.name));
        if (!derivative.isStem) {
            cell.kind = quint8(derivative.name == u"gerund" ? ReadingKind::Gerund
                                                            : ReadingKind::Infinitive);
            for (const QString &form : derivative.forms)
                sink.add(form, cell);
            continue;
        }
        cell.kind = quint8(ReadingKind::Participle);
        for (const QString &stem : derivative.forms) {
            for (const Gender gender : {Gender::Masculine, Gender::Feminine, Gender::Neuter}) {
                const Inflection<NounParadigm> declined = declineDerivative(stem, gender);
                if (!declined.ok())
                    continue;
                cell.gender = quint8(gender);
                addDeclension(declined.paradigm, cell, sink);
            }
        }
    }
}

// The gerund in -ya is made only with a prefix: it is kept as it stands after one, for the
// analyser to read with whichever prefix comes before it. A is put before a root that starts
// with a consonant (it changes neither), sam before a vowel.
void gerundsAfterPrefixes(const LexiconEntry &entry, FormSink &sink)
{
    if (entry.kind != ReadingKind::Verb || entry.lemma.contains(u'-') ||
        !makesWhatEveryPadaShares(entry))
        return;
    const SoundString rootSounds = SoundString::fromItrans(entry.lemma).value;
    const bool vowelFirst = !rootSounds.isEmpty() && isVowel(rootSounds.front());
    const QString prefix = vowelFirst ? QStringLiteral("sam") : QStringLiteral("A");
    const RootDerivatives made = rootDerivatives(prefix + u'-' + entry.lemma, entry.verbClass);
    FormCell cell;
    cell.kind = quint8(ReadingKind::Gerund);
    cell.flags = FormCell::kAfterPrefix;
    cell.participleKind = quint8(rootDerivativeNames().indexOf(QStringLiteral("gerund")));
    for (const RootDerivative &derivative : made.derivatives) {
        if (derivative.name != u"gerund")
            continue;
        for (const QString &form : derivative.forms)
            if (form.startsWith(prefix) && form.endsWith(QStringLiteral("ya")))
                sink.add(form.mid(prefix.size()), cell);
    }
}

// The causative's gerunds and infinitive, made from its stem in -aya as a root of class 10
// makes them: kArayitvA, -kArya (prakArya) or -gamayya after a light syllable, kArayitum. With
// the entry's prefixes where it has some (prasArya, prasArayitum); a bare root's gerund in -ya is
// kept for whichever prefix comes before it.
void causativeGerundsAndInfinitive(const LexiconEntry &entry, FormSink &sink)
{
    // A root of class 10 makes the same forms of its own (chintayitvA).
    if (entry.kind != ReadingKind::Verb || entry.verbClass == 10 ||
        !makesWhatEveryPadaShares(entry))
        return;
    const Outcome<verbs::PrefixedRoot> split = verbs::splitPrefixes(entry.lemma);
    if (!split.ok())
        return;
    const SoundStrings &prefixes = split.value.prefixes;
    const QString &bare = split.value.root;
    const QList<VerbRoot> roots = findVerbRoot(bare);
    const auto root = std::find_if(roots.begin(), roots.end(), [&](const VerbRoot &r) {
        return r.verbClass == entry.verbClass;
    });
    if (root == roots.end())
        return;
    const auto add = [&](const SoundString &sounds, ReadingKind kind, quint8 flags) {
        FormCell cell;
        cell.kind = quint8(kind);
        cell.flags = quint8(FormCell::kCausative | flags);
        cell.participleKind = quint8(rootDerivativeNames().indexOf(
            kind == ReadingKind::Gerund ? QStringLiteral("gerund") : QStringLiteral("infinitive")));
        const SoundString word = verbs::withPrefixes(prefixes, root->rootSounds, sounds);
        sink.add(verbs::retroflexN(word).toItrans(), cell);
    };
    for (const SoundString &stem : verbs::causativeStems(*root)) {
        if (!stem.endsWith("aya"))
            continue;
        const SoundString afterPrefix = verbs::prefixedGerundOfAyaStem(stem);
        if (prefixes.isEmpty()) {
            add(stem.chopped(1) + "itvA", ReadingKind::Gerund, 0);
            add(afterPrefix, ReadingKind::Gerund, FormCell::kAfterPrefix);
        } else {
            add(afterPrefix, ReadingKind::Gerund, 0);
        }
        add(stem.chopped(1) + "itum", ReadingKind::Infinitive, 0);
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
    static const std::vector<FormGenerator> generators = {declinedForms,
                                                          conjugatedForms,
                                                          derivedForms,
                                                          gerundsAfterPrefixes,
                                                          causativeGerundsAndInfinitive,
                                                          indeclinableForm};
    return generators;
}

const QStringList &participleKindNames()
{
    return rootDerivativeNames();
}

} // namespace vantro
