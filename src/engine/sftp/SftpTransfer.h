// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ByteStreams.h"
#include "engine/sftp/SftpClient.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace qx::sftp {

struct TTransferCallbacks {
    // The position reached: the bytes from the start of the file that are in place (written
    // locally for a download, acknowledged by the server for an upload).
    std::function<void(std::int64_t position)> OnProgress;
    // Once, at the end; never when the client went away first.
    std::function<void(const TSftpResult&, std::int64_t position)> OnDone;
};

// One pipelined file transfer on an SFTP connection.
//
// A download keeps up to kRequestsInFlight READ requests of the connection's read size in
// flight and writes the replies in order (a reply that arrives early waits, so memory stays
// within the requests in flight). It ends at the server's end of file, whatever size FSTAT
// announced: the announced size only spares requests beyond it (one at a time there) and is
// never used to reserve anything. Short reads are asked for again from where they stopped.
// The local file is created (offset 0; an existing file keeps its bytes until the first
// data arrives) or written from the offset (resume).
//
// An upload keeps up to kRequestsInFlight WRITE requests (at most kMaxUploadBytesInFlight) in
// flight, read from the local file from the offset; the remote file is truncated when the
// offset is 0 and written from the offset otherwise.
//
// Abort() ends the transfer at once (OnDone with Aborted); the replies still on their way are
// taken and dropped, so the connection stays usable.
class TSftpTransfer : public std::enable_shared_from_this<TSftpTransfer> {
public:
    static constexpr int kRequestsInFlight = 64;
    // At most this much data is in flight, whatever the block size.
    static constexpr std::size_t kMaxBytesInFlight = 16 * 1024 * 1024;
    // Uploads keep less in flight: ssh takes no more than its channel window (2 MiB) and the
    // socket's buffer at a time, and what is beyond waits in the client's output buffer, which
    // then costs copies (measured: a third more CPU time at 16 MiB, none at 4 MiB).
    static constexpr std::size_t kMaxUploadBytesInFlight = 4 * 1024 * 1024;

    virtual ~TSftpTransfer() = default;
    virtual void Abort() = 0;
    std::int64_t Position() const { return m_position; }
    // The size FSTAT announced (downloads), -1 when unknown. Only a hint.
    std::int64_t SizeHint() const { return m_sizeHint; }
    bool Finished() const { return m_finished; }

protected:
    std::int64_t m_position = 0;
    std::int64_t m_sizeHint = -1;
    bool m_finished = false;
};

// With a sink the download's bytes go there instead of the local file, with a source the
// upload's come from there (from the offset on); localPath then only names them in messages.
std::shared_ptr<TSftpTransfer> StartDownload(TSftpClient& client, const std::string& remotePath,
                                             const std::string& localPath, std::int64_t offset,
                                             TTransferCallbacks callbacks,
                                             TByteSink* sink = nullptr);
std::shared_ptr<TSftpTransfer> StartUpload(TSftpClient& client, const std::string& localPath,
                                           const std::string& remotePath, std::int64_t offset,
                                           TTransferCallbacks callbacks,
                                           TByteSource* source = nullptr);

} // namespace qx::sftp
