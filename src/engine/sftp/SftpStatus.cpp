// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/sftp/SftpStatus.h"

#include "engine/sftp/SftpWire.h"

#include <algorithm>
#include <cctype>

namespace qx::sftp {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::string VisibleText(std::string_view text, std::size_t limit) {
    std::string visible;
    for (const char c : text.substr(0, limit)) {
        const auto byte = static_cast<unsigned char>(c);
        visible += byte < 0x20 || byte == 0x7f ? '?' : c;
    }
    if (text.size() > limit) {
        visible += "...";
    }
    return visible;
}

TSftpResult StatusResult(std::uint32_t code, std::string_view serverText) {
    TSftpError error = TSftpError::Failure;
    std::string text;
    switch (static_cast<TStatusCode>(code)) {
    case TStatusCode::Ok:
        return TSftpResult::Success();
    case TStatusCode::Eof:
        error = TSftpError::EndOfFile;
        text = "End of file";
        break;
    case TStatusCode::NoSuchFile:
        error = TSftpError::NoSuchFile;
        text = "No such file";
        break;
    case TStatusCode::PermissionDenied:
        error = TSftpError::PermissionDenied;
        text = "Permission denied";
        break;
    case TStatusCode::OpUnsupported:
        error = TSftpError::Unsupported;
        text = "Operation not supported by the server";
        break;
    case TStatusCode::BadMessage:
        text = "The server did not understand the request";
        break;
    case TStatusCode::NoConnection:
    case TStatusCode::ConnectionLost:
        error = TSftpError::ConnectionLost;
        text = "Connection lost";
        break;
    default:
        text = "Failure";
        break;
    }
    const std::string said = VisibleText(serverText);
    if (!said.empty() && !EqualsIgnoringCase(said, text)) {
        text += ": " + said;
    }
    return TSftpResult::Failed(error, text + ".");
}

} // namespace qx::sftp
