// SPDX-License-Identifier: GPL-3.0-or-later
// The queue window's speed limits: one pair of buckets for all its carriers, changed while
// they run.

#include "queue/gui/CarrierForm.h"
#include "widgets/SpeedLimitGroup.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qx {

void TCarrierForm::SetSpeedLimits(std::int64_t download, std::int64_t upload) {
    m_queue.SpeedLimits.Download->SetRate(download);
    m_queue.SpeedLimits.Upload->SetRate(upload);
}

void TCarrierForm::ChooseSpeedLimits() {
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("SpeedLimitDialog"));
    dialog.setWindowTitle(tr("Speed Limit"));
    TSpeedLimitBoxes boxes;
    QGroupBox* group =
        NewSpeedLimitGroup(tr("All transfers of the queue together"), boxes, &dialog);
    boxes.Show(m_queue.SpeedLimits.Download->Rate(), m_queue.SpeedLimits.Upload->Rate());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(group);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    SetSpeedLimits(boxes.DownloadLimit(), boxes.UploadLimit());
    if (OnSpeedLimitsChosen) {
        OnSpeedLimitsChosen(boxes.DownloadLimit(), boxes.UploadLimit());
    }
}

} // namespace qx
