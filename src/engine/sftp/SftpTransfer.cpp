// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/sftp/SftpTransfer.h"

#include "engine/LocalFileStream.h"

#include <asio/steady_timer.hpp>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>

namespace qx::sftp {

namespace {

TSftpResult LocalFailure(const std::string& what, const LocalFileStream& file) {
    return TSftpResult::Failed(TSftpError::Local, what + ": " + file.Error());
}

// What both directions share: the callbacks, the remote handle, and the end.
class TTransferBase : public TSftpTransfer {
public:
    TTransferBase(TSftpClient& client, TTransferCallbacks callbacks, std::int64_t offset,
                  std::shared_ptr<TTokenBucket> limit)
        : m_client(client), m_clientLife(client.LifeToken()), m_callbacks(std::move(callbacks)),
          m_offset(offset), m_limit(std::move(limit)), m_pause(client.Queue().context()) {
        m_position = offset;
    }

    void Abort() override {
        if (!m_finished && !m_clientLife.expired()) {
            End(TSftpResult::Failed(TSftpError::Aborted, "Transfer aborted."));
        }
    }

protected:
    // Closes the local file and the remote handle, then reports. A successful end reports
    // what closing the remote file says (a server may only find out then that it is full).
    void End(TSftpResult result) {
        if (m_finished) {
            return;
        }
        m_finished = true;
        m_paused = false;
        m_pause.cancel();
        if (!CloseLocal(result.Ok()) && result.Ok()) {
            result = LocalFailure("Cannot close the local file", m_file);
        }
        if (m_handle.empty() || result.Fatal()) {
            Report(result);
            return;
        }
        m_client.Close(m_handle,
                       [self = std::static_pointer_cast<TTransferBase>(shared_from_this()),
                        result](const TSftpResult& closed) {
                           self->Report(result.Ok() && !closed.Ok() ? closed : result);
                       });
    }

    void Progress() {
        if (m_callbacks.OnProgress) {
            m_callbacks.OnProgress(m_position);
        }
    }

    // Opens the remote file and keeps its handle; `opened` runs then, unless the transfer ended
    // meanwhile. A failed open ends the transfer.
    void OpenRemote(const std::string& path, std::uint32_t flags, std::function<void()> opened) {
        m_client.Open(path, flags, {},
                      [self = std::static_pointer_cast<TTransferBase>(shared_from_this()),
                       opened = std::move(opened)](const TSftpResult& result, std::string handle) {
                          if (self->m_finished) {
                              return;
                          }
                          if (!result.Ok()) {
                              self->End(result);
                              return;
                          }
                          self->m_handle = std::move(handle);
                          opened();
                      });
    }

    virtual bool CloseLocal(bool complete) = 0;
    virtual void Pump() = 0;

    // The bytes the next request may carry, at most `wanted`; 0 when the limit says wait:
    // then Pump runs again after the pause.
    std::size_t Allowed(std::size_t wanted) {
        if (m_paused) {
            return 0;
        }
        if (!m_limit) {
            return wanted;
        }
        const std::int64_t granted = m_limit->Grant(static_cast<std::int64_t>(wanted));
        if (granted > 0) {
            return static_cast<std::size_t>(granted);
        }
        m_paused = true;
        m_pause.expires_after(std::max(m_limit->Delay(), std::chrono::milliseconds{1}));
        m_pause.async_wait([weak = weak_from_this()](const std::error_code& error) {
            const auto self = std::static_pointer_cast<TTransferBase>(weak.lock());
            if (error || !self || self->m_finished || !self->m_paused ||
                self->m_clientLife.expired()) {
                return;
            }
            self->m_paused = false;
            self->Pump();
        });
        return 0;
    }

    void GiveBack(std::size_t allowed, std::ptrdiff_t used) {
        const auto moved = static_cast<std::size_t>(std::max<std::ptrdiff_t>(used, 0));
        if (m_limit && moved < allowed) {
            m_limit->GiveBack(static_cast<std::int64_t>(allowed - moved));
        }
    }

    TSftpClient& m_client;
    std::weak_ptr<char> m_clientLife;
    TTransferCallbacks m_callbacks;
    std::int64_t m_offset;
    LocalFileStream m_file;
    std::string m_handle;
    int m_inFlight = 0;
    std::size_t m_bytesInFlight = 0;
    std::shared_ptr<TTokenBucket> m_limit;
    asio::steady_timer m_pause;
    bool m_paused = false; // waiting for the speed limit

private:
    // Posted, so that it never runs inside the call that ended the transfer (Abort, Start).
    void Report(const TSftpResult& result) {
        auto done = std::move(m_callbacks.OnDone);
        m_callbacks.OnDone = nullptr;
        if (!done) {
            return;
        }
        m_client.Queue().post(
            [life = m_clientLife, done = std::move(done), result, position = m_position] {
                if (!life.expired()) {
                    done(result, position);
                }
            });
    }
};

class TDownload final : public TTransferBase {
public:
    TDownload(TSftpClient& client, std::string remotePath, std::string localPath,
              std::int64_t offset, TTransferCallbacks callbacks, TByteSink* sink)
        : TTransferBase(client, std::move(callbacks), offset, client.DownloadLimit),
          m_remotePath(std::move(remotePath)), m_localPath(std::move(localPath)), m_sink(sink),
          m_next(static_cast<std::uint64_t>(offset)) {}

