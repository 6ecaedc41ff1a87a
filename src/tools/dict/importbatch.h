#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace vantro::dict {

// The lines of an import input: split at line feeds, a carriage return before one dropped,
// empty lines skipped; numbered from 1 as an editor numbers them.
class ImportLines
{
public:
    explicit ImportLines(const QByteArray &input) : m_input(input) {}
    // Moves to the next non-empty line; false at the end.
    bool next();
    int number() const { return m_number; }
    QByteArrayView line() const { return m_line; }

private:
    const QByteArray &m_input;
    qsizetype m_next = 0;
    int m_number = 0;
    QByteArrayView m_line;
};

// The verdict on a whole input, reached before anything is written.
struct ImportCheck
{
    struct Problem
    {
        int number = 0;
        QString reason;
    };

    qsizetype records = 0;
    // Every bad line, in line order. A word given twice (after lower-casing, as it is stored)
    // is a problem too, since it is unclear which meaning should win.
    QList<Problem> problems;
};

ImportCheck checkImport(const QByteArray &input);

} // namespace vantro::dict
