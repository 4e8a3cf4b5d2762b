// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/CoreMessage.h"
#include "base/SshSettings.h"
#include "engine/FtpTypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// A site read from another client's site list, before it becomes a site of the book.
struct TImportedSite {
    std::vector<std::string> Folder; // the folders it sits in, outermost first
    std::string Name;
    TRemoteProtocolKind Protocol = TRemoteProtocolKind::Ftp;
    TFtpTlsMode Encryption = TFtpTlsMode::None;
    std::string Host;
    std::string Port; // the protocol's default when the list names none
    std::string User; // "anonymous" for anonymous logins
    std::optional<std::string> Password;
    std::string KeyFile;
    std::string RemoteFolder;
    std::string LocalFolder;
    std::optional<bool> Passive;
    int TimeZoneOffsetMinutes = 0;
};

// What a list gave: the sites, and one line for each thing left out and why ("[Work/Old]: WebDAV
// is not a protocol this program speaks").
struct TSiteImport {
    std::vector<TImportedSite> Sites;
    std::vector<TCoreMessage> Notes;
};

// The sites of a site manager file in XML (root <FileZilla3>, <Servers>, nested <Folder>s,
// <Server>s) or of an INI file with [Sessions\Name] groups; which one is told by the text.
// Nothing, with the reason in error, for a file that is neither or is damaged: nothing is
// half-read.
std::optional<TSiteImport> ReadSiteList(std::string_view text, TCoreMessage& error);

} // namespace qx
