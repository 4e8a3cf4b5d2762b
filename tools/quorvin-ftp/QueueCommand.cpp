// SPDX-License-Identifier: GPL-3.0-or-later
#include "QueueCommand.h"

#include "CliSession.h"

#include "CliSite.h"
#include "VisibleText.h"
#include "base/FtpUrl.h"
#include "base/ShellIcons.h"
#include "platform/PumpedUiThread.h"
#include "queue/CarrierQueue.h"
#include "queue/ThreadedFTPCarrier.h"
#include "session/ResumeRule.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace qx::cli {

namespace {

using namespace std::chrono_literals;

std::string FolderPath(std::string path) {
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

// Builds queue items from jobs, asking each server (one session per login) whether a path is
// a folder and where relative paths lead.
class ItemBuilder {
public:
    ItemBuilder(const QueueRunOptions& options, const TAsciiExtensions& ascii, std::ostream& err)
        : m_options(options), m_ascii(ascii), m_err(err) {}

    ~ItemBuilder() {
        for (auto& [key, session] : m_sessions) {
            session->Quit();
        }
    }

    // Nothing, with the reason in problem, when the job cannot be queued.
    std::unique_ptr<TFTPCarryItem> Build(const QueueJob& job, std::string& problem) {
        auto item = std::make_unique<TFTPCarryItem>();
        item->ResumeTransfer = m_options.resume;
        item->UploadToTemporaryName = m_options.uploadToTemporaryName;
        item->SrcTimeZoneOffset = item->DestTimeZoneOffset = m_options.timeZoneOffset;
        item->SrcNameCharset = item->DestNameCharset = m_options.charset;
        item->SrcTransferType = item->DestTransferType = m_options.type;
        switch (job.kind) {
        case QueueJob::Kind::Get: {
            item->Direction = TCarryDirection::Download;
            item->PassiveMode = m_options.passive;
            if (!RemoteSource(job.source, *item, problem)) {
                return nullptr;
            }
            std::error_code error;
            const fs::path local = fs::absolute(job.destination, error);
            fs::create_directories(local, error);
            if (!fs::is_directory(local)) {
                problem = job.destination + " is not a folder that can be written";
                return nullptr;
            }
            item->DestPath = FolderPath(local.string());
            break;
        }
        case QueueJob::Kind::Put: {
            item->Direction = TCarryDirection::Upload;
            item->PassiveMode = m_options.passive;
            std::error_code error;
            const fs::path local = fs::absolute(job.source, error).lexically_normal();
            const auto status = fs::status(local, error);
            if (!fs::exists(status)) {
                problem = job.source + ": no such file or folder";
                return nullptr;
            }
            item->IsFolder = fs::is_directory(status);
            item->FileName = local.filename().string();
            item->SrcPath = FolderPath(local.parent_path().string());
            item->FileSize =
                item->IsFolder ? -1 : static_cast<std::int64_t>(fs::file_size(local, error));
            DescribeQueueItem(*item);
            if (!RemoteDestination(job.destination, *item, problem)) {
                return nullptr;
            }
            break;
        }
        case QueueJob::Kind::Copy:
            item->Direction = TCarryDirection::ServerToServer;
            // The data goes between the servers; the carriers' listings use the mode asked for.
            item->PassiveMode = m_options.passive;
            if (!RemoteSource(job.source, *item, problem) ||
                !RemoteDestination(job.destination, *item, problem)) {
                return nullptr;
            }
            break;
        }
        return item;
    }

private:
    CliSession* SessionFor(const FtpUrl& url, CliTarget& target, std::string& problem) {
        target.Protocol = url.Protocol;
        target.Host = url.Host;
        target.Port = url.Port;
        target.User = url.User;
        target.Password = url.Password;
        target.Passive = m_options.passive;
        target.Timeout = m_options.timeout;
        target.TimeZoneOffset = m_options.timeZoneOffset;
        target.NameCharset = m_options.charset;
        target.Encryption = url.ImplicitTls ? TFtpTlsMode::Implicit : m_options.tls;
        target.PinnedFingerprints = m_options.pins;
        target.Insecure = m_options.insecure;
        target.Proxy = m_options.proxy;
        if (url.Protocol == TRemoteProtocolKind::Sftp) {
            target.Ssh = m_options.ssh;
        }
        const std::string key = std::to_string(static_cast<int>(url.Protocol)) + '\n' + url.Host +
                                '\n' + url.Port + '\n' + url.User;
        auto& session = m_sessions[key];
        if (!session) {
            session = std::make_unique<CliSession>(target, m_ascii, m_options.verbose, m_err,
                                                   m_options.interrupted);
            if (!session->Connect()) {
                problem = url.Host + ": " + session->Failure();
                m_sessions.erase(key);
                return nullptr;
            }
        }
        return session.get();
    }

    bool RemoteSource(const std::string& text, TFTPCarryItem& item, std::string& problem) {
        const auto url = ParseFtpUrl(text, problem);
        CliTarget target;
        CliSession* session = url ? SessionFor(*url, target, problem) : nullptr;
        if (session == nullptr) {
            return false;
        }
        const std::string path = session->Absolute(url->Path);
        const auto [folder, name] = SplitRemotePath(path);
        SetSourceServer(item, target);
        item.IsFolder = name.empty() || session->IsFolder(path);
        item.FileName = name; // empty for the top folder: its entries go straight in
        item.SrcPath = FolderPath(folder);
        DescribeQueueItem(item);
        return true;
    }

    bool RemoteDestination(const std::string& text, TFTPCarryItem& item, std::string& problem) {
        const auto url = ParseFtpUrl(text, problem);
        CliTarget target;
        CliSession* session = url ? SessionFor(*url, target, problem) : nullptr;
        if (session == nullptr) {
            return false;
        }
        SetDestinationServer(item, target);
        item.DestPath = FolderPath(session->Absolute(url->Path));
        return true;
    }

    const QueueRunOptions& m_options;
    const TAsciiExtensions& m_ascii;
    std::ostream& m_err;
    std::map<std::string, std::unique_ptr<CliSession>> m_sessions;
};

// Shows what the queue does: on a terminal the status rows, redrawn in place; otherwise a
// line for each item that starts. With verbose, every carrier line goes to the error stream.
class StatusDisplay final : public TCarrierQueueView {
public:
    StatusDisplay(const TCarrierQueue& queue, std::ostream& out, std::ostream& err, bool live,
                  bool verbose)
        : m_queue(queue), m_out(out), m_err(err), m_live(live), m_verbose(verbose) {}

    void RowsAboutToBeInserted(TCarrierList list, std::size_t first, std::size_t) override {
        m_inserting = list == TCarrierList::Status ? first : kNone;
    }
    void RowsInserted(TCarrierList list) override {
        if (list == TCarrierList::Status && !m_live && m_inserting != kNone) {
            m_out << "start " << Row(TCarrierList::Status, m_inserting) << '\n';
        }
        m_inserting = kNone;
    }
    void CarrierLine(std::size_t row, const std::string& line) override {
        // Why a --resume starts from the beginning is told even without the log.
        if (m_verbose || IsNotResumedLine(line)) {
            Erase();
            m_err << VisibleText(m_queue.Text(TCarrierList::Status, row, 0)) << ": "
                  << VisibleText(line) << '\n';
        }
    }

    // Redraws the status rows on a terminal.
    void Refresh() {
        if (!m_live) {
            return;
        }
        Erase();
        const std::size_t width = TerminalWidth();
        std::ostringstream lines;
        const std::size_t rows = m_queue.RowCount(TCarrierList::Status);
        for (std::size_t row = 0; row < rows; ++row) {
            const auto text = [&](std::size_t column) {
                return m_queue.Text(TCarrierList::Status, row, column);
            };
            std::string line = text(3) + " " + text(0) + "  " + text(6) + "  " + text(7) + "  " +
                               text(8) + "  " + text(9) + "  " + text(10);
            if (line.size() >= width) {
                line.resize(width - 1);
            }
            lines << VisibleText(line) << '\n';
        }
        lines << "[" << m_queue.RowCount(TCarrierList::Queue) << " queued, " << rows << " running, "
              << m_queue.RowCount(TCarrierList::Success) << " done, "
              << m_queue.RowCount(TCarrierList::Fail) << " failed]\n";
        m_out << lines.str() << std::flush;
        m_shown = rows + 1;
    }

    // Removes the live rows, before other output and at the end.
    void Erase() {
        for (; m_shown > 0; --m_shown) {
            m_out << "\x1b[1A\x1b[2K";
        }
        m_out << std::flush;
    }

    std::string Row(TCarrierList list, std::size_t row) const {
        return VisibleText(m_queue.Text(list, row, 3) + " " + m_queue.Text(list, row, 1) +
                           m_queue.Text(list, row, 0) + " -> " + m_queue.Text(list, row, 2));
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    static std::size_t TerminalWidth() {
        winsize size{};
        if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 20) {
            return size.ws_col;
        }
        return 80;
    }

    const TCarrierQueue& m_queue;
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_live;
    bool m_verbose;
    std::size_t m_inserting = kNone;
    std::size_t m_shown = 0;
};

} // namespace

void SetSourceServer(TFTPCarryItem& item, const CliTarget& target) {
    item.SrcHostName = target.Host;
    item.SrcPort = target.Port;
    item.SrcUserName = CliSession::LoginName(target);
    item.SrcPassword = CliSession::LoginPassword(target);
    item.SrcEncryption = target.Encryption;
    item.SrcProtocol = target.Protocol;
    item.SrcSsh = target.Ssh;
    item.SrcProxy = target.Proxy;
    item.SrcTimeZoneOffset = target.TimeZoneOffset;
    item.SrcNameCharset = target.NameCharset;
}

void SetDestinationServer(TFTPCarryItem& item, const CliTarget& target) {
    item.DestHostName = target.Host;
    item.DestPort = target.Port;
    item.DestUserName = CliSession::LoginName(target);
    item.DestPassword = CliSession::LoginPassword(target);
    item.DestEncryption = target.Encryption;
    item.DestProtocol = target.Protocol;
    item.DestSsh = target.Ssh;
    item.DestProxy = target.Proxy;
    item.DestTimeZoneOffset = target.TimeZoneOffset;
    item.DestNameCharset = target.NameCharset;
}

void DescribeQueueItem(TFTPCarryItem& item) {
    const TShellIcons& icons = SharedShellIcons();
    item.ImageIndex = item.IsFolder ? icons.FolderIconIndex : icons.GetIconIndex(item.FileName);
    item.TypeName = item.IsFolder ? icons.FolderTypeName : icons.GetTypeName(item.FileName);
}

QueueRunOptions QueueOptionsOf(const CliOptions& options, const std::atomic<bool>& interrupted) {
    QueueRunOptions run;
    run.passive = options.passive.value_or(true);
    run.type = options.type.value_or(TFTPTransferType::ftpTypeBinary);
    run.resume = options.resume;
    run.uploadToTemporaryName = !options.inplace;
    run.verbose = options.verbose;
    run.carriers = options.carriers;
    run.limitRate = options.limitRate;
    run.timeout = options.timeout;
    run.keepTimes = options.keepTimes;
    run.timeZoneOffset = options.timeZoneOffset.value_or(0);
    run.charset = options.charset.value_or("");
    run.whenTargetExists = options.whenTargetExists;
    run.tls = options.tls.value_or(TFtpTlsMode::None);
    run.pins = options.pins;
    run.insecure = options.insecure;
    run.ssh.IdentityFile = options.identity;
    run.ssh.KnownHostsFile = options.knownHosts;
    run.ssh.ConfigFile = options.sshConfig;
    run.ssh.AcceptNewHostKey = options.acceptNewHostKey;
    run.ssh.Options = options.sshOptions;
    run.proxy = options.proxy.value_or(TProxySettings{});
    run.interrupted = &interrupted;
    return run;
}

int RunQueueJobs(const std::vector<QueueJob>& jobs, const QueueRunOptions& options,
                 std::ostream& out, std::ostream& err) {
    const TAsciiExtensions ascii(DefaultAsciiExtensions());
    std::vector<std::unique_ptr<TFTPCarryItem>> items;
    {
        ItemBuilder builder(options, ascii, err);
        for (const QueueJob& job : jobs) {
            std::string problem;
            auto item = builder.Build(job, problem);
            if (!item) {
                err << "quorvin-ftp: ";
                if (job.line > 0) {
                    err << "line " << job.line << ": ";
                }
                err << problem << '\n';
                return 1;
            }
            items.push_back(std::move(item));
        }
    }
    return RunQueueItems(std::move(items), options, out, err, true, nullptr);
}

int RunQueueItems(std::vector<std::unique_ptr<TFTPCarryItem>> items, const QueueRunOptions& options,
                  std::ostream& out, std::ostream& err, bool listSuccesses,
                  QueueRunReport* report) {
    const TAsciiExtensions ascii(DefaultAsciiExtensions());
    PumpedUiThread ui;
    TCarrierQueue queue(
        [&ui, timeout = options.timeout, keepTimes = options.keepTimes] {
            auto carrier = TThreadedFTPCarrier::Create(ui);
            carrier->LowestPriority = false; // the work in front of the user
            carrier->ConnectRetry = 3;
            carrier->Timeout = timeout;
            carrier->KeepFileTimes = keepTimes;
            return carrier;
        },
        &ascii);
    StatusDisplay display(queue, out, err, ::isatty(STDOUT_FILENO) == 1, options.verbose);
    queue.SetView(&display);
    queue.SetMaxCarrier(options.carriers);
    queue.SpeedLimits = TSpeedLimits::Make(options.limitRate, options.limitRate);
    queue.TrustedFingerprints = options.pins;
    queue.AcceptAnyCertificate = options.insecure;
    if (options.whenTargetExists) {
        queue.AskOverwrite = [choice = *options.whenTargetExists](const TOverwriteQuestion&) {
            return TOverwriteAnswer{choice, true, {}};
        };
    }
    queue.AddItems(std::move(items));
    queue.StartCarriers();
    bool stopped = false;
    while (!queue.Idle()) {
        ui.pumpUntil([&queue] { return queue.Idle(); }, 250ms);
        if (!stopped && options.interrupted != nullptr && options.interrupted->load()) {
            queue.Suspend();
            queue.AbortAll();
            stopped = true;
        }
        display.Refresh();
    }
    ui.pumpUntil([&queue] { return !queue.WorkersRunning(); }, 30s);
    display.Erase();
    queue.SetView(nullptr);

    const std::size_t succeeded = queue.RowCount(TCarrierList::Success);
    const std::size_t failed = queue.RowCount(TCarrierList::Fail);
    if (listSuccesses) {
        out << "Success (" << succeeded << "):\n";
        for (std::size_t row = 0; row < succeeded; ++row) {
            const std::string size = queue.Text(TCarrierList::Success, row, 4);
            out << "  " << display.Row(TCarrierList::Success, row)
                << (size.empty() ? "" : "  " + size + " bytes") << '\n';
        }
    }
    if (listSuccesses || failed > 0) {
        out << "Fail (" << failed << "):\n";
    }
    for (std::size_t row = 0; row < failed; ++row) {
        out << "  " << display.Row(TCarrierList::Fail, row) << ": "
            << VisibleText(queue.Text(TCarrierList::Fail, row, 6)) << '\n';
        const TFTPCarryItem* item = queue.Item(TCarrierList::Fail, row);
        if (report != nullptr && item != nullptr) {
            report->failedSources.push_back(item->SrcPath + item->FileName);
        }
    }
    if (report != nullptr) {
        report->succeeded = succeeded;
    }
    const std::vector<std::string>& skipped = queue.SkippedEntries();
    if (!skipped.empty()) {
        out << "Skipped (" << skipped.size() << "):\n";
        for (const std::string& line : skipped) {
            out << "  " << VisibleText(line) << '\n';
        }
    }
    out << std::flush;
    return failed == 0 && skipped.empty() ? 0 : 1;
}

} // namespace qx::cli
