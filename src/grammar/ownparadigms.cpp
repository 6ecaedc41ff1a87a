// SPDX-License-Identifier: GPL-3.0-or-later
#include "ownparadigms.h"

#include "endingtable.h"
#include "ownparadigmsdata.h"
#include "tablerows.h"

#include <QHash>

namespace vantro {

namespace {

QString keyOf(const QString &word, QChar gender)
{
    return word + u' ' + gender;
}

QChar genderLetter(Gender gender)
{
    switch (gender) {
    case Gender::Masculine:
        return u'm';
    case Gender::Feminine:
        return u'f';
    case Gender::Neuter:
        break;
    }
    return u'n';
}

// Each row's table under its word and each gender it is given for.
QHash<QString, EndingTable> readTables()
{
    QHash<QString, EndingTable> tables;
    for (const QStringList &fields : tableRows(kOwnParadigmsTsv)) {
        const EndingTable table(fields.at(2).toLatin1().constData());
        for (const QChar gender : fields.at(1))
            tables.insert(keyOf(fields.at(0), gender), table);
    }
    return tables;
}

} // namespace

std::optional<FormTable> ownParadigm(const QString &word, Gender gender)
{
    static const QHash<QString, EndingTable> tables = readTables();
    const auto found = tables.constFind(keyOf(word, genderLetter(gender)));
    if (found == tables.cend())
        return std::nullopt;
    return found->applyTo({});
}

} // namespace vantro
