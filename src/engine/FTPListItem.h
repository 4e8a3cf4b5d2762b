// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qx {

class TShellIcons;

// How exactly a listing knows an entry's time: a LIST line of this year gives the minute, an
// older one only the day; machine listings and SFTP attributes give the second.
enum class TTimePrecision : uint8_t { Unknown, Day, Minute, Second };

// One entry of a remote listing. Texts hold the bytes the server sent, which need not be valid
// UTF-8. A listing of a large folder keeps one of these per entry, so the layout stays plain.
struct TFTPListItem {
    std::string Permission; // "drwxr-xr-x"; "----------" or "d---------" from DOS listings
    std::string Name;       // without the link target
    std::string DateText;   // locale short date, empty when the date is not valid
    std::string TimeText;   // locale time with seconds 0, empty when the time is not valid
    std::string TypeName;
    std::string LinkTo; // the text after " -> " in the listed name
    int64_t Size = 0;   // bytes of a file; -1 for a folder or a link
    int32_t Year = 0;
    int32_t Month = 0;
    int32_t Day = 0;
    int32_t Hour = 0;
    int32_t Minute = 0;
    int32_t Second = 0;
    int32_t ImageIndex = 0;
    TTimePrecision TimePrecision = TTimePrecision::Unknown;
    bool IsFile = false; // false for folders and links
    bool IsLink = false;

    void Assign(const TFTPListItem& source) { *this = source; }
};

// The time of an entry as seconds since 1970 in UTC, or nothing when the entry has none
// (precision Unknown). Which clock the fields hold depends on where the entry came from:
// - machine listings (MLSD) and SFTP attributes (precision Second) tell an exact UTC time, which
//   the fields hold as this machine's local time; it is read back with the local time zone
//   (in the hour a clock change repeats, the earlier of the two times);
// - LIST lines (precision Minute or Day) hold the server's wall clock as listed, which runs
//   offsetMinutes ahead of UTC (0: the server lists in UTC); a Day entry counts from the start
//   of its day, 00:00 on the server's clock.
// Comparisons take the precision into account (sync/SyncEntry.h, CompareTimes).
std::optional<std::int64_t> EntryUtcTime(const TFTPListItem& item, int offsetMinutes);

// Makes the entry a file or a folder: a folder gets the size -1 and the folder icon and type
// name, a file the icon and type name of its name.
void SetEntryKind(TFTPListItem& item, bool isFile, const TShellIcons& icons);

// An owning, ordered list of listing items.
class TFTPListItems {
public:
    TFTPListItems() = default;
    TFTPListItems(const TFTPListItems&) = delete;
    TFTPListItems& operator=(const TFTPListItems&) = delete;
    TFTPListItems(TFTPListItems&&) noexcept = default;
    TFTPListItems& operator=(TFTPListItems&&) noexcept = default;
    ~TFTPListItems() = default;

    std::size_t Count() const { return m_items.size(); }
    TFTPListItem& Items(std::size_t i) const { return *m_items[i]; }
    TFTPListItem& operator[](std::size_t i) const { return *m_items[i]; }

    void Add(std::unique_ptr<TFTPListItem> item);
    // Moves every item of the other list to the end of this one.
    void Append(TFTPListItems&& other);
    // Index of the item, -1 when it is not in the list.
    std::ptrdiff_t IndexOf(const TFTPListItem* item) const;
    // Removes the entry without freeing it: the caller owns the item returned.
    std::unique_ptr<TFTPListItem> Delete(std::size_t i);
    // Frees every item the predicate picks, in one pass; returns how many went.
    template <typename Predicate> std::size_t RemoveIf(Predicate&& picks) {
        return std::erase_if(m_items, [&](const std::unique_ptr<TFTPListItem>& item) {
            return picks(static_cast<const TFTPListItem&>(*item));
        });
    }
    void Clear();
    void Reserve(std::size_t count) { m_items.reserve(count); }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    // Set by the decoder when it adds a link.
    bool HasLinks = false;

private:
    std::vector<std::unique_ptr<TFTPListItem>> m_items;
};

} // namespace qx
