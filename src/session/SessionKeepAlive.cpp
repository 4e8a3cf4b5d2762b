// SPDX-License-Identifier: GPL-3.0-or-later
// The keep-alive of an idle session: an FTP connection that ran nothing for the interval sends
// NOOP, so that the server does not drop it for idling. (SFTP leaves it to ssh's server-alive
// checks.) A connection the server dropped anyway is connected again by the next request.

#include "session/FTPClientThread.h"

#include <algorithm>

namespace qx {

std::chrono::milliseconds TFTPClientThread::IdleWait() {
    const int interval = m_keepAliveInterval;
    if (interval <= 0 || m_driver != m_ftp.get() || !m_ftp->Connected()) {
        return std::chrono::milliseconds{0};
    }
    const auto due = m_lastUse + std::chrono::seconds(interval);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        due - std::chrono::steady_clock::now());
    return std::max(left, std::chrono::milliseconds{1});
}

void TFTPClientThread::Idle() {
    const int interval = m_keepAliveInterval;
    if (interval <= 0 || m_driver != m_ftp.get() || !m_ftp->Connected() ||
        std::chrono::steady_clock::now() - m_lastUse < std::chrono::seconds(interval)) {
        return;
    }
    // The outcome of the last request stays what its owner was told.
    TThreadedFTPClient& client = *m_client;
    const std::uint8_t result = client.ResultCode;
    std::string error = client.ErrorMessage;
    AbortFlag = false;
    m_ftp->RawCommand("NOOP");
    client.ResultCode = result;
    client.ErrorMessage = std::move(error);
    m_lastUse = std::chrono::steady_clock::now();
}

} // namespace qx
