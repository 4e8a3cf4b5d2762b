// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/QueueRecords.h"

#include "base/DecimalNumber.h"
#include "platform/ConfigStore.h"
#include "queue/QueueLog.h"

#include <algorithm>

namespace qx {

std::string QueueItemPath(std::string_view key) {
    return std::string(kQueueItemsKey) + "\\" + std::string(key);
}

std::optional<std::uint64_t> ApplyQueueRecord(TConfigStore& store, std::string_view record) {
    if (record.size() < 3 || record[1] != ' ') {
        return std::nullopt; // damaged: no kind and key
    }
    const std::size_t space = std::min(record.find(' ', 2), record.size());
    const std::string_view key = record.substr(2, space - 2);
    const auto id = ParseDecimal<std::uint64_t>(key);
    if (!id) {
        return std::nullopt;
    }
    const std::string path = QueueItemPath(key);
    const std::string_view rest = record.substr(std::min(space + 1, record.size()));
    if (record[0] == 'G') {
        store.DeleteKey(path);
    } else if (record[0] == 'F' && store.KeyExists(path)) {
        store.WriteString(path, "State", kFailedState);
        store.WriteString(path, "ErrorMessage", UnescapeRecordField(rest));
    } else if (record[0] == 'V' && rest.size() > 2 && rest[1] == ' ') {
        const std::size_t tab = rest.find('\t');
        if (tab == std::string_view::npos) {
            return id;
        }
        const std::string name = UnescapeRecordField(rest.substr(2, tab - 2));
        const std::string value = UnescapeRecordField(rest.substr(tab + 1));
        if (rest[0] == 's' && store.CreateKey(path)) {
            store.WriteString(path, name, value);
        } else if (const auto number = ParseDecimal<std::int32_t>(value);
                   rest[0] == 'n' && number && store.CreateKey(path)) {
            store.WriteNumber(path, name, *number);
        }
    }
    return id;
}

} // namespace qx
