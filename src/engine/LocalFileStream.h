#pragma once

#include "platform/UniqueFd.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace qx {

// The local file of a transfer. Failures leave errno's text in Error().
class LocalFileStream {
public:
    // Opens the file a download replaces, creating it when it does not exist. An existing file
    // keeps its bytes until the first Write() (or Finish()) empties it, so a transfer that
    // fails before any byte arrived leaves it as it was; a file created here and never
    // written is removed again by Close().
    bool Create(const std::string& path);
    // The whole content has arrived (perhaps none): empties a file nothing was written to yet,
    // then closes.
    bool Finish();
    // Created or opened by Create() and nothing written yet.
    bool Pending() const { return m_pending; }
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
    // A pending file is left as it was, or removed when Create() made it.
    bool Close();
    const std::string& Error() const { return m_error; }

private:
    bool fail();
    bool TruncatePending();
    UniqueFd m_fd;
    std::string m_path;
    bool m_pending = false;
    bool m_created = false;
    std::string m_error;
};

// The size of a regular file, or -1 when there is none.
std::int64_t LocalFileSizeOf(const std::string& path);

} // namespace qx
