// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/QueueLog.h"

#include "platform/ConfigFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace qx {

TAppendLog::TAppendLog(std::filesystem::path file) : m_file(std::move(file)) {}

std::vector<std::string> TAppendLog::Read() const {
    std::vector<std::string> records;
    const int fd = ::open(m_file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return records;
    }
    int error = 0;
    const auto text = ReadWholeFile(fd, error);
    ::close(fd);
    if (!text) {
        return records;
    }
    std::size_t start = 0;
    for (std::size_t end = text->find('\n'); end != std::string::npos;
         start = end + 1, end = text->find('\n', start)) {
        records.emplace_back(text->substr(start, end - start));
    }
    m_count = records.size();
    return records;
}

// The file is opened for each append: whatever removed it meanwhile (a later start that took
// the records in), the records go to the file that is there now.
bool TAppendLog::Append(const std::vector<std::string>& records) {
    const int fd = ::open(m_file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    std::string text;
    for (const std::string& record : records) {
        text.append(record).push_back('\n');
    }
    std::string_view rest = text;
    while (!rest.empty()) {
        const ssize_t written = ::write(fd, rest.data(), rest.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            break;
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    const bool synced = rest.empty() && ::fdatasync(fd) == 0;
    ::close(fd);
    m_count += synced ? records.size() : 0;
    return synced;
}

bool TAppendLog::Clear() {
    m_count = 0;
    return ::unlink(m_file.c_str()) == 0 || errno == ENOENT;
}

std::string EscapeRecordField(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string UnescapeRecordField(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : next;
    }
    return out;
}

} // namespace qx
