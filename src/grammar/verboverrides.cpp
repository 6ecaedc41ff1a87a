// SPDX-License-Identifier: GPL-3.0-or-later
#include "verboverrides.h"

#include "overridesdata.h"
#include "tablerows.h"

#include <QHash>
#include <QStringList>

namespace vantro::verbs {

namespace {

enum class Action { Replace, Add, Clear };

struct Override
{
    Pada pada;
    Tense tense;
    Action action;
    // The nine cells' forms in sounds; an empty entry is a cell the row leaves alone.
    std::array<SoundStrings, kPersonCount * kNumberCount> cells;
};

const QStringList kCellNames = {"3sg", "3du", "3pl", "2sg", "2du", "2pl", "1sg", "1du", "1pl"};
const QStringList kTenseNames = {"present", "imperfect", "imperative", "optative"};

SoundStrings soundsOfCell(const QString &field)
{
    SoundStrings forms;
    if (field == u"-")
        return forms;
    for (const QString &form : field.split(u','))
        forms.append(SoundString::fromItrans(form).value);
    return forms;
}

// A row's cell and forms fields: one named cell, or all nine parted by spaces.
void readCells(const QString &cell, const QString &forms, Override *row)
{
    if (cell == u"all") {
        const QStringList each = forms.split(u' ');
        for (int i = 0; i < each.size() && i < int(row->cells.size()); ++i)
            row->cells[i] = soundsOfCell(each[i]);
    } else {
        row->cells[kCellNames.indexOf(cell)] = soundsOfCell(forms);
    }
}

Action actionNamed(const QString &name)
{
    return name == u"add" ? Action::Add : name == u"clear" ? Action::Clear : Action::Replace;
}

// Keyed by root and class, in the file's order; the build has checked every row's shape.
QHash<QString, QList<Override>> readRows()
{
    QHash<QString, QList<Override>> rows;
    for (const QStringList &fields : tableRows(kOverridesTsv)) {
        Override row;
        row.pada = fields[2] == u"A" ? Pada::Atmanepada : Pada::Parasmaipada;
        row.tense = Tense(kTenseNames.indexOf(fields[3]));
        row.action = actionNamed(fields[5]);
        if (row.action == Action::Clear)
            row.cells[kCellNames.indexOf(fields[4])] = SoundStrings{SoundString()};
        else
            readCells(fields[4], fields[6], &row);
        rows[fields[0] + u'\t' + fields[1]].append(row);
    }
    return rows;
}

void apply(const Override &row, SoundParadigm *paradigm)
{
    for (size_t cell = 0; cell < row.cells.size(); ++cell) {
        if (row.cells[cell].isEmpty())
            continue;
        if (row.action == Action::Add)
            paradigm->cells[cell] += row.cells[cell];
        else if (row.action == Action::Replace)
            paradigm->cells[cell] = row.cells[cell];
        else
            paradigm->cells[cell].clear();
    }
}

} // namespace

void applyVerbOverrides(const VerbRoot &root, Pada pada, Tense tense, SoundParadigm *paradigm)
{
    static const QHash<QString, QList<Override>> rows = readRows();
    const QString key = root.root + u'\t' + QString::number(root.verbClass);
    const QList<Override> forRoot = rows.value(key);
    for (const Override &row : forRoot)
        if (row.pada == pada && row.tense == tense)
            apply(row, paradigm);
}

} // namespace vantro::verbs
