// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/SpeedLimitGroup.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>

#include <algorithm>

namespace qx {

namespace {

constexpr std::int64_t kUnit = 1024;
// Bytes per second are kept in 32 bits.
constexpr int kMaxKib = static_cast<int>(INT32_MAX / kUnit);

QSpinBox* NewLimitBox(const char* name, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0, kMaxKib);
    box->setSingleStep(64);
    box->setSuffix(QCoreApplication::translate("qx::SpeedLimitGroup", " KiB/s"));
    box->setSpecialValueText(QCoreApplication::translate("qx::SpeedLimitGroup", "None"));
    return box;
}

int ToKib(std::int64_t bytesPerSecond) {
    if (bytesPerSecond <= 0) {
        return 0;
    }
    // A limit below one KiB/s still shows as a limit.
    return static_cast<int>(
        std::clamp<std::int64_t>((bytesPerSecond + kUnit - 1) / kUnit, 1, kMaxKib));
}

} // namespace

void TSpeedLimitBoxes::Show(std::int64_t download, std::int64_t upload) {
    Download->setValue(ToKib(download));
    Upload->setValue(ToKib(upload));
}

std::int32_t TSpeedLimitBoxes::DownloadLimit() const {
    return static_cast<std::int32_t>(Download->value() * kUnit);
}

std::int32_t TSpeedLimitBoxes::UploadLimit() const {
    return static_cast<std::int32_t>(Upload->value() * kUnit);
}

void TSpeedLimitBoxes::SetEnabled(bool enabled) {
    Download->setEnabled(enabled);
    Upload->setEnabled(enabled);
}

QGroupBox* NewSpeedLimitGroup(const QString& title, TSpeedLimitBoxes& boxes, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    boxes.Download = NewLimitBox("DownloadLimitSpinBox", group);
    boxes.Upload = NewLimitBox("UploadLimitSpinBox", group);
    auto* layout = new QFormLayout(group);
    auto* downloadLabel =
        new QLabel(QCoreApplication::translate("qx::SpeedLimitGroup", "Do&wnloads:"), group);
    downloadLabel->setBuddy(boxes.Download);
    layout->addRow(downloadLabel, boxes.Download);
    auto* uploadLabel =
        new QLabel(QCoreApplication::translate("qx::SpeedLimitGroup", "U&ploads:"), group);
    uploadLabel->setBuddy(boxes.Upload);
    layout->addRow(uploadLabel, boxes.Upload);
    return group;
}

} // namespace qx
