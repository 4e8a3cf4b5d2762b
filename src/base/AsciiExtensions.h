// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace qx {

// The list of file extensions (lower case, with the dot) that automatic transfers send as
// ASCII. The options dialog replaces it on the user-interface thread while FTP workers read it:
// workers take an immutable snapshot, so they never see a list being refilled.
class TAsciiExtensions {
public:
    using Snapshot = std::shared_ptr<const std::vector<std::string>>;

    TAsciiExtensions() : m_current(std::make_shared<const std::vector<std::string>>()) {}
    explicit TAsciiExtensions(std::vector<std::string> extensions)
        : m_current(std::make_shared<const std::vector<std::string>>(std::move(extensions))) {}

    Snapshot Current() const {
        std::lock_guard lock(m_mutex);
        return m_current;
    }
    void Publish(std::vector<std::string> extensions) {
        auto next = std::make_shared<const std::vector<std::string>>(std::move(extensions));
        std::lock_guard lock(m_mutex);
        m_current = std::move(next);
    }

private:
    mutable std::mutex m_mutex;
    Snapshot m_current;
};

} // namespace qx
