// SPDX-License-Identifier: GPL-3.0-or-later
#include "conjugation.h"

namespace vantro {

namespace {

struct TenseNames
{
    Tense tense;
    const char *name;
    const char *label;
};

// In the order the verb tables are shown and generated in.
constexpr TenseNames kTenses[] = {
    {Tense::Present, "present", "present"},
    {Tense::Imperfect, "imperfect", "imperfect"},
    {Tense::Imperative, "imperative", "imperative"},
    {Tense::Optative, "optative", "optative"},
    {Tense::Future, "future", "future"},
    {Tense::Periphrastic, "periphrastic", "periphrastic future"},
    {Tense::Conditional, "conditional", "conditional"},
    {Tense::Benedictive, "benedictive", "benedictive"},
    {Tense::Perfect, "perfect", "perfect"},
    {Tense::Aorist, "aorist", "aorist"},
};

const TenseNames &namesOf(Tense tense)
{
    for (const TenseNames &names : kTenses) {
        if (names.tense == tense)
            return names;
    }
    return kTenses[0];
}

} // namespace

const std::vector<Tense> &allTenses()
{
    static const std::vector<Tense> tenses = [] {
        std::vector<Tense> listed;
        for (const TenseNames &names : kTenses)
            listed.push_back(names.tense);
        return listed;
    }();
    return tenses;
}

QString tenseName(Tense tense)
{
    return QString::fromLatin1(namesOf(tense).name);
}

QString tenseLabel(Tense tense)
{
    return QString::fromLatin1(namesOf(tense).label);
}

std::optional<Tense> tenseFromName(const QString &name)
{
    for (const TenseNames &names : kTenses) {
        if (name == QLatin1String(names.name))
            return names.tense;
    }
    return std::nullopt;
}

} // namespace vantro
