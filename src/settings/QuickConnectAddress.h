// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace qx {

class TGlobalOptions;
class TSiteProperties;

// The quick-connect site of an address ftp://[user[:password]@]host[:port]/path (the rules of
// ParseFtpUrl): host, port and login from the address, the path as the folder to show first,
// the other settings the defaults of the options. Without a user name the login is anonymous
// with the e-mail address of the options; a user without a password is asked for it when the
// explorer connects. An sftp:// address (as far as the parser takes one) makes an SFTP site,
// whose login without a user is left to ssh. Nothing, with the reason in error, when the text
// is no such address.
std::unique_ptr<TSiteProperties>
QuickConnectSiteOf(std::string_view address, const TGlobalOptions& options, std::string& error);

} // namespace qx
