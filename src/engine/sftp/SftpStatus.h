// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qx::sftp {

// What ended an SFTP request.
enum class TSftpError : std::uint8_t {
    None,
    EndOfFile,        // READ at or past the end, READDIR after the last name
    NoSuchFile,       // the server's "no such file"
    PermissionDenied, // the server's "permission denied"
    Failure,          // the server's "failure" (its text says why) and other codes
    Unsupported,      // the server does not know the request
    Exists,           // a rename or upload that must not replace found its target there
    Local,            // the local file could not be read or written
    Aborted,          // the caller aborted the transfer or the connection
    Cancelled,        // the user cancelled a question of the login
    HostKey,          // the server's host key was refused (unknown and not accepted, or changed)
    TimedOut,         // nothing came within the time limit; the connection is closed
    ConnectionLost,   // ssh ended, or the connection is not open
    Protocol,         // the server broke the protocol; the connection is closed
    Refused,          // the request cannot be made (bad arguments, already connected, ...)
};

struct TSftpResult {
    TSftpError Error = TSftpError::None;
    std::string Message; // for the user; empty when Ok

    bool Ok() const { return Error == TSftpError::None; }
    // The connection is gone after this result.
    bool Fatal() const {
        return Error == TSftpError::Cancelled || Error == TSftpError::HostKey ||
               Error == TSftpError::TimedOut || Error == TSftpError::ConnectionLost ||
               Error == TSftpError::Protocol;
    }
    static TSftpResult Success() { return {}; }
    static TSftpResult Failed(TSftpError error, std::string message) {
        return {error, std::move(message)};
    }
};

// A STATUS reply as a result: the code's own text, with the server's text after it where it
// says more ("Failure: disk quota exceeded").
TSftpResult StatusResult(std::uint32_t code, std::string_view serverText);

// Text from the server or from ssh made safe to show and log: control characters become '?',
// and it is cut at the limit.
std::string VisibleText(std::string_view text, std::size_t limit = 512);

} // namespace qx::sftp
