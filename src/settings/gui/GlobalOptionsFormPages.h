// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/SpeedLimitGroup.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace qx {

class TGradientPreview;
class TTransferTypeRadioGroup;

// The controls of the options dialog, made by CreateGlobalOptionsPages and owned by its pages.
struct TGlobalOptionsControls {
    QToolButton* FontButton = nullptr;
    QLineEdit* FontNameEdit = nullptr;
    QLineEdit* FontSizeEdit = nullptr;
    QToolButton* GradColorButton = nullptr;
    TGradientPreview* GradPanel = nullptr;

    QSpinBox* LoginRetryUpDown = nullptr;
    QSpinBox* ReloginDelayUpDown = nullptr;
    QSpinBox* TimeoutUpDown = nullptr;
    QLineEdit* EmailEdit = nullptr;
    QCheckBox* ResumeTransferCheckBox = nullptr;
    QCheckBox* PassiveModeCheckBox = nullptr;
    QCheckBox* KeepFileTimesCheckBox = nullptr;
    TTransferTypeRadioGroup* TransferTypeRadioGroup = nullptr;

    QLineEdit* ASCIIFileExtsEdit = nullptr;
    QComboBox* WhenTargetExistsComboBox = nullptr;
    QToolButton* DownloadFolderButton = nullptr;
    QLineEdit* TempDownloadFolderEdit = nullptr;

    // Logged in, error, transfer done.
    struct TWav {
        QToolButton* SelectButton = nullptr;
        QToolButton* PlayButton = nullptr;
        QLineEdit* Edit = nullptr;
    };
    TWav LoggedinWav;
    TWav ErrorWav;
    TWav TransferDoneWav;

    QToolButton* PingAppButton = nullptr;
    QLineEdit* PingAppEdit = nullptr;
    QToolButton* TelnetAppButton = nullptr;
    QLineEdit* TelnetAppEdit = nullptr;

    // Speed limits of the Transfer page.
    TSpeedLimitBoxes SpeedLimits;
};

// Adds the pages "Appearance", "Default Settings", "Transfer", "Sound Feedback" and "Tools"
// with their groups and controls.
void CreateGlobalOptionsPages(QTabWidget& pages, TGlobalOptionsControls& controls);

} // namespace qx