    void Start() {
        auto self = std::static_pointer_cast<TDownload>(shared_from_this());
        OpenRemote(m_remotePath, kOpenRead, [self] {
            self->m_client.FStat(
                self->m_handle, [self](const TSftpResult& stat, const TAttributes& attributes) {
                    if (self->m_finished) {
                        return;
                    }
                    if (stat.Fatal()) {
                        self->End(stat);
                        return;
                    }
                    if (stat.Ok() && attributes.Size && *attributes.Size <= INT64_MAX) {
                        self->m_sizeHint = static_cast<std::int64_t>(*attributes.Size);
                    }
                    self->OpenLocal();
                });
        });
    }

private:
    void OpenLocal() {
        if (m_sink != nullptr) {
            m_file.OpenSink(*m_sink);
        }
        const bool opened =
            m_sink != nullptr || (m_offset == 0 ? m_file.Create(m_localPath)
                                                : m_file.OpenForWriteAt(m_localPath, m_offset));
        if (!opened) {
            End(LocalFailure("Cannot open the local file " + m_localPath, m_file));
            return;
        }
        m_block = static_cast<std::uint32_t>(m_client.ReadBlockSize());
        Pump();
    }

    void Pump() override {
        const auto requests = std::min<std::size_t>(
            kRequestsInFlight, std::max<std::size_t>(1, kMaxBytesInFlight / m_block));
        while (!m_finished && static_cast<std::size_t>(m_inFlight) < requests) {
            if (!m_retries.empty()) {
                const auto [offset, length] = m_retries.front();
                m_retries.pop_front();
                Request(offset, length);
                continue;
            }
            if (m_eofAt && m_next >= *m_eofAt) {
                break;
            }
            // Beyond the announced size, one request at a time finds the real end.
            const bool beyondHint =
                m_sizeHint >= 0 && m_next >= static_cast<std::uint64_t>(m_sizeHint);
            if (beyondHint && m_probing) {
                break;
            }
            const auto length = static_cast<std::uint32_t>(Allowed(m_block));
            if (length == 0) {
                break;
            }
            m_probing = m_probing || beyondHint;
            Request(m_next, length);
            m_next += length;
        }
        if (!m_finished && m_inFlight == 0 && !m_paused) {
            Complete();
        }
    }

    void Request(std::uint64_t offset, std::uint32_t length) {
        ++m_inFlight;
        auto self = std::static_pointer_cast<TDownload>(shared_from_this());
        const bool probe = m_sizeHint >= 0 && offset >= static_cast<std::uint64_t>(m_sizeHint);
        m_client.Read(
            m_handle, offset, length,
            [self, offset, length, probe](const TSftpResult& result, std::string_view data) {
                --self->m_inFlight;
                if (probe) {
                    self->m_probing = false;
                }
                if (!self->m_finished) {
                    self->Take(offset, length, result, data);
                }
            });
    }

    void Take(std::uint64_t offset, std::uint32_t length, const TSftpResult& result,
              std::string_view data) {
        if (result.Error == TSftpError::EndOfFile || (result.Ok() && data.empty())) {
            m_eofAt = std::min(m_eofAt.value_or(offset), offset);
        } else if (!result.Ok()) {
            End(result);
            return;
        } else {
            if (data.size() < length) {
                // A short read in the middle of a file is allowed: the rest is asked for again.
                m_retries.emplace_back(offset + data.size(),
                                       static_cast<std::uint32_t>(length - data.size()));
            }
            if (offset == static_cast<std::uint64_t>(m_position)) {
                if (!Store(data)) {
                    return;
                }
                while (!m_early.empty() &&
                       m_early.begin()->first == static_cast<std::uint64_t>(m_position)) {
                    const auto node = m_early.extract(m_early.begin());
                    if (!Store(node.mapped())) {
                        return;
                    }
                }
                Progress();
                if (m_finished) {
                    return;
                }
            } else if (offset > static_cast<std::uint64_t>(m_position)) {
                m_early.emplace(offset, std::string(data));
            }
        }
        Pump();
    }

    bool Store(std::string_view data) {
        if (m_eofAt && static_cast<std::uint64_t>(m_position) >= *m_eofAt) {
            return true; // beyond an end found earlier: the file shrank meanwhile
        }
        if (!m_file.Write(data.data(), data.size())) {
            End(LocalFailure("Cannot write the local file " + m_localPath, m_file));
            return false;
        }
        m_position += static_cast<std::int64_t>(data.size());
        return true;
    }

    void Complete() {
        if (!m_eofAt || static_cast<std::uint64_t>(m_position) < *m_eofAt) {
            End(TSftpResult::Failed(TSftpError::Failure,
                                    "The file changed on the server during the download."));
            return;
        }
        End(TSftpResult::Success());
    }

