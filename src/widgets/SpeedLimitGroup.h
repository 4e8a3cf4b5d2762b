// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

class QGroupBox;
class QSpinBox;
class QString;
class QWidget;

namespace qx {

// The download and upload limits of a group made by NewSpeedLimitGroup: spin boxes in KiB/s
// whose 0 reads "None"; the values in and out are bytes per second.
struct TSpeedLimitBoxes {
    QSpinBox* Download = nullptr;
    QSpinBox* Upload = nullptr;

    void Show(std::int64_t download, std::int64_t upload);
    std::int32_t DownloadLimit() const;
    std::int32_t UploadLimit() const;
    void SetEnabled(bool enabled);
};

QGroupBox* NewSpeedLimitGroup(const QString& title, TSpeedLimitBoxes& boxes, QWidget* parent);

} // namespace qx
