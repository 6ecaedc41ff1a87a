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
    "vrddhi-before-RiNa",
    "vrddhi-before-Rita",
    "take-in-a-before",
    "vrddhi-after-prefix-in-a",
    "ruler",
    "one-word-with-before",
    "ch-doubled-after",
};

struct Group
{
    bool byStart = false;
    QStringList words;
};

constexpr std::size_t kGroupCount = std::size(kGroupNames);

std::array<Group, kGroupCount> readGroups()
{
    std::array<Group, kGroupCount> groups;
    for (const QStringList &fields : tableRows(kSandhiWordsTsv)) {
        for (std::size_t i = 0; i < kGroupCount; ++i) {
            if (fields.at(0) == QLatin1String(kGroupNames[i])) {
                groups[i].byStart = fields.at(1) == u"start";
                groups[i].words = fields.at(2).split(u' ');
            }
        }
    }
    return groups;
}

} // namespace

bool inSandhiGroup(SandhiWordGroup group, const SandhiWord &word)
{
    static const std::array<Group, kGroupCount> groups = readGroups();
    const Group &named = groups[std::size_t(group)];
    for (const QString &member : named.words)
        if (named.byStart ? word.startsWith(member) : word.is(member))
            return true;
    return false;
}

} // namespace vantro
