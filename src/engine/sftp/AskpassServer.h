// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/sftp/SshQuestion.h"
#include "platform/MessageQueue.h"

#include <asio/local/stream_protocol.hpp>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qx::sftp {

// Receives the questions ssh asks through the askpass helper (tools/quorvin-askpass) and hands
// them to the owner. ssh runs the helper with SSH_ASKPASS_REQUIRE=force; the helper connects to
// this server's Unix socket, which lies in a folder of its own closed to other users, and only
// connections of this user's processes are taken.
//
// The helper's messages: "u32 length, hint" (SSH_ASKPASS_PROMPT) and "u32 length, prompt";
// the server's answer: "u8 1, u32 length, text", or "u8 0" when the question was cancelled.
// Lengths are big-endian; a hint above 64 bytes or a prompt above kMaxPrompt ends the
// connection unanswered.
class TAskpassServer {
public:
    static constexpr std::size_t kMaxPrompt = 16 * 1024;
    static constexpr std::size_t kMaxAnswer = 64 * 1024;

    // The text to give, or nothing to cancel. May be called from any thread, once, while the
    // server's queue exists.
    using TAnswer = std::function<void(std::optional<std::string>)>;
    using TAsk = std::function<void(const TSshQuestion&, TAnswer)>;

    TAskpassServer(MessageQueue& queue, TAsk ask);
    TAskpassServer(const TAskpassServer&) = delete;
    TAskpassServer& operator=(const TAskpassServer&) = delete;
    // Closes the socket and removes its folder; questions still open are dropped.
    ~TAskpassServer();

    bool Start(std::string& error);
    // The environment entries that make ssh ask through the helper program.
    std::vector<std::string> Environment(const std::string& helperProgram) const;
    const std::filesystem::path& SocketPath() const { return m_socketPath; }

private:
    class TConnection;
    void Accept();

    MessageQueue& m_queue;
    TAsk m_ask;
    asio::local::stream_protocol::acceptor m_acceptor;
    std::filesystem::path m_folder;
    std::filesystem::path m_socketPath;
    std::vector<std::weak_ptr<TConnection>> m_connections;
    std::shared_ptr<char> m_life = std::make_shared<char>();
};

// The askpass helper to run: $QX_ASKPASS_PROGRAM, else quorvin-askpass in the libexec folder
// beside the running program's (installed layout), else where the build put it. Empty when
// none of them is an executable file.
std::string FindAskpassProgram();

// A helper program of the installation: the file $overrideVariable names, else relativePath
// from the running program's folder, else buildPath; empty when none is an executable file.
std::string FindHelperProgram(const char* overrideVariable, const char* relativePath,
                              const char* buildPath);

} // namespace qx::sftp
