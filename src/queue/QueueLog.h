// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// A file of short records appended one line at a time, each on the disk before Append returns,
// so that a change costs the bytes of its record and not a rewrite of everything kept. A line
// cut short by a crash is not a record. The file is made by the first Append (mode 0600).
class TAppendLog {
public:
    explicit TAppendLog(std::filesystem::path file);

    const std::filesystem::path& File() const { return m_file; }
    // The records of the file; none when there is no file.
    std::vector<std::string> Read() const;
    // Appends the records (each without a line end); false when they are not all on the disk.
    bool Append(const std::vector<std::string>& records);
    // Removes the file, once what its records said is kept elsewhere.
    bool Clear();
    // Records appended since the file was last cleared, counting those it held at Read.
    std::size_t Count() const { return m_count; }

private:
    std::filesystem::path m_file;
    mutable std::size_t m_count = 0;
};

// A text as one field of a record: backslashes, line ends and tabs escaped.
std::string EscapeRecordField(std::string_view text);
std::string UnescapeRecordField(std::string_view text);

} // namespace qx