    bool CloseLocal(bool complete) override {
        if (!m_file.IsOpen()) {
            return true;
        }
        return complete && m_offset == 0 ? m_file.Finish() : m_file.Close();
    }

    std::string m_remotePath;
    std::string m_localPath;
    TByteSink* m_sink;
    std::uint32_t m_block = 0;
    std::uint64_t m_next;
    std::optional<std::uint64_t> m_eofAt;
    bool m_probing = false;
    std::deque<std::pair<std::uint64_t, std::uint32_t>> m_retries;
    std::map<std::uint64_t, std::string> m_early;
};

class TUpload final : public TTransferBase {
public:
    TUpload(TSftpClient& client, std::string localPath, std::string remotePath, std::int64_t offset,
            TTransferCallbacks callbacks, TByteSource* source)
        : TTransferBase(client, std::move(callbacks), offset, client.UploadLimit),
          m_localPath(std::move(localPath)), m_remotePath(std::move(remotePath)),
          m_next(static_cast<std::uint64_t>(offset)) {
        if (source != nullptr) {
            m_file.OpenSource(*source); // it starts at the offset
        }
    }

    void Start() {
        if (!m_file.IsOpen() && !m_file.OpenForRead(m_localPath, m_offset)) {
            End(LocalFailure("Cannot read the local file " + m_localPath, m_file));
            return;
        }
        const std::uint32_t flags = kOpenWrite | kOpenCreate | (m_offset == 0 ? kOpenTruncate : 0);
        auto self = std::static_pointer_cast<TUpload>(shared_from_this());
        OpenRemote(m_remotePath, flags, [self] {
            self->m_buffer.resize(self->m_client.WriteBlockSize());
            self->Pump();
        });
    }

private:
    void Pump() override {
        const std::size_t block = m_buffer.size();
        while (!m_finished && !m_localEnd && m_inFlight < kRequestsInFlight &&
               (m_inFlight == 0 || m_bytesInFlight + block <= kMaxUploadBytesInFlight)) {
            const std::size_t allowed = Allowed(block);
            if (allowed == 0) {
                break;
            }
            const std::ptrdiff_t count = m_file.Read(m_buffer.data(), allowed);
            GiveBack(allowed, count);
            if (count < 0) {
                End(LocalFailure("Cannot read the local file " + m_localPath, m_file));
                return;
            }
            if (count == 0) {
                m_localEnd = true;
                break;
            }
            Send(static_cast<std::size_t>(count));
        }
        if (!m_finished && m_localEnd && m_inFlight == 0) {
            End(TSftpResult::Success());
        }
    }

    void Send(std::size_t count) {
        const std::uint64_t offset = m_next;
        m_next += count;
        ++m_inFlight;
        m_bytesInFlight += count;
        auto self = std::static_pointer_cast<TUpload>(shared_from_this());
        m_client.Write(m_handle, offset, std::string_view(m_buffer.data(), count),
                       [self, offset, count](const TSftpResult& result) {
                           --self->m_inFlight;
                           self->m_bytesInFlight -= count;
                           if (!self->m_finished) {
                               self->Written(offset, count, result);
                           }
                       });
    }

    void Written(std::uint64_t offset, std::size_t count, const TSftpResult& result) {
        if (!result.Ok()) {
            End(result);
            return;
        }
        // The position is the end of what the server took without a gap.
        m_acknowledged.emplace(offset, count);
        while (!m_acknowledged.empty() &&
               m_acknowledged.begin()->first == static_cast<std::uint64_t>(m_position)) {
            m_position += static_cast<std::int64_t>(m_acknowledged.begin()->second);
            m_acknowledged.erase(m_acknowledged.begin());
        }
        Progress();
        if (!m_finished) {
            Pump();
        }
    }

    bool CloseLocal(bool) override { return !m_file.IsOpen() || m_file.Close(); }

    std::string m_localPath;
    std::string m_remotePath;
    std::uint64_t m_next;
    bool m_localEnd = false;
    std::string m_buffer;
    std::map<std::uint64_t, std::size_t> m_acknowledged;
};

} // namespace

std::shared_ptr<TSftpTransfer> StartDownload(TSftpClient& client, const std::string& remotePath,
                                             const std::string& localPath, std::int64_t offset,
                                             TTransferCallbacks callbacks, TByteSink* sink) {
    auto download =
        std::make_shared<TDownload>(client, remotePath, localPath,
                                    std::max<std::int64_t>(offset, 0), std::move(callbacks), sink);
    download->Start();
    return download;
}

std::shared_ptr<TSftpTransfer> StartUpload(TSftpClient& client, const std::string& localPath,
                                           const std::string& remotePath, std::int64_t offset,
                                           TTransferCallbacks callbacks, TByteSource* source) {
    auto upload =
        std::make_shared<TUpload>(client, localPath, remotePath, std::max<std::int64_t>(offset, 0),
                                  std::move(callbacks), source);
    upload->Start();
    return upload;
}

} // namespace qx::sftp
