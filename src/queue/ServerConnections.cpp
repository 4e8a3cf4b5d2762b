// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/ServerConnections.h"

#include <algorithm>

namespace qx {

std::string TServerConnections::ServerOf(const TFTPCarryItem& item, TCarrierSide side) {
    switch (side) {
    case TCarrierSide::Source:
        return item.SrcHostName + ":" + item.SrcPort;
    case TCarrierSide::Destination:
        return item.DestHostName + ":" + item.DestPort;
    case TCarrierSide::None:
        break;
    }
    return {};
}

std::vector<std::string> TServerConnections::ServersOf(const TFTPCarryItem& item) {
    switch (item.Direction) {
    case TCarryDirection::Download:
        return {ServerOf(item, TCarrierSide::Source)};
    case TCarryDirection::Upload:
        return {ServerOf(item, TCarrierSide::Destination)};
    case TCarryDirection::ServerToServer:
        break;
    }
    return {ServerOf(item, TCarrierSide::Source), ServerOf(item, TCarrierSide::Destination)};
}

int TServerConnections::InUse(const std::string& server) const {
    const auto it = m_inUse.find(server);
    return it == m_inUse.end() ? 0 : it->second;
}

bool TServerConnections::HasRoom(const TFTPCarryItem& item) const {
    return std::ranges::all_of(ServersOf(item), [this](const std::string& server) {
        const auto limit = m_limits.find(server);
        return limit == m_limits.end() || InUse(server) < limit->second;
    });
}

void TServerConnections::Started(const TFTPCarryItem& item) {
    for (const std::string& server : ServersOf(item)) {
        ++m_inUse[server];
    }
}

void TServerConnections::Ended(const TFTPCarryItem& item) {
    for (const std::string& server : ServersOf(item)) {
        if (const auto it = m_inUse.find(server); it != m_inUse.end() && --it->second <= 0) {
            m_inUse.erase(it);
        }
    }
}

void TServerConnections::RefusedOneMore(const std::string& server) {
    const int held = InUse(server);
    if (held <= 0) {
        return;
    }
    const auto [it, added] = m_limits.emplace(server, held);
    if (!added) {
        it->second = std::min(it->second, held);
    }
}

bool TServerConnections::Refusing(const TFTPCarryItem& item) const {
    return std::ranges::any_of(
        ServersOf(item), [this](const std::string& server) { return m_refusing.contains(server); });
}

void TServerConnections::GotThrough(const TFTPCarryItem& item) {
    for (const std::string& server : ServersOf(item)) {
        m_refusing.erase(server);
    }
}

void TServerConnections::Forget() {
    m_limits.clear();
    m_refusing.clear();
}

} // namespace qx
