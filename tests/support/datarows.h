// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace vantro::test {

// One case of a table of cases: its tab-separated cells and its place in the file
// ("nouns.tsv:12"), which names the row in the test's table and so in every failure.
struct DataRow
{
    QByteArray place;
    QList<QByteArray> cells;

    // The cell as text; a cell the row leaves out is empty.
    QString text(qsizetype index) const { return QString::fromUtf8(cells.value(index)); }
    QStringList texts() const;
};

// The cases of a data file: a line that is empty or starts with "#" is no case, every other line
// is one and has from least to most cells (kAnyCount: no upper limit). A file that cannot be
// read, holds no case, or has a line of another count fails with its name and line number, so a
// mistyped row is never silently left out.
class DataRows
{
public:
    static constexpr int kAnyCount = -1;

    [[nodiscard]] static bool read(const QString &path, int least, int most, QList<DataRow> *rows,
                                   QString *error);
    // The same inside a test: a file that does not read fails the running test function
    // (its table then has no rows).
    static QList<DataRow> casesOf(const QString &path, int least, int most);
};

} // namespace vantro::test
