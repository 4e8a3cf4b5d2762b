// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace qx {

// Copies the server and login of a session between the types that carry one (a session's
// client, the login a command works with, remote entries on the clipboard, a file of the online
// editor). Resume, the temporary-name choice, the server's time-zone offset, the proxy and the
// file-name character set go along where both sides have them.
template <class To, class From> void CopyLogin(To& to, const From& from) {
    to.HostName = from.HostName;
    to.Port = from.Port;
    to.UserName = from.UserName;
    to.Password = from.Password;
    to.TransferType = from.TransferType;
    to.PassiveMode = from.PassiveMode;
    to.Encryption = from.Encryption;
    to.Protocol = from.Protocol;
    to.Ssh = from.Ssh;
    if constexpr (requires { to.ResumeTransfer = from.ResumeTransfer; }) {
        to.ResumeTransfer = from.ResumeTransfer;
    }
    if constexpr (requires { to.UploadToTemporaryName = from.UploadToTemporaryName; }) {
        to.UploadToTemporaryName = from.UploadToTemporaryName;
    }
    if constexpr (requires { to.TimeZoneOffset = from.TimeZoneOffset; }) {
        to.TimeZoneOffset = from.TimeZoneOffset;
    }
    if constexpr (requires { to.Proxy = from.Proxy; }) {
        to.Proxy = from.Proxy;
    }
    if constexpr (requires { to.NameCharset = from.NameCharset; }) {
        to.NameCharset = from.NameCharset;
    }
}

} // namespace qx
