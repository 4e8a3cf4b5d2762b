#pragma once

#include "base/TransferType.h"
#include "engine/FtpTypes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qx {

class TConfigStore;
class TGlobalOptions;
class TSiteBookNode;

// The connection settings of one FTP site. The defaults of the retry, delay, resume, transfer
// type and passive fields come from the global options at the moment of construction.
class TSiteProperties {
public:
    explicit TSiteProperties(const TGlobalOptions& options);

    // Reads the site's values from the key; a missing key or value, or one of another type,
    // leaves the field as it is. An empty host name is not taken.
    void LoadFromStore(const TConfigStore& store, std::string_view path);
    // Writes the eleven values into the key, creating it first; other values, subkeys and the
    // key's default value are left alone.
    void SaveToStore(TConfigStore& store, std::string_view path) const;

    std::string HostName = "HostName.DomainName";
    std::int32_t Port = 21;
    std::string UserName;
    std::string Password; // kept and stored as plain text
    std::string InitialFolder;
    std::int32_t LoginRetry;
    std::int32_t ReloginDelay;
    bool ResumeTransfer;
    TFTPTransferType TransferType;
    bool PassiveMode;
    // "Encryption": an absent value is plain FTP, so site books from before stay as they were.
    TFtpTlsMode Encryption = TFtpTlsMode::None;
    TSiteBookNode* SiteNode = nullptr; // the site book node owning this object, not owned
    bool QuickConnect = false;         // never stored
};

} // namespace qx
