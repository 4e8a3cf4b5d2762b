// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ByteStreams.h"
#include "platform/UniqueFd.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qx {

// The local file of a transfer. Failures leave errno's text in Error().
class LocalFileStream {
public:
    // Opens the file a download replaces, creating it when it does not exist. An existing file
    // keeps its bytes until the first Write() (or Finish()) empties it, so a transfer that
    // fails before any byte arrived leaves it as it was; a file created here and never
    // written is removed again by Close(). Without followLinks an existing link is refused
    // instead of written through.
    bool Create(const std::string& path, bool followLinks = true);
    // The whole content has arrived (perhaps none): empties a file nothing was written to yet,
    // then closes.
    bool Finish();
    // Created or opened by Create() and nothing written yet.
    bool Pending() const { return m_pending; }
    // Opens an existing file for writing at the offset (the bytes from there are overwritten).
    bool OpenForWriteAt(const std::string& path, std::int64_t offset);
    // Opens a regular file for reading from the offset; anything else (a folder, a pipe, a
    // device) is refused without waiting for it.
    bool OpenForRead(const std::string& path, std::int64_t offset);
    // The bytes go to the sink, or come from the source, instead of a file: nothing is opened,
    // created or removed, and Close() only lets go of the stream (which stays the caller's).
    void OpenSink(TByteSink& sink);
    void OpenSource(TByteSource& source);

    bool IsOpen() const { return m_fd.valid() || m_sink != nullptr || m_source != nullptr; }
    int Fd() const { return m_fd.get(); }
    // All bytes, or false.
    bool Write(const char* data, std::size_t length);
    // The count read, 0 at the end, -1 on failure.
    std::ptrdiff_t Read(char* buffer, std::size_t size);
    // Moves count bytes waiting in the pipe into the file at its position, without a copy
    // through our memory. Unsupported: the file cannot take bytes this way and nothing moved.
    enum class SpliceResult { Done, Unsupported, Failed };
    SpliceResult SpliceFrom(int pipeFd, std::size_t count);
    // Closes; false when the system reported a failure while closing (data may be lost).
    // A pending file is left as it was, or removed when Create() made it.
    bool Close();
    const std::string& Error() const { return m_error; }

private:
    bool fail();
    bool TruncatePending();
    UniqueFd m_fd;
    TByteSink* m_sink = nullptr;
    TByteSource* m_source = nullptr;
    std::string m_path;
    bool m_pending = false;
    bool m_created = false;
    std::string m_error;
};

// The size of a regular file, or -1 when there is none.
std::int64_t LocalFileSizeOf(const std::string& path);

// Every download writes beside its target until it is complete, under this name: the target's
// own path (a link followed to its file) and ".part". A download that fails leaves the old file
// (if any) as it was and the data under this name, where a resumed download continues.
std::string PartialFileName(const std::string& path);
// The path a download into path replaces: a link followed to its file.
std::string ReplacedFileName(const std::string& path);
// Where a resumed download of path continues: the size of its partial file, or -1 when there
// is none. The file itself is never continued: it may be anything.
std::int64_t ResumableSize(const std::string& path);
// True when a download into path goes through its partial file: the path is a regular file,
// or nothing (yet). A device or a pipe (/dev/null, a FIFO) is written directly.
bool DownloadsThroughPartial(const std::string& path);
// A complete download takes the place of target (a ReplacedFileName) from its partial file,
// with the permissions of the file it replaces. False with the reason when refused.
bool PutPartialInPlace(const std::string& target, std::string& error);

// The modification time of a regular file in seconds since 1970, or nothing.
std::optional<std::int64_t> LocalFileTimeOf(const std::string& path);
// Sets the modification time (and the access time) of a file; false when refused.
bool SetLocalFileTime(const std::string& path, std::int64_t time);

} // namespace qx
