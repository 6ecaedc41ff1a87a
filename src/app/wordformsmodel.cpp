// SPDX-License-Identifier: GPL-3.0-or-later
#include "wordformsmodel.h"

#include "transliterate.h"

using namespace vantro;

void WordFormsModel::setParadigm(const NounParadigm &paradigm)
{
    const QStringList cases = {tr("Nominative"), tr("Accusative"), tr("Instrumental"),
                               tr("Dative"),     tr("Ablative"),   tr("Genitive"),
                               tr("Locative"),   tr("Vocative")};
    beginResetModel();
    m_rows.clear();
    for (int c = 0; c < kCaseCount; ++c) {
        std::array<QStringList, kNumberCount> cells;
        for (int n = 0; n < kNumberCount; ++n)
            cells[n] = paradigm.at(GrammaticalCase(c), GrammaticalNumber(n));
        appendRows(cases.at(c), cells);
    }
    endResetModel();
}

void WordFormsModel::setParadigm(const VerbParadigm &paradigm)
{
    const QStringList persons = {tr("3rd person"), tr("2nd person"), tr("1st person")};
    beginResetModel();
    m_rows.clear();
    for (int p = 0; p < kPersonCount; ++p) {
        std::array<QStringList, kNumberCount> cells;
        for (int n = 0; n < kNumberCount; ++n)
            cells[n] = paradigm.at(Person(p), GrammaticalNumber(n));
        appendRows(persons.at(p), cells);
    }
    endResetModel();
}

void WordFormsModel::setIndeclinable(const QString &label, const QStringList &forms)
{
    beginResetModel();
    m_rows.clear();
    appendRows(label, {forms, QStringList(), QStringList()});
    endResetModel();
}

void WordFormsModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

// The Devanagari is made here, once a paradigm, so that painting converts nothing.
void WordFormsModel::appendRows(const QString &label,
                                const std::array<QStringList, kNumberCount> &cells)
{
    qsizetype alternatives = 1;
    for (const QStringList &cell : cells)
        alternatives = qMax(alternatives, cell.size());
    for (qsizetype k = 0; k < alternatives; ++k) {
        Row row{k == 0 ? label : QString(), {}, {}};
        for (int n = 0; n < kNumberCount; ++n) {
            row.itrans[n] = cells[n].value(k);
            row.devanagari[n] = itransToDevanagari(row.itrans[n]);
        }
        m_rows.append(row);
    }
}

QString WordFormsModel::formAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    return m_rows.at(index.row()).itrans[index.column() / 2];
}

int WordFormsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int WordFormsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2 * kNumberCount;
}

QVariant WordFormsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const Row &row = m_rows.at(index.row());
    const int number = index.column() / 2;
    return index.column() % 2 == 0 ? row.itrans[number] : row.devanagari[number];
}

QVariant WordFormsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return m_rows.value(section).label;
    const QStringList numbers = {tr("Singular"), tr("Dual"), tr("Plural")};
    return section % 2 == 0 ? numbers.value(section / 2) : QString();
}

// A cell without a form cannot be chosen, and the arrow keys pass over it.
Qt::ItemFlags WordFormsModel::flags(const QModelIndex &index) const
{
    return formAt(index).isEmpty() ? Qt::NoItemFlags : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
