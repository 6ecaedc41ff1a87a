// SPDX-License-Identifier: GPL-3.0-or-later
#include "rootgroups.h"

#include "rootgroupsdata.h"
#include "soundstring.h"
#include "tablerows.h"

#include <QHash>
#include <QSet>
#include <QStringList>

namespace vantro::verbs {

namespace {

// The names the rows use, in the order of RootGroup; the build accepts no other.
const char *const kGroupNames[] = {
    "connecting-i",
    "reduplicated-plural",
    "weak-I-shortens",
    "imperative-dhi",
    "nasal-u-falls",
    "j-as-Sh",
    "nasal-drops-before-ta",
    "h-as-oDh",
    "h-as-Dh",
    "A-as-e-in-benedictive",
    "causative-aorist-apart",
    "causative-aorist-keeps-a",
    "perfect-without-i",
    "passive-aorist-with-i",
    "i-may-lengthen",
    "i-throughout",
    "infinitive-without-i",
    "guna-for-vrddhi",
    "a-short-in-iS-aorist",
    "no-sa-aorist",
    "a-after-r",
    "weak-before-ya",
    "h-as-dental-dh",
    "a-in-weak-perfect",
    "h-before-tha",
    "s-after-sam",
    "tta-after-prefix",
    "ai-after-a",
    "dental-n-kept",
    "n-retroflex-before-vowel",
    "s-kept-before-sy",
    "s-retroflex-after-prefix",
    "s-as-Sh-before-vowel",
    "s-drops-after-ud",
};

QHash<QString, QSet<SoundString>> readGroups()
{
    QHash<QString, QSet<SoundString>> groups;
    for (const QStringList &fields : tableRows(kRootGroupsTsv)) {
        for (const QString &root : fields.at(1).split(u' '))
            groups[fields.at(0)].insert(SoundString::fromItrans(root).value);
    }
    return groups;
}

} // namespace

bool inRootGroup(RootGroup group, const SoundString &rootSounds)
{
    static const QHash<QString, QSet<SoundString>> groups = readGroups();
    return groups.value(QString::fromLatin1(kGroupNames[static_cast<int>(group)]))
        .contains(rootSounds);
}

} // namespace vantro::verbs
