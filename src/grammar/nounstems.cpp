// SPDX-License-Identifier: GPL-3.0-or-later
#include "nounstems.h"

#include "nounstemsdata.h"
#include "tablerows.h"

#include <QStringList>

namespace vantro {

namespace {

// The genders column: letters m, f, n, or * for every gender with one paradigm.
void readGenders(const QString &field, NamedNounStem *row)
{
    row->sameInEveryGender = field == u"*";
    const QString letters = row->sameInEveryGender ? QStringLiteral("mfn") : field;
    const Gender genders[] = {Gender::Masculine, Gender::Feminine, Gender::Neuter};
    for (int i = 0; i < 3; ++i)
        if (letters.contains(QLatin1Char("mfn"[i])))
            row->genders.append(genders[i]);
}

QList<NamedNounStem> readRows()
{
    QList<NamedNounStem> rows;
    for (const QStringList &fields : tableRows(kNounStemsTsv)) {
        NamedNounStem row;
        row.stem = fields.at(0);
        readGenders(fields.at(1), &row);
        row.declinedBy = fields.at(2);
        row.guessedByName = fields.at(3) == u"name";
        rows.append(row);
    }
    return rows;
}

} // namespace

const QList<NamedNounStem> &namedNounStems()
{
    static const QList<NamedNounStem> rows = readRows();
    return rows;
}

} // namespace vantro
