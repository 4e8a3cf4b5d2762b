// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "queue/FTPCarrier.h"
#include "queue/FTPCarryItem.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace qx {

// What the queue knows about the servers its running items use: how many items each server
// has at the moment, how many it takes at most (learned from busy refusals: when a server
// refuses a connection while items of the queue hold others there, it takes no more than
// those), and which servers refused even the only connection for a whole retry budget.
// Servers are told apart by host and port.
class TServerConnections {
public:
    // The servers an item connects to: the source of downloads, the destination of uploads,
    // both for server-to-server items.
    static std::vector<std::string> ServersOf(const TFTPCarryItem& item);
    static std::string ServerOf(const TFTPCarryItem& item, TCarrierSide side);

    // No server of the item is at its limit.
    bool HasRoom(const TFTPCarryItem& item) const;
    void Started(const TFTPCarryItem& item);
    void Ended(const TFTPCarryItem& item);
    // Running items on the server.
    int InUse(const std::string& server) const;

    // The server refused one more connection: it takes at most what the queue holds there now
    // (nothing is learned when that is none).
    void RefusedOneMore(const std::string& server);
    // The server refused for a whole retry budget; until an item gets through there, the next
    // ones try once.
    void RefusedForLong(const std::string& server) { m_refusing.insert(server); }
    bool Refusing(const TFTPCarryItem& item) const;
    void GotThrough(const TFTPCarryItem& item);
    // What was learned holds for one batch: a queue that has run dry forgets it.
    void Forget();

private:
    std::map<std::string, int> m_inUse;
    std::map<std::string, int> m_limits;
    std::set<std::string> m_refusing;
};

} // namespace qx
