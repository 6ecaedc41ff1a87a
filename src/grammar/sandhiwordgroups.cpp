// SPDX-License-Identifier: GPL-3.0-or-later
#include "sandhiwordgroups.h"

#include "sandhiwordgroupsdata.h"
#include "tablerows.h"

#include <QStringList>

#include <array>
#include <iterator>

namespace vantro {

namespace {

// The names the rows use, in the order of SandhiWordGroup; the build accepts no other.
const char *const kGroupNames[] = {
    "written-with-next",
    "visarga-for-r",
    "visarga-for-r-or-aH",
    "visarga-drops-before-consonant",
    "visarga-drops-before-voiced",
    "visarga-as-Sh-before-k-p",
    "pragrhya",
    "dual-pronoun",
    "prefix-in-a",
    "vrddhi-with-next",
    "take-in-a-before",
    "vrddhi-after-prefix-in-a",
    "ruler",
    "one-word-with-before",
    "ch-doubled-after",
};

struct Group
{
    bool byStart = false;
    QStringList words;  // for pairs, the first words
    QStringList starts; // for pairs, what the second word begins with
};

constexpr std::size_t kGroupCount = std::size(kGroupNames);

Group groupOf(const QStringList &fields)
{
    Group group;
    group.byStart = fields.at(1) == u"start";
    const QStringList members = fields.at(2).split(u' ');
    if (fields.at(1) != u"pair") {
        group.words = members;
        return group;
    }
    for (const QString &pair : members) {
        group.words.append(pair.section(u':', 0, 0));
        group.starts.append(pair.section(u':', 1));
    }
    return group;
}

std::array<Group, kGroupCount> readGroups()
{
    std::array<Group, kGroupCount> groups;
    for (const QStringList &fields : tableRows(kSandhiWordsTsv)) {
        for (std::size_t i = 0; i < kGroupCount; ++i) {
            if (fields.at(0) == QLatin1String(kGroupNames[i]))
                groups[i] = groupOf(fields);
        }
    }
    return groups;
}

const Group &groupNamed(SandhiWordGroup group)
{
    static const std::array<Group, kGroupCount> groups = readGroups();
    return groups[std::size_t(group)];
}

} // namespace

bool inSandhiGroup(SandhiWordGroup group, const SandhiWord &word)
{
    const Group &named = groupNamed(group);
    for (const QString &member : named.words)
        if (named.byStart ? word.startsWith(member) : word.is(member))
            return true;
    return false;
}

bool inSandhiGroup(SandhiWordGroup group, const SandhiWord &first, const SandhiWord &second)
{
    const Group &named = groupNamed(group);
    for (qsizetype i = 0; i < named.words.size(); ++i)
        if (first.is(named.words.at(i)) && second.startsWith(named.starts.at(i)))
            return true;
    return false;
}

} // namespace vantro
