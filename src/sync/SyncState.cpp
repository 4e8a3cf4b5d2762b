// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/SyncState.h"

#include "platform/ConfigFile.h"
#include "platform/UniqueFd.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fcntl.h>

namespace qx {

namespace {

std::string Escaped(std::string_view path) {
    std::string text;
    text.reserve(path.size());
    for (const char c : path) {
        switch (c) {
        case '\\':
            text += "\\\\";
            break;
        case '\t':
            text += "\\t";
            break;
        case '\n':
            text += "\\n";
            break;
        case '\r':
            text += "\\r";
            break;
        default:
            text += c;
        }
    }
    return text;
}

std::optional<std::string> Unescaped(std::string_view text) {
    std::string path;
    path.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            path += text[i];
            continue;
        }
        if (++i == text.size()) {
            return std::nullopt;
        }
        switch (text[i]) {
        case '\\':
            path += '\\';
            break;
        case 't':
            path += '\t';
            break;
        case 'n':
            path += '\n';
            break;
        case 'r':
            path += '\r';
            break;
        default:
            return std::nullopt;
        }
    }
    return path;
}

std::optional<std::int64_t> Number(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The line's five fields, or nothing when it has another count of them.
std::optional<std::array<std::string_view, 5>> Fields(std::string_view line) {
    std::array<std::string_view, 5> fields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t tab = line.find('\t');
        if ((tab == std::string_view::npos) != (i + 1 == fields.size())) {
            return std::nullopt;
        }
        fields[i] = line.substr(0, tab);
        line = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
    }
    return fields;
}

} // namespace

const TSyncRecord* TSyncState::Find(const std::string& path) const {
    const auto found = m_records.find(path);
    return found == m_records.end() ? nullptr : &found->second;
}

void TSyncState::Record(const std::string& path, const TSyncEntry& local,
                        const TSyncEntry& remote) {
    m_records[path] =
        TSyncRecord{local.Size, local.Time.value_or(0), remote.Size, remote.Time.value_or(0)};
}

void TSyncState::Forget(const std::string& path) {
    m_records.erase(path);
}

bool TSyncState::LocalChanged(const TSyncRecord& record, const TSyncEntry& local) {
    return !local.Time || record.LocalSize != local.Size || record.LocalTime != *local.Time;
}

bool TSyncState::RemoteChanged(const TSyncRecord& record, const TSyncEntry& remote) {
    return !remote.Time || record.RemoteSize != remote.Size || record.RemoteTime != *remote.Time;
}

std::string TSyncState::Text() const {
    std::string text;
    for (const auto& [path, record] : m_records) {
        text += Escaped(path);
        for (const std::int64_t value :
             {record.LocalSize, record.LocalTime, record.RemoteSize, record.RemoteTime}) {
            text += '\t';
            text += std::to_string(value);
        }
        text += '\n';
    }
    return text;
}

std::optional<TSyncState> TSyncState::FromText(std::string_view text) {
    TSyncState state;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            return std::nullopt; // a torn last line
        }
        const auto fields = Fields(text.substr(0, end));
        text.remove_prefix(end + 1);
        if (!fields) {
            return std::nullopt;
        }
        auto path = Unescaped((*fields)[0]);
        const auto localSize = Number((*fields)[1]);
        const auto localTime = Number((*fields)[2]);
        const auto remoteSize = Number((*fields)[3]);
        const auto remoteTime = Number((*fields)[4]);
        if (!path || path->empty() || !localSize || !localTime || !remoteSize || !remoteTime) {
            return std::nullopt;
        }
        state.m_records[std::move(*path)] =
            TSyncRecord{*localSize, *localTime, *remoteSize, *remoteTime};
    }
    return state;
}

std::optional<TSyncState> TSyncState::Load(const std::filesystem::path& file) {
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return errno == ENOENT ? std::optional<TSyncState>(TSyncState()) : std::nullopt;
    }
    int error = 0;
    const auto text = ReadWholeFile(fd.get(), error);
    return text ? FromText(*text) : std::nullopt;
}

bool TSyncState::Save(const std::filesystem::path& file) const {
    return CreatePrivateFolders(FolderOfFile(file)) && ReplaceFileAtomically(file, Text());
}

std::string SyncStateFileName(std::string_view site, std::string_view remoteFolder,
                              std::string_view localFolder) {
    std::uint64_t hash = 14695981039346656037ULL; // FNV-1a
    const auto add = [&hash](std::string_view bytes) {
        for (const char c : bytes) {
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
    };
    for (const std::string_view part : {site, remoteFolder, localFolder}) {
        add(std::to_string(part.size()) + ":"); // keeps "ab","c" apart from "a","bc"
        add(part);
    }
    std::array<char, 17> digits{};
    std::snprintf(digits.data(), digits.size(), "%016llx", static_cast<unsigned long long>(hash));
    return std::string(digits.data()) + ".sync";
}

} // namespace qx
