// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/LocalFileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace qx {

bool LocalFileStream::fail() {
    m_error = std::strerror(errno);
    return false;
}

bool LocalFileStream::Create(const std::string& path, bool followLinks) {
    Close();
    m_fd.reset(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    m_created = m_fd.valid();
    if (!m_created && errno == EEXIST) {
        m_fd.reset(::open(path.c_str(), O_WRONLY | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW)));
    }
    if (!m_fd.valid()) {
        return fail();
    }
    m_path = path;
    m_pending = true;
    return true;
}

bool LocalFileStream::TruncatePending() {
    if (!m_pending) {
        return true;
    }
    m_pending = false;
    struct stat info {};
    if (::fstat(m_fd.get(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return true; // a device such as /dev/null has nothing to empty
    }
    return ::ftruncate(m_fd.get(), 0) == 0 || fail();
}

bool LocalFileStream::Finish() {
    if (!TruncatePending()) {
        Close();
        return false;
    }
    return Close();
}

bool LocalFileStream::OpenForWriteAt(const std::string& path, std::int64_t offset) {
    Close();
    m_fd.reset(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
    if (!m_fd.valid()) {
        return fail();
    }
    if (::lseek(m_fd.get(), offset, SEEK_SET) < 0) {
        const int error = errno;
        m_fd.reset();
        errno = error;
        return fail();
    }
    return true;
}

bool LocalFileStream::OpenForRead(const std::string& path, std::int64_t offset) {
    Close();
    // Without O_NONBLOCK, opening a pipe would wait for a writer.
    m_fd.reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!m_fd.valid()) {
        return fail();
    }
    struct stat info {};
    if (::fstat(m_fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        const bool statFailed = info.st_mode == 0;
        const int error = statFailed ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
        m_fd.reset();
        if (error == 0) {
            m_error = "not a regular file";
            return false;
        }
        errno = error;
        return fail();
    }
    ::fcntl(m_fd.get(), F_SETFL, ::fcntl(m_fd.get(), F_GETFL) & ~O_NONBLOCK);
    if (offset > 0 && ::lseek(m_fd.get(), offset, SEEK_SET) < 0) {
        const int error = errno;
        m_fd.reset();
        errno = error;
        return fail();
    }
    return true;
}

void LocalFileStream::OpenSink(TByteSink& sink) {
    Close();
    m_sink = &sink;
}

void LocalFileStream::OpenSource(TByteSource& source) {
    Close();
    m_source = &source;
}

bool LocalFileStream::Write(const char* data, std::size_t length) {
    if (m_sink != nullptr) {
        if (m_sink->Put(data, length)) {
            return true;
        }
        m_error = m_sink->Error();
        return false;
    }
    if (!TruncatePending()) {
        return false;
    }
    while (length > 0) {
        const ssize_t written = ::write(m_fd.get(), data, length);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail();
        }
        data += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

LocalFileStream::SpliceResult LocalFileStream::SpliceFrom(int pipeFd, std::size_t count) {
    if (!m_fd.valid()) {
        return SpliceResult::Unsupported;
    }
    if (!TruncatePending()) {
        return SpliceResult::Failed;
    }
    bool moved = false;
    while (count > 0) {
        const ssize_t written =
            ::splice(pipeFd, nullptr, m_fd.get(), nullptr, count, SPLICE_F_MOVE);
        if (written > 0) {
            moved = true;
            count -= static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0 && !moved && (errno == EINVAL || errno == ENOSYS)) {
            return SpliceResult::Unsupported;
        }
        if (written == 0) {
            errno = EIO; // the pipe held less than it said
        }
        fail();
        return SpliceResult::Failed;
    }
    return SpliceResult::Done;
}

std::ptrdiff_t LocalFileStream::Read(char* buffer, std::size_t size) {
    if (m_source != nullptr) {
        const std::ptrdiff_t count = m_source->Get(buffer, size);
        if (count < 0) {
            m_error = m_source->Error();
        }
        return count;
    }
    for (;;) {
        const ssize_t count = ::read(m_fd.get(), buffer, size);
        if (count >= 0) {
            return count;
        }
        if (errno != EINTR) {
            fail();
            return -1;
        }
    }
}

bool LocalFileStream::Close() {
    m_sink = nullptr;
    m_source = nullptr;
    if (!m_fd.valid()) {
        return true;
    }
    if (m_pending && m_created) {
        ::unlink(m_path.c_str());
    }
    m_pending = false;
    m_created = false;
    const int fd = m_fd.release();
    if (::close(fd) != 0 && errno != EINTR) {
        return fail();
    }
    return true;
}

std::int64_t LocalFileSizeOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return -1;
    }
    return info.st_size;
}

std::string ReplacedFileName(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                               &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

std::string PartialFileName(const std::string& path) {
    return ReplacedFileName(path) + ".part";
}

bool PutPartialInPlace(const std::string& target, std::string& error) {
    const std::string partial = target + ".part";
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        ::chmod(partial.c_str(), old.st_mode & 07777);
    }
    if (std::rename(partial.c_str(), target.c_str()) != 0) {
        error = "Cannot replace " + target + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

std::int64_t ResumableSize(const std::string& path) {
    return LocalFileSizeOf(PartialFileName(path));
}

bool DownloadsThroughPartial(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode);
}

std::optional<std::int64_t> LocalFileTimeOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(info.st_mtime);
}

bool SetLocalFileTime(const std::string& path, std::int64_t time) {
    const timespec times[2] = {{static_cast<time_t>(time), 0}, {static_cast<time_t>(time), 0}};
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

} // namespace qx
