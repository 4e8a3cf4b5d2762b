// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/QuickConnectAddress.h"

#include "base/FtpUrl.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteProperties.h"

namespace qx {

std::unique_ptr<TSiteProperties>
QuickConnectSiteOf(std::string_view address, const TGlobalOptions& options, std::string& error) {
    const std::optional<FtpUrl> url = ParseFtpUrl(address, error);
    if (!url) {
        return nullptr;
    }
    auto site = std::make_unique<TSiteProperties>(options);
    site->QuickConnect = true;
    site->HostName = url->Host;
    site->Port = std::stoi(url->Port); // the parser lets only 1 to 65535 through
    // Over SSH a missing user is ssh's own choice (its configuration, else the local user),
    // never "anonymous".
    if (url->Protocol == TRemoteProtocolKind::Sftp) {
        site->Protocol = TRemoteProtocolKind::Sftp;
        site->UserName = url->User;
        site->Password = url->Password;
    } else if (url->User.empty()) {
        site->UserName = "anonymous";
        site->Password = options.Email;
    } else {
        site->UserName = url->User;
        site->Password = url->Password;
    }
    site->InitialFolder = url->Path;
    if (url->ImplicitTls) {
        site->Encryption = TFtpTlsMode::Implicit;
    }
    return site;
}

} // namespace qx
