#pragma once

#include "FtpUrl.h"

#include "engine/FTPListItem.h"
#include "engine/FtpClientEx.h"
#include "platform/MessageQueue.h"

#include <ostream>
#include <string>

namespace qx::cli {

struct CliOptions {
    bool Passive = true;
    bool Ascii = false;
    bool Resume = false;
    bool Verbose = false;
    int Timeout = 30; // seconds without progress
};

// One FTP session of the tool, run synchronously on the calling thread. With Verbose the
// session log goes to the log stream, passwords masked.
class CliSession {
public:
    CliSession(const FtpUrl& url, const CliOptions& options, std::ostream& log);

    bool Connect();
    bool List(const std::string& folder, TFTPListItems& items);
    bool Download(const std::string& remotePath, const std::string& localFile);
    bool Upload(const std::string& localFile, const std::string& remotePath);
    void Quit();

    // The failing reply (or the local failure) of the last step that failed.
    const std::string& Failure() const { return m_failure; }

private:
    bool Run(void (TCustomFtpCliEx::*request)());
    bool ChangeFolder(const std::string& folder);
    bool SetTransferType();
    bool Fail(const std::string& text);

    CliOptions m_options;
    std::ostream& m_log;
    MessageQueue m_queue;
    TFtpClientEx m_engine{m_queue};
    std::string m_failure;
};

} // namespace qx::cli
