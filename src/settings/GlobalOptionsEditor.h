// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ProxySettings.h"
#include "base/TransferType.h"
#include "settings/SpeedLimitSettings.h"

#include <cstdint>
#include <string>

namespace qx {

class TGlobalOptions;

// The state of the options dialog's controls, without widgets: filled from the options when
// the dialog opens, committed into them (and saved) when it is confirmed.
class TGlobalOptionsEditor {
public:
    explicit TGlobalOptionsEditor(const TGlobalOptions& options);

    // Confirming: copies the controls into the options, refills the extension list from its
    // text and saves the options.
    void Commit(TGlobalOptions& options) const;

    std::int32_t LoginRetryPosition() const { return m_loginRetry; }
    std::int32_t ReloginDelayPosition() const { return m_reloginDelay; }
    void SetLoginRetryPosition(std::int32_t position);
    void SetReloginDelayPosition(std::int32_t position);
    std::int32_t TimeoutSeconds() const { return m_timeout; }
    // Brought into the range of the option.
    void SetTimeoutSeconds(std::int32_t seconds);
    // A folder chosen in the folder browser, shown with a trailing "/".
    void SetBrowsedFolder(std::string folder);

    std::string FontNameText;
    std::int32_t FontSizeValue = 0;
    std::uint32_t GradColorValue = 0;
    std::string EmailText;
    bool ResumeTransferChecked = false;
    bool PassiveModeChecked = false;
    bool KeepFileTimesChecked = true;
    TFTPTransferType TransferTypeIndex = TFTPTransferType::ftpTypeAuto;
    int WhenTargetExistsIndex = 0;
    std::string ASCIIFileExtsText;
    std::string TempDownloadFolderText;
    std::string LoggedinWavText;
    std::string ErrorWavText;
    std::string TransferDoneWavText;
    std::string PingAppText;
    std::string TelnetAppText;
    TProxySettings ProxyValue;
    TSpeedLimitValues SpeedLimits;

private:
    std::int32_t m_loginRetry = 0;
    std::int32_t m_reloginDelay = 0;
    std::int32_t m_timeout = 0;
};

} // namespace qx
