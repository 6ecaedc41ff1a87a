// SPDX-License-Identifier: GPL-3.0-or-later
#include "stemgroups.h"

#include "stemgroupsdata.h"
#include "tablerows.h"

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
    "feminine-an",
    "feminine-of-its-own",
    "weakest-of-its-own",
    "feminine-in-U",
    "lengthening-feminine-Ri",
    "stem-in-as-beside",
    "vocative-in-an",
    "not-reduplicated-participle",
    "not-sixth-class-participle",
    "invariable-at",
    "invariable-tens",
    "long-strong-at",
    "s-comes-back",
    "colour-in-nI",
    "leader-nI",
    "locative-in-Am",
    "shorter-stem-masculine",
    "shorter-stem-feminine",
    "shorter-stem-neuter",
    "compound-of-han",
    "pronominal-full",
    "pronominal-nemAH",
    "pronominal-neuter-at",
    "pronominal-optional",
    "pronominal-no-dual",
    "pronominal-dual-only",
    "cardinal-in-an",
    "declined-as-kati",
};

struct Group
{
    bool byEnding = false;
    QList<SoundString> stems;
    // For a group of pairs, the stem each member is paired with, in the same order.
    QList<SoundString> partners;
};

SoundString stemFromItrans(const QString &itrans)
{
    return SoundString::fromItrans(itrans).value;
}

QHash<QString, Group> readGroups()
{
    QHash<QString, Group> groups;
    for (const QStringList &fields : tableRows(kStemGroupsTsv)) {
        Group &group = groups[fields.at(0)];
        group.byEnding = fields.at(1) == u"ending";
        for (const QString &member : fields.at(2).split(u' ')) {
            group.stems.append(stemFromItrans(member.section(u':', 0, 0)));
            if (fields.at(1) == u"pair")
                group.partners.append(stemFromItrans(member.section(u':', 1)));
        }
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

SoundString stemGroupPartner(StemGroup group, const SoundString &stem)
{
    const Group &found = groupOf(group);
    const qsizetype at = found.stems.indexOf(stem);
    return at >= 0 && at < found.partners.size() ? found.partners.at(at) : SoundString();
}

} // namespace vantro
