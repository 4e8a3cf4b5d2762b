// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/gui/SyncPlanModel.h"

#include "widgets/CoreTexts.h"

#include <QCoreApplication>
#include <QLocale>

namespace qx {

namespace {

// A count with its noun. The source text is the English "(s)" form; without a translation
// loaded it comes back as is, and the noun is put in the English number here.
QString Counted(const char* text, std::size_t count) {
    QString counted =
        QCoreApplication::translate("qx::TSyncPlanModel", text, nullptr, static_cast<int>(count));
    return counted.replace(QStringLiteral("(s)"), count == 1 ? QString() : QStringLiteral("s"));
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
        const QString text = CoreText(SyncActionCaption(action.Kind));
        if (action.Alternative && role == Qt::DisplayRole) {
            return tr("%1 (%2 if ticked)")
                .arg(text, CoreText(SyncActionCaption(*action.Alternative)).toLower());
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
        return CoreText(action.Reason);
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
        return tr("Action");
    case PathColumn:
        return tr("File");
    case SizeColumn:
        return tr("Size");
    case ReasonColumn:
        return tr("Reason");
    default:
        return {};
    }
}

QString SyncSummaryText(const TSyncSummary& summary) {
    return QCoreApplication::translate("qx::TSyncPlanModel", "%1, %2, %3, %4, %5, %6; %7 bytes")
        .arg(
            Counted(QT_TRANSLATE_N_NOOP("qx::TSyncPlanModel", "%n upload(s)"), summary.Uploads),
            Counted(QT_TRANSLATE_N_NOOP("qx::TSyncPlanModel", "%n download(s)"), summary.Downloads),
            Counted(QT_TRANSLATE_N_NOOP("qx::TSyncPlanModel", "%n folder(s) to make"),
                    summary.Folders),
            Counted(QT_TRANSLATE_N_NOOP("qx::TSyncPlanModel", "%n delete(s)"), summary.Deletes),
            Counted(QT_TRANSLATE_N_NOOP("qx::TSyncPlanModel", "%n skipped"), summary.Skipped),
            Counted(QT_TRANSLATE_N_NOOP("qx::TSyncPlanModel", "%n conflict(s)"), summary.Conflicts),
            QLocale().toString(static_cast<qlonglong>(summary.Bytes)));
}

} // namespace qx
