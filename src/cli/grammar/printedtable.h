// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paradigm.h"
#include "script.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace vantro {

// A paradigm as rows of three numbers, the rows in the order the grammars print them.
struct PrintedTable
{
    struct Row
    {
        QString code;  // for --tsv: "nom" ... "voc", or "3" "2" "1"
        QString label; // for the aligned table: "Nom." ..., or "3." ...
        std::array<QStringList, kNumberCount> forms;
    };
    QList<Row> rows;
};

PrintedTable nounTable(const NounParadigm &paradigm);
PrintedTable verbTable(const VerbParadigm &paradigm);

// One line a cell: CODE<TAB>NUMBER<TAB>FORM[,FORM...].
QString tsvText(const PrintedTable &table, Script script);
// The table as the grammars print it, numbers across, in columns that line up on a terminal.
QString alignedText(const PrintedTable &table, Script script);

} // namespace vantro
