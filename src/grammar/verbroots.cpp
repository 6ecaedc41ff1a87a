// SPDX-License-Identifier: GPL-3.0-or-later
#include "verbroots.h"

#include "verbrootsdata.h"

#include <QMultiHash>
#include <QStringList>

namespace vantro {

namespace {

SoundString sounds(const QString &itrans)
{
    return SoundString::fromItrans(itrans).value;
}

QList<bool> futureIFlags(const QString &field, SoundString *irregularStem)
{
    if (field == u"i")
        return {true};
    if (field == u"0")
        return {false};
    if (field == u"i0")
        return {true, false};
    if (field == u"0i")
        return {false, true};
    *irregularStem = sounds(field);
    return {false};
}

void readStems(const QString &field, VerbRoot *root)
{
    const QStringList stems = field.split(u'/');
    root->strongStem = sounds(stems.value(0));
    root->weakStem = stems.size() > 1 ? sounds(stems.value(1)) : root->strongStem;
    root->weakStemBeforeVowel = sounds(stems.value(2));
    root->strongStemBeforeVowel = sounds(stems.value(3));
}

// A line: root, class, pada (P, A or U for both), present stem(s), future, passive.
bool readRoot(const QString &line, VerbRoot *root)
{
    const QStringList fields = line.split(u'\t');
    if (fields.size() < 6)
        return false;
    root->root = fields[0];
    root->rootSounds = sounds(fields[0]);
    root->verbClass = fields[1].toInt();
    root->parasmaipada = fields[2] != u"A";
    root->atmanepada = fields[2] != u"P";
    readStems(fields[3], root);
    QStringList futures = fields[4].split(u'/');
    QString future = futures.takeFirst();
    root->futureParasmaipada = future.startsWith(QStringLiteral("P:"));
    root->futureTakesI =
        futureIFlags(root->futureParasmaipada ? future.mid(2) : future, &root->futureStem);
    for (const QString &alternative : std::as_const(futures))
        root->futureAlternatives.append(sounds(alternative));
    QStringList passives = fields[5].split(u'/');
    if (const QString passive = passives.takeFirst(); passive != u"-")
        root->passiveStem = sounds(passive);
    for (const QString &alternative : std::as_const(passives))
        root->passiveAlternatives.append(sounds(alternative));
    const bool stemsRead =
        root->isThematic() ? root->strongStem.endsWith(Sound::a) : !root->weakStem.isEmpty();
    return !root->rootSounds.isEmpty() && !root->strongStem.isEmpty() && stemsRead &&
           root->verbClass >= 1 && root->verbClass <= 10;
}

// The roots read, and the lines that did not read: the build checks each line's shape, but
// only reading it shows that its ITRANS is sound.
struct RootTable
{
    QList<VerbRoot> roots;
    QStringList unread;
};

RootTable readTable()
{
    RootTable table;
    const QStringList lines = QString::fromUtf8(kVerbRootsTsv).split(u'\n');
    for (const QString &line : lines) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        VerbRoot root;
        if (readRoot(line, &root)) {
            table.roots.append(root);
        } else {
            qWarning("verb roots: a line that is not a root: %s", qPrintable(line));
            table.unread.append(line);
        }
    }
    return table;
}

const RootTable &rootTable()
{
    static const RootTable table = readTable();
    return table;
}

} // namespace

const QList<VerbRoot> &verbRootTable()
{
    return rootTable().roots;
}

QStringList verbRootLinesNotRead()
{
    return rootTable().unread;
}
QList<VerbRoot> findVerbRoot(const QString &root)
{
    static const QMultiHash<SoundString, qsizetype> bySounds = [] {
        QMultiHash<SoundString, qsizetype> index;
        const QList<VerbRoot> &table = verbRootTable();
        for (qsizetype i = table.size() - 1; i >= 0; --i)
            index.insert(table[i].rootSounds, i);
        return index;
    }();
    const SoundString key = sounds(root);
    QList<VerbRoot> found;
    for (auto it = bySounds.constFind(key); it != bySounds.cend() && it.key() == key; ++it)
        found.append(verbRootTable()[it.value()]);
    return found;
}

} // namespace vantro
