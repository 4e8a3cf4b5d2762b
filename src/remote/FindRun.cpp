// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/FindRun.h"

namespace qx {

TFindRun::TFindRun(std::unique_ptr<TSyncSession> session, std::string top, TFindCriteria criteria)
    : m_session(std::move(session)), m_find(std::move(top), std::move(criteria)) {}

TFindRun::~TFindRun() {
    Stop();
}

void TFindRun::Start() {
    if (!m_running) {
        m_running = true;
        Next();
    }
}

void TFindRun::Stop() {
    if (m_running) {
        m_running = false;
        m_session->Cancel();
    }
}

void TFindRun::Next() {
    const auto folder = m_find.NextFolder();
    if (!folder) {
        m_running = false;
        m_current.clear();
        if (OnDone) {
            OnDone();
        }
        return;
    }
    m_current = *folder;
    if (OnListing) {
        OnListing(m_current);
    }
    // A handler may have stopped the run.
    if (m_running) {
        m_session->List(m_current, [this](const TFTPListItems* items, const std::string& error) {
            Listed(items, error);
        });
    }
}

void TFindRun::Listed(const TFTPListItems* items, const std::string& error) {
    if (items == nullptr) {
        m_find.NotListed();
        m_failures.push_back({m_current, error});
    } else {
        const std::vector<TFoundEntry> found = m_find.Listed(*items);
        m_found += found.size();
        if (!found.empty() && OnFound) {
            OnFound(found);
        }
    }
    if (m_running) {
        Next();
    }
}

} // namespace qx
