// SPDX-License-Identifier: GPL-3.0-or-later
#include "stemgroups.h"

#include "stemgroupsdata.h"

#include <QHash>
#include <QStringList>

#include <algorithm>

namespace vantro {

namespace {

// The names the rows use, in the order of StemGroup; the build accepts no other.
const char *const kGroupNames[] = {
    "common-s-neuter",
    "an-after-consonant",
    "kinship-masculine",
    "kinship-feminine",
    "neuter-only-i-u",
    "long-I-with-s",
    "short-vocative-A",
    "as-with-nominative-A",
    "is-us-lengthening",
    "participle-in-vat",
    "possessive-like",
    "reduplicated-participle",
    "not-thematic-at",
    "sixth-class-participle",
    "h-as-k-or-T",
    "vI-feminine",
    "feminine-in-A",
    "feminine-in-I",
    "half-pronominal",
    "ordinal-half-pronominal",
    "kinship-masculine-cited",
    "kinship-feminine-cited",
    "r-stem-cited-first",
    "short-strong-an",
    "long-vowel-kept",
};

struct Group
{
    bool byEnding = false;
    QList<SoundString> stems;
};

QHash<QString, Group> readGroups()
{
    QHash<QString, Group> groups;
    for (const QString &line : QString::fromUtf8(kStemGroupsTsv).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u'\t');
        Group &group = groups[fields.at(0)];
        group.byEnding = fields.at(1) == u"ending";
        for (const QString &stem : fields.at(2).split(u' '))
            group.stems.append(SoundString::fromItrans(stem).value_or(SoundString()));
    }
    return groups;
}

const Group &groupOf(StemGroup group)
{
    static const QHash<QString, Group> groups = readGroups();
    static const Group none;
    const auto found = groups.constFind(QString::fromLatin1(kGroupNames[static_cast<int>(group)]));
    return found == groups.cend() ? none : *found;
}

} // namespace

bool inStemGroup(StemGroup group, const SoundString &stem)
{
    const Group &found = groupOf(group);
    return std::any_of(found.stems.begin(), found.stems.end(), [&](const SoundString &member) {
        return found.byEnding ? stem.endsWith(member) : stem == member;
    });
}

QList<SoundString> stemGroupMembers(StemGroup group)
{
    return groupOf(group).stems;
}

} // namespace vantro
