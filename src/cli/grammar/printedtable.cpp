// SPDX-License-Identifier: GPL-3.0-or-later
#include "printedtable.h"

#include "transliterate.h"

namespace vantro {

namespace {

const char *const kNumberCodes[kNumberCount] = {"sg", "du", "pl"};
const char *const kNumberNames[kNumberCount] = {"Singular", "Dual", "Plural"};
const char *const kCaseCodes[kCaseCount] = {"nom", "acc", "ins", "dat", "abl", "gen", "loc", "voc"};
const char *const kCaseLabels[kCaseCount] = {"Nom.", "Acc.", "Ins.", "Dat.",
                                             "Abl.", "Gen.", "Loc.", "Voc."};

QStringList formsInScript(const QStringList &forms, Script script)
{
    QStringList converted;
    for (const QString &form : forms)
        converted.append(itransInScript(form, script));
    return converted;
}

// The columns a terminal gives the text: vowel signs above and below the line and the virama
// take none.
int displayWidth(const QString &text)
{
    int width = 0;
    for (const QChar c : text)
        width += c.category() == QChar::Mark_NonSpacing || c.isLowSurrogate() ? 0 : 1;
    return width;
}

QString padded(const QString &text, int width)
{
    return text + QString(qMax(0, width - displayWidth(text)), u' ');
}

} // namespace

PrintedTable nounTable(const NounParadigm &paradigm)
{
    PrintedTable table;
    for (int c = 0; c < kCaseCount; ++c) {
        PrintedTable::Row row{QLatin1String(kCaseCodes[c]), QLatin1String(kCaseLabels[c]), {}};
        for (int n = 0; n < kNumberCount; ++n)
            row.forms[n] = paradigm.at(GrammaticalCase(c), GrammaticalNumber(n));
        table.rows.append(row);
    }
    return table;
}

PrintedTable verbTable(const VerbParadigm &paradigm)
{
    PrintedTable table;
    for (int p = 0; p < kPersonCount; ++p) {
        const QString person = QString::number(3 - p);
        PrintedTable::Row row{person, person + u'.', {}};
        for (int n = 0; n < kNumberCount; ++n)
            row.forms[n] = paradigm.at(Person(p), GrammaticalNumber(n));
        table.rows.append(row);
    }
    return table;
}

QString tsvText(const PrintedTable &table, Script script)
{
    QString text;
    for (const PrintedTable::Row &row : table.rows)
        for (int n = 0; n < kNumberCount; ++n)
            text += row.code + u'\t' + QLatin1String(kNumberCodes[n]) + u'\t' +
                    formsInScript(row.forms[n], script).join(u',') + u'\n';
    return text;
}

QString alignedText(const PrintedTable &table, Script script)
{
    QList<QStringList> lines{{QString(), kNumberNames[0], kNumberNames[1], kNumberNames[2]}};
    for (const PrintedTable::Row &row : table.rows) {
        QStringList line{row.label};
        for (int n = 0; n < kNumberCount; ++n)
            line.append(row.forms[n].isEmpty() ? QStringLiteral("-")
                                               : formsInScript(row.forms[n], script).join(u", "));
        lines.append(line);
    }
    QList<int> widths(4, 0);
    for (const QStringList &line : lines)
        for (int column = 0; column < 4; ++column)
            widths[column] = qMax(widths[column], displayWidth(line[column]));
    QString text;
    for (const QStringList &line : lines) {
        QString out;
        for (int column = 0; column < 4; ++column)
            out += column == 3 ? line[column] : padded(line[column], widths[column] + 2);
        text += out + u'\n';
    }
    return text;
}

} // namespace vantro
