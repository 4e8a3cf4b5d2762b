// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ProxySettings.h"
#include "base/SshSettings.h"
#include "base/TransferType.h"
#include "engine/FtpTypes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace qx {

class TFTPCarrier;

// Which way a queued item goes.
enum class TCarryDirection : std::uint8_t {
    Download = 0,       // server to local disk
    Upload = 1,         // local disk to server
    ServerToServer = 2, // one server straight to another
};

// What a carrier needs to know to carry out one queue item: the entry, the full login data of
// both ends and how to carry it. Paths end with their separator, so that the path of the entry
// is the path followed directly by FileName.
struct TCarryJob {
    std::string FileName;

    std::string SrcHostName;
    std::string SrcPort;
    std::string SrcUserName;
    std::string SrcPassword;
    std::string SrcPath;
    TFTPTransferType SrcTransferType = TFTPTransferType::ftpTypeBinary;
    TFtpTlsMode SrcEncryption = TFtpTlsMode::None;
    TRemoteProtocolKind SrcProtocol = TRemoteProtocolKind::Ftp;
    TSshSettings SrcSsh;
    TProxySettings SrcProxy;
    int SrcTimeZoneOffset = 0; // minutes the server's LIST times run ahead of UTC
    // The file-name character set (base/NameCharset.h).
    std::string SrcNameCharset;

    std::string DestHostName;
    std::string DestPort;
    std::string DestUserName;
    std::string DestPassword;
    std::string DestPath;
    TFTPTransferType DestTransferType = TFTPTransferType::ftpTypeBinary;
    TFtpTlsMode DestEncryption = TFtpTlsMode::None;
    TRemoteProtocolKind DestProtocol = TRemoteProtocolKind::Ftp;
    TSshSettings DestSsh;
    TProxySettings DestProxy;
    int DestTimeZoneOffset = 0;
    std::string DestNameCharset;

    bool ResumeTransfer = false;
    bool PassiveMode = false;
    // How many explorations lie between the item and the one the user queued (0 for that one).
    int Depth = 0;
    // Downloads: the local folder of the item the user queued; nothing of an exploration is
    // written outside it. Empty: DestPath (the item is the one the user queued).
    std::string LocalRoot;
    // Uploads and copies: the file travels under a temporary name beside its target and takes
    // its place when complete (off for servers that refuse renames).
    bool UploadToTemporaryName = true;
};

// One unit of work for the transfer queue: a file to carry or a folder to explore. It holds
// its whole job, so that a queued transfer does not depend on the window that queued it.
struct TFTPCarryItem : TCarryJob {
    bool IsFolder = false;
    TCarryDirection Direction = TCarryDirection::Download;
    std::int64_t FileSize = -1; // -1 for folders and when unknown
    int ImageIndex = 0;
    std::string TypeName;
    // The carrier working on the item while it runs; null before and after.
    TFTPCarrier* Carrier = nullptr;
};

// The items an explored folder gave, in listing order. The list owns them until they are taken
// out; items nobody takes are freed with the list.
class TFTPCarryItems {
public:
    std::size_t Count() const { return m_items.size(); }
    bool Empty() const { return m_items.empty(); }
    TFTPCarryItem& operator[](std::size_t index) { return *m_items[index]; }
    const TFTPCarryItem& operator[](std::size_t index) const { return *m_items[index]; }
    void Add(std::unique_ptr<TFTPCarryItem> item) { m_items.push_back(std::move(item)); }
    // Hands every item to the caller and leaves the list empty.
    std::vector<std::unique_ptr<TFTPCarryItem>> TakeAll() { return std::exchange(m_items, {}); }
    void Clear() { m_items.clear(); }

private:
    std::vector<std::unique_ptr<TFTPCarryItem>> m_items;
};

// "ASCII", "Binary" or "Auto".
const char* TransferTypeName(TFTPTransferType type);

} // namespace qx
