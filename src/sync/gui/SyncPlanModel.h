// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/SyncPlan.h"

#include <QAbstractTableModel>

namespace qx {

// The actions of a synchronization's plan, one row each: a check box with the action, the
// path, the bytes and the reason. Clearing a box leaves the action out; ticking a skipped or
// conflicting file runs the transfer it names.
class TSyncPlanModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { ActionColumn, PathColumn, SizeColumn, ReasonColumn, ColumnCount };

    explicit TSyncPlanModel(QObject* parent = nullptr);

    void SetPlan(TSyncPlan plan);
    const TSyncPlan& Plan() const { return m_plan; }
    // The plan as chosen: skipped and conflicting files the user ticked become their transfer.
    TSyncPlan ChosenPlan() const;
    void ChooseAll(bool chosen);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

Q_SIGNALS:
    void ChoiceChanged();

private:
    // A row can be ticked when ticking it runs something.
    static bool Choosable(const TSyncAction& action);

    TSyncPlan m_plan;
};

// "3 uploads, 1 download, 2 folders to make, 1 delete, 1 skipped, 0 conflicts; 12,345 bytes"
QString SyncSummaryText(const TSyncSummary& summary);

} // namespace qx
