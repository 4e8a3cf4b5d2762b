#include "CliSession.h"

#include "engine/ListDecoder.h"
#include "engine/LocalFileStream.h"
#include "platform/TempFiles.h"
#include "session/SessionLog.h"

#include <filesystem>

namespace qx::cli {

namespace {

constexpr const char* kAnonymousPassword = "quorvin@example.com";

} // namespace

CliSession::CliSession(const FtpUrl& url, const CliOptions& options, std::ostream& log)
    : m_options(options), m_log(log) {
    m_engine.HostName = url.Host;
    m_engine.Port = url.Port;
    m_engine.UserName = url.User.empty() ? "anonymous" : url.User;
    m_engine.PassWord = url.User.empty() ? kAnonymousPassword : url.Password;
    m_engine.Passive = options.Passive;
    m_engine.Timeout = options.Timeout;
    m_engine.MultiThreaded = true;
    if (options.Verbose) {
        m_engine.OnCommand = [this](TCustomFtpCliEx&, std::string& command) {
            m_log << CommandLogLine(command) << '\n';
        };
        m_engine.OnResponse = [this](TCustomFtpCliEx& engine) {
            m_log << ReplyLogLine(engine.LastResponse()) << '\n';
        };
        m_engine.OnConnectState = [this](TCustomFtpCliEx& engine, TFTPConnectState state) {
            m_log << ConnectStateLogLine(state, engine.HostName, engine.DnsResult()) << '\n';
        };
        // The engine's own lines: statistics and transfer failures.
        m_engine.OnDisplay = [this](TCustomFtpCliEx&, std::string& line) {
            if (!line.empty() && line.front() == '!') {
                m_log << line << '\n';
            }
        };
    }
}

bool CliSession::Fail(const std::string& text) {
    m_failure = text;
    return false;
}

bool CliSession::Run(void (TCustomFtpCliEx::*request)()) {
    try {
        (m_engine.*request)();
    } catch (const std::exception& refused) {
        return Fail(refused.what());
    }
    if (m_engine.WaitForReady()) {
        return true;
    }
    return Fail(!m_engine.ErrorMessage().empty() ? m_engine.ErrorMessage()
                                                 : m_engine.LastResponse());
}

bool CliSession::Connect() {
    if (m_engine.PassWord.empty()) {
        return Fail("no password given for " + m_engine.UserName);
    }
    return Run(&TCustomFtpCliEx::Connect);
}

bool CliSession::ChangeFolder(const std::string& folder) {
    if (folder.empty()) {
        return true;
    }
    m_engine.HostDirName = folder;
    return Run(&TCustomFtpCliEx::Cwd);
}

bool CliSession::SetTransferType() {
    return Run(m_options.Ascii ? &TCustomFtpCliEx::SetTypeAscii : &TCustomFtpCliEx::SetTypeBinary);
}

bool CliSession::List(const std::string& folder, TFTPListItems& items) {
    if (!ChangeFolder(folder)) {
        return false;
    }
    std::string listingFile;
    try {
        listingFile = CreateTempFile(PrivateTempFolder()).Path;
    } catch (const std::exception& e) {
        return Fail(std::string("550 ") + e.what());
    }
    m_engine.HostFileName.clear();
    m_engine.LocalFileName = listingFile;
    if (!Run(&TCustomFtpCliEx::Dir)) {
        std::filesystem::remove(listingFile);
        return false;
    }
    if (!DecodeListFile(listingFile, items)) {
        std::filesystem::remove(listingFile);
        return Fail("550 Cannot read the listing file " + listingFile);
    }
    return true;
}

bool CliSession::Download(const std::string& remotePath, const std::string& localFile) {
    const auto [folder, name] = SplitRemotePath(remotePath);
    if (name.empty()) {
        return Fail("the URL names a folder, not a file");
    }
    std::string target = localFile;
    if (std::filesystem::is_directory(target)) {
        target = (std::filesystem::path(target) / name).string();
    }
    if (!ChangeFolder(folder) || !SetTransferType()) {
        return false;
    }
    m_engine.HostFileName = name;
    m_engine.LocalFileName = target;
    return Run(m_options.Resume ? &TCustomFtpCliEx::ResumeGet : &TCustomFtpCliEx::Get);
}

bool CliSession::Upload(const std::string& localFile, const std::string& remotePath) {
    const std::int64_t localSize = LocalFileSizeOf(localFile);
    if (localSize < 0) {
        return Fail("426 Unable to open local file " + localFile);
    }
    auto [folder, name] = SplitRemotePath(remotePath);
    if (name.empty()) {
        name = std::filesystem::path(localFile).filename().string();
    }
    if (!ChangeFolder(folder) || !SetTransferType()) {
        return false;
    }
    m_engine.HostFileName = name;
    m_engine.LocalFileName = localFile;
    m_engine.ResumeAt = 0;
    if (m_options.Resume && !m_options.Ascii) {
        // Continue a broken upload from the size the server already has.
        if (Run(&TCustomFtpCliEx::Size) && m_engine.SizeResult() > 0 &&
            m_engine.SizeResult() <= localSize) {
            if (m_engine.SizeResult() == localSize) {
                return true; // already complete
            }
            m_engine.ResumeAt = m_engine.SizeResult();
            return Run(&TCustomFtpCliEx::Append);
        }
        m_failure.clear();
    }
    return Run(&TCustomFtpCliEx::Put);
}

void CliSession::Quit() {
    if (m_engine.Connected()) {
        const std::string failure = m_failure;
        Run(&TCustomFtpCliEx::Quit);
        m_failure = failure;
    }
}

} // namespace qx::cli
