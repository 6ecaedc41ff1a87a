// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paradigm.h"

#include <QAbstractTableModel>
#include <QList>

#include <array>

// A paradigm as the Word Forms window shows it: a row for each case or person, the numbers
// across, each ITRANS form with its Devanagari in the column beside it. A cell that holds
// alternatives gets rows of its own under the first, so that every form can be chosen.
class WordFormsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setParadigm(const vantro::NounParadigm &paradigm);
    void setParadigm(const vantro::VerbParadigm &paradigm);
    // A word that is not inflected (a gerund, an infinitive): one row, its forms under it.
    void setIndeclinable(const QString &label, const QStringList &forms);
    void clear();

    // The ITRANS form an index stands for (either of its two columns); empty where none is.
    QString formAt(const QModelIndex &index) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct Row
    {
        QString label;
        std::array<QString, vantro::kNumberCount> itrans;
        std::array<QString, vantro::kNumberCount> devanagari;
    };
    void appendRows(const QString &label,
                    const std::array<QStringList, vantro::kNumberCount> &cells);

    QList<Row> m_rows;
};
