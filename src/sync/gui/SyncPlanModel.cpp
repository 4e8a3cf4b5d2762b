// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/gui/SyncPlanModel.h"

#include <QLocale>

namespace qx {

namespace {

QString Counted(std::size_t count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

} // namespace

TSyncPlanModel::TSyncPlanModel(QObject* parent) : QAbstractTableModel(parent) {}

void TSyncPlanModel::SetPlan(TSyncPlan plan) {
    beginResetModel();
    m_plan = std::move(plan);
    endResetModel();
    Q_EMIT ChoiceChanged();
}

TSyncPlan TSyncPlanModel::ChosenPlan() const {
    TSyncPlan chosen = m_plan;
    for (TSyncAction& action : chosen.Actions) {
        if (action.Chosen && action.Alternative &&
            (action.Kind == TSyncActionKind::Skip || action.Kind == TSyncActionKind::Conflict)) {
            action.Kind = *action.Alternative;
        }
    }
    return chosen;
}

void TSyncPlanModel::ChooseAll(bool chosen) {
    for (TSyncAction& action : m_plan.Actions) {
        if (Choosable(action) && (!chosen || (action.Kind != TSyncActionKind::Skip &&
                                              action.Kind != TSyncActionKind::Conflict))) {
            action.Chosen = chosen;
        }
    }
    if (!m_plan.Actions.empty()) {
        Q_EMIT dataChanged(index(0, ActionColumn), index(rowCount() - 1, ActionColumn),
                           {Qt::CheckStateRole});
    }
    Q_EMIT ChoiceChanged();
}

bool TSyncPlanModel::Choosable(const TSyncAction& action) {
    return (action.Kind != TSyncActionKind::Skip && action.Kind != TSyncActionKind::Conflict) ||
           action.Alternative.has_value();
}

int TSyncPlanModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_plan.Actions.size());
}

int TSyncPlanModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TSyncPlanModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const TSyncAction& action = m_plan.Actions[static_cast<std::size_t>(index.row())];
    if (role == Qt::CheckStateRole && index.column() == ActionColumn && Choosable(action)) {
        return action.Chosen ? Qt::Checked : Qt::Unchecked;
    }
    if (role == Qt::TextAlignmentRole && index.column() == SizeColumn) {
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
        return {};
    }
    switch (index.column()) {
    case ActionColumn: {
        QString text = QString::fromUtf8(SyncActionCaption(action.Kind));
        if (action.Alternative && role == Qt::DisplayRole) {
            text += QStringLiteral(" (%1 if ticked)")
                        .arg(QString::fromUtf8(SyncActionCaption(*action.Alternative)).toLower());
        }
        return text;
    }
    case PathColumn:
        return QString::fromUtf8(action.Path.data(), static_cast<qsizetype>(action.Path.size()));
    case SizeColumn: {
        const bool transfer = action.Kind == TSyncActionKind::Upload ||
                              action.Kind == TSyncActionKind::Download || action.Alternative;
        return transfer ? QVariant(QLocale().toString(static_cast<qlonglong>(action.Bytes)))
                        : QVariant();
    }
    case ReasonColumn:
        return QString::fromUtf8(action.Reason);
    default:
        return {};
    }
}

bool TSyncPlanModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || index.column() != ActionColumn ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return false;
    }
    TSyncAction& action = m_plan.Actions[static_cast<std::size_t>(index.row())];
    if (!Choosable(action)) {
        return false;
    }
    action.Chosen = value.value<Qt::CheckState>() == Qt::Checked;
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    Q_EMIT ChoiceChanged();
    return true;
}

Qt::ItemFlags TSyncPlanModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == ActionColumn &&
        Choosable(m_plan.Actions[static_cast<std::size_t>(index.row())])) {
        flags |= Qt::ItemIsUserCheckable;
    }
    return flags;
}

QVariant TSyncPlanModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
    case ActionColumn:
        return QStringLiteral("Action");
    case PathColumn:
        return QStringLiteral("File");
    case SizeColumn:
        return QStringLiteral("Size");
    case ReasonColumn:
        return QStringLiteral("Reason");
    default:
        return {};
    }
}

QString SyncSummaryText(const TSyncSummary& summary) {
    return QStringList{Counted(summary.Uploads, "upload", "uploads"),
                       Counted(summary.Downloads, "download", "downloads"),
                       Counted(summary.Folders, "folder to make", "folders to make"),
                       Counted(summary.Deletes, "delete", "deletes"),
                       Counted(summary.Skipped, "skipped", "skipped"),
                       Counted(summary.Conflicts, "conflict", "conflicts")}
               .join(QStringLiteral(", ")) +
           QStringLiteral("; %1 bytes")
               .arg(QLocale().toString(static_cast<qlonglong>(summary.Bytes)));
}

} // namespace qx
