// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/LocalFileCopy.h"

#include "base/Translatable.h"
#include "base/Utilities.h"
#include "local/LocalFileSystem.h"
#include "local/LocalTransfers.h"
#include "platform/UniqueFd.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace qx {

namespace fs = std::filesystem;

namespace {

std::string Trimmed(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string Folder(const std::string& path) {
    std::string folder = Trimmed(path);
    AddTrailingSeparator(folder);
    return folder;
}

bool Exists(const std::string& path) {
    std::error_code error;
    return fs::symlink_status(path, error).type() != fs::file_type::not_found;
}

std::int64_t TreeBytes(const std::string& path) {
    std::error_code error;
    const auto status = fs::symlink_status(path, error);
    if (fs::is_regular_file(status)) {
        const auto size = fs::file_size(path, error);
        return error ? 0 : static_cast<std::int64_t>(size);
    }
    std::int64_t total = 0;
    if (fs::is_directory(status)) {
        for (fs::recursive_directory_iterator it(path, error), end; !error && it != end;
             it.increment(error)) {
            if (it->is_regular_file(error) && !it->is_symlink(error)) {
                total += static_cast<std::int64_t>(it->file_size(error));
            }
        }
    }
    return total;
}

} // namespace

std::optional<TCoreMessage> CopyProblem(const TCopyRequest& request) {
    std::error_code error;
    if (!fs::is_directory(request.DestinationFolder, error)) {
        return TCoreMessage(
            QX_TRANSLATE_NOOP("qx::Core", "Cannot paste into [%1]: it is not a folder."),
            {request.DestinationFolder});
    }
    const auto destination = fs::weakly_canonical(request.DestinationFolder, error).string();
    for (const std::string& source : request.Sources) {
        if (!fs::is_directory(fs::symlink_status(source, error))) {
            continue;
        }
        const std::string folder = Folder(fs::weakly_canonical(source, error).string());
        if (Folder(destination) == folder || Folder(destination).starts_with(folder)) {
            return TCoreMessage(QX_TRANSLATE_NOOP("qx::Core", "Cannot paste [%1] into itself."),
                                {source});
        }
    }
    return std::nullopt;
}

std::vector<std::string> ConflictingSources(const TCopyRequest& request) {
    std::vector<std::string> conflicts;
    const std::string destination = Folder(request.DestinationFolder);
    for (const std::string& source : request.Sources) {
        if (LocalParentFolder(source) == destination) {
            continue;
        }
        if (Exists(destination + LocalBaseName(source))) {
            conflicts.push_back(source);
        }
    }
    return conflicts;
}

TFileCopyJob::TFileCopyJob(TCopyRequest request, std::set<std::string> replace)
    : m_request(std::move(request)), m_replace(std::move(replace)) {}

void TFileCopyJob::Fail(const std::string& path, TCoreMessage reason) {
    m_result.Failures.emplace_back(m_request.Move
                                       ? QX_TRANSLATE_NOOP("qx::Core", "Cannot move [%1]: %2.")
                                       : QX_TRANSLATE_NOOP("qx::Core", "Cannot copy [%1]: %2."),
                                   std::vector<TCoreMessage>{path, std::move(reason)});
}

void TFileCopyJob::Report(const std::string& name) {
    m_state.CurrentName = name;
    if (*m_progress) {
        (*m_progress)(m_state);
    }
}

TCopyResult TFileCopyJob::Run(const std::function<void(const TCopyProgress&)>& progress,
                              const std::atomic<bool>& abort) {
    m_progress = &progress;
    m_abort = &abort;
    m_result = {};
    if (const auto problem = CopyProblem(m_request)) {
        m_result.Failures.push_back(*problem);
        return m_result;
    }
    for (const std::string& source : m_request.Sources) {
        m_state.TotalBytes += TreeBytes(source);
    }
    const std::string destination = Folder(m_request.DestinationFolder);
    for (const std::string& rawSource : m_request.Sources) {
        if (abort) {
            m_result.Aborted = true;
            break;
        }
        const std::string source = Trimmed(rawSource);
        const std::string name = LocalBaseName(source);
        if (name.empty() || !Exists(source)) {
            Fail(source, QX_TRANSLATE_NOOP("qx::Core", "it does not exist"));
            continue;
        }
        const bool ownFolder = LocalParentFolder(source) == destination;
        if (ownFolder && m_request.Move) {
            continue; // already there
        }
        std::string target = destination + name;
        const bool conflict = !ownFolder && Exists(target);
        const bool replace = conflict && m_replace.contains(rawSource);
        if (conflict && !replace) {
            continue;
        }
        if (ownFolder) {
            target = destination + UniqueName(destination, name, true);
        }
        if (m_request.Move && !conflict && std::rename(source.c_str(), target.c_str()) == 0) {
            m_state.DoneBytes += TreeBytes(target);
            m_result.Created.push_back(target);
            Report(name);
            continue;
        }
        if (CopyTree(source, target, replace)) {
            m_result.Created.push_back(target);
            if (m_request.Move) {
                std::error_code error;
                fs::remove_all(source, error);
                if (error) {
                    Fail(source, {QX_TRANSLATE_NOOP(
                                      "qx::Core", "copied, but the original cannot be removed: %1"),
                                  {error.message()}});
                }
            }
        } else if (abort) {
            m_result.Aborted = true;
            break;
        }
    }
    return m_result;
}

bool TFileCopyJob::CopyTree(const std::string& from, const std::string& to, bool replace) {
    std::error_code error;
    const auto status = fs::symlink_status(from, error);
    if (fs::is_symlink(status)) {
        if (Exists(to)) {
            if (!replace || fs::is_directory(fs::symlink_status(to, error))) {
                return true; // a folder is never replaced by a link
            }
            fs::remove(to, error);
        }
        fs::copy_symlink(from, to, error);
        if (error) {
            Fail(from, error.message());
        }
        return !error;
    }
    if (!fs::is_directory(status)) {
        return CopyFile(from, to, replace);
    }
    if (!fs::is_directory(fs::symlink_status(to, error))) {
        if (Exists(to)) {
            Fail(from, QX_TRANSLATE_NOOP("qx::Core", "a file of that name is in the way"));
            return false;
        }
        if (::mkdir(to.c_str(), 0777) != 0) {
            Fail(from, std::string(std::strerror(errno)));
            return false;
        }
        fs::permissions(to, status.permissions(), error);
    }
    bool complete = true;
    for (fs::directory_iterator it(from, error), end; it != end; it.increment(error)) {
        if (error || *m_abort) {
            break;
        }
        const std::string child = it->path().filename().string();
        const std::string target = to + "/" + child;
        if (Exists(target) && !replace) {
            continue;
        }
        complete = CopyTree(it->path().string(), target, replace) && complete;
    }
    if (error) {
        Fail(from, error.message());
        return false;
    }
    return complete && !*m_abort;
}

bool TFileCopyJob::CopyFile(const std::string& from, const std::string& to, bool replace) {
    UniqueFd input(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!input || ::fstat(input.get(), &info) != 0) {
        Fail(from, std::string(std::strerror(errno)));
        return false;
    }
    // A new file is made under its final name exclusively; a replaced one beside it first.
    const bool exists = Exists(to);
    if (exists && !replace) {
        return true;
    }
    const std::string partial =
        exists ? LocalParentFolder(to) +
                     UniqueName(LocalParentFolder(to), "." + LocalBaseName(to) + ".partial")
               : to;
    UniqueFd output(
        ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 07777));
    if (!output) {
        Fail(from, std::string(std::strerror(errno)));
        return false;
    }
    std::vector<char> buffer(1 << 20);
    bool ok = true;
    std::string reason;
    while (ok) {
        if (*m_abort) {
            ok = false;
            reason = "aborted";
            break;
        }
        const ssize_t got = ::read(input.get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            ok = got == 0;
            reason = std::strerror(errno);
            break;
        }
        for (ssize_t written = 0; written < got;) {
            const ssize_t put = ::write(output.get(), buffer.data() + written,
                                        static_cast<std::size_t>(got - written));
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                ok = false;
                reason = std::strerror(errno);
                break;
            }
            written += put;
        }
        m_state.DoneBytes += got;
        Report(LocalBaseName(from));
    }
    if (ok && exists && ::fsync(output.get()) != 0) { // the old file is at stake
        ok = false;
        reason = std::strerror(errno);
    }
    output.reset();
    if (ok && exists && std::rename(partial.c_str(), to.c_str()) != 0) {
        ok = false;
        reason = std::strerror(errno);
    }
    if (!ok) {
        ::unlink(partial.c_str());
        if (reason != "aborted") {
            Fail(from, reason);
        }
    }
    return ok;
}

} // namespace qx
