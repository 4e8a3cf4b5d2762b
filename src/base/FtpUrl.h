// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/SshSettings.h"

#include <optional>
#include <string>
#include <string_view>

namespace qx {

// ftp://[user[:password]@]host[:port]/path, percent-decoded. The path is taken as the URL
// gives it: relative to the folder the server logs the user into ("ftp://host/pub/a.txt" is
// "pub/a.txt"); a path that starts with "/" after the host ("ftp://host//etc" or
// "ftp://host/%2Fetc") is absolute. ftps:// is the same with implicit TLS, on port 990 unless
// the URL names another.
//
// sftp://[user[:password]@]host[:port]/path is SFTP on port 22 unless the URL names another.
// Its path is absolute ("sftp://host/srv/a.txt" is "/srv/a.txt"); one that starts with "/~/"
// is relative to the login folder ("sftp://host/~/a.txt" is "a.txt"), and a URL without a path
// names the login folder ("").
struct FtpUrl {
    TRemoteProtocolKind Protocol = TRemoteProtocolKind::Ftp;
    std::string User;     // empty: anonymous (SFTP: ssh's choice)
    std::string Password; // empty with a user: none given
    bool HasPassword = false;
    std::string Host;
    std::string Port = "21";
    std::string Path;
    bool ImplicitTls = false; // ftps://
};

// Nothing, with the reason in error (a text marked in "qx::Core"), when the text is not such a
// URL. A URL whose parts hold a CR, LF or NUL once decoded is refused: they would end the
// command that carries them, and what follows would reach the server as a command of its own.
std::optional<FtpUrl> ParseFtpUrl(std::string_view text, std::string& error);

// True when the text holds a CR, LF or NUL character.
bool HoldsLineBreakOrNul(std::string_view text);

// Encodes every byte as %XX but the unreserved characters (letters, digits, "-._~") and those
// in keep.
std::string PercentEncode(std::string_view text, std::string_view keep);

// Decodes %XX escapes; nothing when an escape is broken.
std::optional<std::string> PercentDecode(std::string_view text);

// The folder part and the last name of a remote path ("pub/a.txt" gives "pub" and "a.txt",
// "/a.txt" gives "/" and "a.txt", "a.txt" gives "" and "a.txt").
std::pair<std::string, std::string> SplitRemotePath(const std::string& path);

} // namespace qx
