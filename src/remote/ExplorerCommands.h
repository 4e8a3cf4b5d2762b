// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ProxySettings.h"
#include "base/SshSettings.h"
#include "base/TransferType.h"
#include "engine/FTPListItem.h"
#include "queue/FTPCarryItem.h"
#include "remote/FTPFileData.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qx {

class TShellIcons;

// The commands of a remote explorer whose enabling depends on the window's state.
enum class TExplorerCommand {
    Download,
    DownloadTo,
    DownloadInQueue,
    Open,
    OnlineEdit,
    Print,
    UpOneLevel,
    NewFolder,
    ChangeFolder,
    Delete,
    Rename,
    ChangePermission,
    Filtering,
    Properties,
    CopyURL,
    Copy,
    Paste,
    Refresh,
    Abort,
    Synchronize,
    Compare,
    CompareDifferences,
    Find,
};

// What the enable rules look at. The tree target is the node marked as the target of a drop
// or a pop-up menu, else the selected node.
struct TExplorerState {
    bool Connected = false; // the folder tree stands
    bool Busy = false;      // the client works on a request
    bool TreeActive = false;
    bool ListActive = false;
    bool HasTreeTarget = false;
    bool TreeTargetIsRoot = false;
    bool SelectedNodeIsRoot = false;
    int ListSelected = 0;
    bool FirstSelectedIsFile = false; // of the selected list items
    bool FirstSelectedIsFolder = false;
    bool LocalFolderUsable = false; // the local explorer shows a folder of the file system
    bool EditorAvailable = false;
    bool ClipboardHasFiles = false; // local files or remote entries of this program
    bool Comparing = false;         // its folder is compared with a local one
};

bool CommandEnabled(TExplorerCommand command, const TExplorerState& state);

// The session a command or a drop works with.
struct TSessionLogin {
    std::string HostName;
    std::string Port;
    std::string UserName;
    std::string Password;
    TFTPTransferType TransferType = TFTPTransferType::ftpTypeBinary;
    bool ResumeTransfer = false;
    bool PassiveMode = false;
    TFtpTlsMode Encryption = TFtpTlsMode::None;
    TRemoteProtocolKind Protocol = TRemoteProtocolKind::Ftp;
    TSshSettings Ssh;
    bool UploadToTemporaryName = true; // what the session's site says
    int TimeZoneOffset = 0;            // minutes the server's LIST times run ahead of UTC
    TProxySettings Proxy;
    std::string NameCharset; // the file-name character set (base/NameCharset.h)
};

// ftp://, the user (user@) unless it is exactly "anonymous", the host, the port unless it is
// 21, and the path; for an SFTP session sftp://, the user unless empty and the port unless 22. The
// password is never put into it; characters a URL cannot carry as they are (blanks, "%", "#", "?",
// "@" and ":" in the user, control and non-ASCII bytes) are percent-encoded.
std::string CopyUrlText(const TSessionLogin& login, const std::string& path);

// A folder entry for a folder that has no entry of a listing (a node of the path the session
// started in, a folder just made): the name, size -1, dates "?", the folder's icon and type.
TFTPListItem MakeFolderEntry(const std::string& name, const std::string& permission,
                             const TShellIcons& icons);

// The permission text stored in an entry after a change: "d" first for a folder.
std::string ChangedPermission(const std::string& permission, bool folder);

// The session remote entries came from (its encryption too), as Copy and a drag carry it.
TSessionLogin FileDataLogin(const TFTPFileData& data);

// Remote entries leaving the window by a drag or by Copy.
TFTPFileData MakeFileData(const TSessionLogin& login, const std::string& hostDirName,
                          std::vector<TFTPListItem> entries);

// A queue item's destination: the session's server and login, and its temporary-name choice.
void SetDestination(TFTPCarryItem& item, const TSessionLogin& login);

// Queue items that download the entries of the source folder into the local folder. Entries
// whose names cannot be used as a local file name ("..", names with "/") are left out and
// their names added to skipped.
std::vector<std::unique_ptr<TFTPCarryItem>>
MakeDownloadItems(const TSessionLogin& source, const std::string& sourceFolder,
                  const std::vector<TFTPListItem>& entries, std::string localFolder,
                  std::vector<std::string>* skipped = nullptr);

// Queue items that upload local paths into the destination folder of the session. A path whose
// kind cannot be read counts as a folder.
std::vector<std::unique_ptr<TFTPCarryItem>> MakeUploadItems(const std::vector<std::string>& paths,
                                                            const TSessionLogin& destination,
                                                            const std::string& destinationFolder,
                                                            const TShellIcons& icons);

// Why remote entries may not be dropped into the folder of the same server: a folder into
// itself or below itself, files into their own folder (a text of "qx::Core"); none when they
// may.
std::optional<std::string> SameServerDropProblem(const TFTPFileData& data,
                                                 const std::string& destinationFolder);

// Queue items that copy remote entries from their server to the folder of the session's.
std::vector<std::unique_ptr<TFTPCarryItem>>
MakeServerToServerItems(const TFTPFileData& data, const TSessionLogin& destination,
                        const std::string& destinationFolder);

} // namespace qx
