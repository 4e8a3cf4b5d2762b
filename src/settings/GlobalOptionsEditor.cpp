// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/GlobalOptionsEditor.h"

#include "base/UpDownPosition.h"
#include "base/Utilities.h"
#include "settings/GlobalOptions.h"

#include <algorithm>

namespace qx {

TGlobalOptionsEditor::TGlobalOptionsEditor(const TGlobalOptions& options)
    : FontNameText(options.FontName), FontSizeValue(options.FontSize),
      GradColorValue(options.GradColor), EmailText(options.Email),
      ResumeTransferChecked(options.DefResumeTransfer), PassiveModeChecked(options.DefPassiveMode),
      KeepFileTimesChecked(options.KeepFileTimes), TransferTypeIndex(options.DefTransferType),
      WhenTargetExistsIndex(static_cast<int>(options.WhenTargetExists)),
      ASCIIFileExtsText(options.ASCIIFileExtsText()),
      TempDownloadFolderText(options.TempDownloadFolder), LoggedinWavText(options.LoggedinWav),
      ErrorWavText(options.ErrorWav), TransferDoneWavText(options.TransferDoneWav),
      PingAppText(options.PingApp), TelnetAppText(options.TelnetApp), ProxyValue(options.Proxy),
      SpeedLimits(options.SpeedLimits), m_loginRetry(ClampUpDownPosition(options.DefLoginRetry)),
      m_reloginDelay(ClampUpDownPosition(options.DefReloginDelay)),
      m_timeout(
          std::clamp(options.Timeout, TGlobalOptions::MinTimeout, TGlobalOptions::MaxTimeout)) {}

void TGlobalOptionsEditor::SetLoginRetryPosition(std::int32_t position) {
    m_loginRetry = ClampUpDownPosition(position);
}

void TGlobalOptionsEditor::SetReloginDelayPosition(std::int32_t position) {
    m_reloginDelay = ClampUpDownPosition(position);
}

void TGlobalOptionsEditor::SetTimeoutSeconds(std::int32_t seconds) {
    m_timeout = std::clamp(seconds, TGlobalOptions::MinTimeout, TGlobalOptions::MaxTimeout);
}

void TGlobalOptionsEditor::SetBrowsedFolder(std::string folder) {
    AddTrailingSeparator(folder);
    TempDownloadFolderText = std::move(folder);
}

void TGlobalOptionsEditor::Commit(TGlobalOptions& options) const {
    options.FontName = FontNameText;
    options.FontSize = FontSizeValue;
    options.GradColor = GradColorValue;
    options.DefLoginRetry = m_loginRetry;
    options.DefReloginDelay = m_reloginDelay;
    options.Timeout = m_timeout;
    options.Email = EmailText;
    options.DefResumeTransfer = ResumeTransferChecked;
    options.DefPassiveMode = PassiveModeChecked;
    options.KeepFileTimes = KeepFileTimesChecked;
    options.DefTransferType = TransferTypeIndex;
    if (WhenTargetExistsIndex >= 0 && WhenTargetExistsIndex < kWhenTargetExistsCount) {
        options.WhenTargetExists = static_cast<TWhenTargetExists>(WhenTargetExistsIndex);
    }
    options.SetASCIIFileExtsText(ASCIIFileExtsText);
    options.Proxy = ProxyValue;
    options.TempDownloadFolder = TempDownloadFolderText;
    options.LoggedinWav = LoggedinWavText;
    options.ErrorWav = ErrorWavText;
    options.TransferDoneWav = TransferDoneWavText;
    options.PingApp = PingAppText;
    options.TelnetApp = TelnetAppText;
    options.SpeedLimits = SpeedLimits;
    options.SaveToStore();
}

} // namespace qx
