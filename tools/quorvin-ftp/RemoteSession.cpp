// SPDX-License-Identifier: GPL-3.0-or-later
#include "RemoteSession.h"

#include "CliOutput.h"
#include "CliSite.h"

#include "base/FtpUrl.h"

#include <iostream>
#include <memory>

namespace qx::cli {

namespace {

// A remote argument given with --site: a plain path of the site, or a URL of which only the
// path counts. Empty when fine, else the usage error.
std::string sitePath(const std::string& text, std::vector<std::string>& paths) {
    if (text.rfind("ftp://", 0) != 0 && text.rfind("ftps://", 0) != 0 &&
        text.rfind("sftp://", 0) != 0) {
        paths.push_back(text);
        return UnsendableName(text, "remote path");
    }
    std::string problem;
    const auto url = ParseFtpUrl(text, problem);
    if (url) {
        paths.push_back(url->Path);
    }
    return problem;
}

// The remote arguments of the call as paths, and (without a site) the server their URLs name,
// which must be one. Empty when fine, else the usage error.
std::string resolveRemote(const CommandCall& call, bool withSite, CliTarget& target,
                          std::vector<std::string>& paths) {
    for (std::size_t i = 0; i < call.arguments.size(); ++i) {
        if (KindOfArgument(ArgumentName(call.command, i)) != ArgumentKind::Remote) {
            continue;
        }
        const std::string& text = call.arguments[i];
        if (withSite) {
            if (std::string problem = sitePath(text, paths); !problem.empty()) {
                return problem;
            }
            continue;
        }
        std::string problem;
        const auto url = ParseFtpUrl(text, problem);
        if (!url) {
            return problem;
        }
        if (!paths.empty() && (url->Host != target.Host || url->Port != target.Port ||
                               url->Protocol != target.Protocol)) {
            return "all URLs of one command must name the same server";
        }
        target.Protocol = url->Protocol;
        target.Host = url->Host;
        target.Port = url->Port;
        target.User = url->User;
        target.Password = url->Password;
        if (url->ImplicitTls) {
            target.Encryption = TFtpTlsMode::Implicit;
        }
        paths.push_back(url->Path);
    }
    return {};
}

// The options of the command line over what the site or the URL set.
void applyOptions(const CliOptions& options, CliTarget& target) {
    if (options.passive) {
        target.Passive = *options.passive;
    }
    if (options.noMlsd) {
        target.UseMlsd = false;
    }
    if (options.type) {
        target.Type = *options.type;
    }
    if (options.resume) {
        target.Resume = true;
    }
    if (options.inplace) {
        target.UploadToTemporaryName = false;
    }
    target.Timeout = options.timeout;
    target.KeepTimes = options.keepTimes;
    if (options.timeZoneOffset) {
        target.TimeZoneOffset = *options.timeZoneOffset;
    }
    if (options.charset) {
        target.NameCharset = *options.charset;
    }
    if (options.limitRate > 0) {
        target.DownloadLimit = target.UploadLimit = options.limitRate;
    }
    if (options.tls && target.Encryption != TFtpTlsMode::Implicit) {
        target.Encryption = *options.tls;
    }
    target.PinnedFingerprints = options.pins;
    target.Insecure = options.insecure;
    target.WhenTargetExists = options.whenTargetExists;
    if (!options.identity.empty()) {
        target.Ssh.IdentityFile = options.identity;
    }
    if (!options.knownHosts.empty()) {
        target.Ssh.KnownHostsFile = options.knownHosts;
    }
    if (!options.sshConfig.empty()) {
        target.Ssh.ConfigFile = options.sshConfig;
    }
    target.Ssh.AcceptNewHostKey = target.Ssh.AcceptNewHostKey || options.acceptNewHostKey;
    target.Ssh.Options.insert(target.Ssh.Options.end(), options.sshOptions.begin(),
                              options.sshOptions.end());
    if (options.proxy) {
        target.Proxy = *options.proxy;
    }
}

// The exit status of the work on the session, told on the error stream; quits the session.
int finish(CliSession& session, bool ok, const RemoteWork& work) {
    const std::string failure = session.Failure();
    const std::vector<std::string> skipped = session.Skipped();
    const std::vector<std::string> missed = session.Missed();
    session.Quit();
    if (!work.outputProblem.empty()) {
        return Fail(work.outputProblem);
    }
    // A download that went on past entries it could not fetch fails for them, and their list
    // says more than the session's summary of it; a failure of another kind is told first.
    const bool onlyMissed =
        !missed.empty() && failure.find(" could not be downloaded; ") != std::string::npos;
    if (!ok && !onlyMissed && !work.failuresTold) {
        Fail(failure);
    }
    if (!missed.empty()) {
        ReportEntries(missed, " entry could not be downloaded", " entries could not be downloaded");
    }
    if (!skipped.empty()) {
        ReportEntries(skipped, " entry was skipped", " entries were skipped");
    }
    return ok && skipped.empty() ? 0 : kExitFailure;
}

} // namespace

std::string UnsendableName(const std::string& name, const std::string& what) {
    if (!HoldsLineBreakOrNul(name)) {
        return {};
    }
    return "the " + what + " holds a CR, LF or NUL character, which no FTP command can carry";
}

int RunOnSession(const CommandCall& call, const std::function<bool(RemoteWork&)>& work) {
    const CliOptions& options = call.options;
    CliTarget target;
    std::unique_ptr<CliSite> site;
    if (!options.site.empty()) {
        std::string problem;
        site = CliSite::Open(options.site, problem);
        if (!site) {
            return Fail(problem);
        }
        target = site->Target();
    }
    std::vector<std::string> paths;
    if (std::string problem = resolveRemote(call, site != nullptr, target, paths);
        !problem.empty()) {
        return Usage(problem, call.command.name);
    }
    applyOptions(options, target);

    const TAsciiExtensions defaultExtensions(DefaultAsciiExtensions());
    CliSession session(target, site ? site->AsciiExtensions() : defaultExtensions, options.verbose,
                       std::cerr, &call.interrupted);
    if (!session.Connect()) {
        const int status = Fail(session.Failure());
        return session.HostKeyRefused() ? kExitUsage : status;
    }
    RemoteWork remote{session, paths, target};
    const bool ok = work(remote);
    return finish(session, ok, remote);
}

} // namespace qx::cli
