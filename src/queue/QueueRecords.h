// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qx {

class TConfigStore;

// The records of the queue file's log, applied to the store of the file:
// "G key": the item left the queue; "F key message": it failed; "V key kind name<TAB>value": a
// value of an item that joined (kind "s" a text, "n" a number). Applying a record to a store
// that already holds its change changes nothing.
inline constexpr std::string_view kQueueItemsKey = "\\Items";
inline constexpr std::string_view kQueuedState = "Queued";
inline constexpr std::string_view kFailedState = "Failed";

std::string QueueItemPath(std::string_view key);
// The key the record names, or nothing for a damaged record (which changes nothing).
std::optional<std::uint64_t> ApplyQueueRecord(TConfigStore& store, std::string_view record);

} // namespace qx
