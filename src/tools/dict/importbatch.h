#pragma once

#include "record.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace vantro::dict {

// A whole import input, checked before anything is written: either every line is good and the
// records are ready to be written in input order, or problems names every bad line.
struct ImportBatch
{
    struct Line
    {
        int number = 0;
        Record record;
    };
    struct Problem
    {
        int number = 0;
        QString reason;
    };

    QList<Line> records;
    QList<Problem> problems;
};

// Splits the input at line feeds (a carriage return before one is dropped, empty lines are
// skipped) and reads every line; a word that appears twice (after lower-casing, as it is
// stored) is a problem, since it is unclear which meaning should win.
ImportBatch readImportBatch(const QByteArray &input);

} // namespace vantro::dict
