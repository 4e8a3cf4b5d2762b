#pragma once

#include "platform/UniqueFd.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace qx {

// The local file of a transfer. Failures leave errno's text in Error().
class LocalFileStream {
public:
    // Creates the file, or empties it when it exists.
    bool Create(const std::string& path);
    // Opens an existing file for writing at the offset (the bytes from there are overwritten).
    bool OpenForWriteAt(const std::string& path, std::int64_t offset);
    // Opens a file for reading from the offset.
    bool OpenForRead(const std::string& path, std::int64_t offset);

    bool IsOpen() const { return m_fd.valid(); }
    // All bytes, or false.
    bool Write(const char* data, std::size_t length);
    // The count read, 0 at the end, -1 on failure.
    std::ptrdiff_t Read(char* buffer, std::size_t size);
    // Closes; false when the system reported a failure while closing (data may be lost).
    bool Close();
    const std::string& Error() const { return m_error; }

private:
    bool fail();
    UniqueFd m_fd;
    std::string m_error;
};

// The size of a regular file, or -1 when there is none.
std::int64_t LocalFileSizeOf(const std::string& path);

} // namespace qx
