// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/sftp/AskpassServer.h"

#include "platform/TempFiles.h"

#include <asio/read.hpp>
#include <asio/write.hpp>

#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <system_error>

#ifndef QX_ASKPASS_RELATIVE_PATH
#error "QX_ASKPASS_RELATIVE_PATH must name the askpass helper relative to the programs' folder"
#endif
#ifndef QX_ASKPASS_BUILD_PATH
#error "QX_ASKPASS_BUILD_PATH must name the askpass helper of the build"
#endif

namespace qx::sftp {

namespace {

std::uint32_t GetU32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
           static_cast<std::uint32_t>(bytes[2]) << 8 | static_cast<std::uint32_t>(bytes[3]);
}

bool IsExecutableFile(const std::filesystem::path& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error) &&
           ::access(path.c_str(), X_OK) == 0;
}

} // namespace

// One run of the helper: reads its hint and prompt, asks, writes the answer.
class TAskpassServer::TConnection : public std::enable_shared_from_this<TConnection> {
public:
    TConnection(MessageQueue& queue, asio::local::stream_protocol::socket socket, TAsk& ask,
                std::weak_ptr<char> serverLife)
        : m_queue(queue), m_socket(std::move(socket)), m_ask(ask),
          m_serverLife(std::move(serverLife)) {}

    void Start() {
        ucred peer{};
        socklen_t length = sizeof peer;
        if (::getsockopt(m_socket.native_handle(), SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 ||
            peer.uid != ::getuid()) {
            return; // not ours: closed unanswered
        }
        ReadField(64, [self = shared_from_this()](std::string hint) {
            self->m_hint = std::move(hint);
            self->ReadField(kMaxPrompt, [self](const std::string& prompt) { self->Ask(prompt); });
        });
    }

    // The server is going away: an open question is dropped.
    void Drop() {
        m_pending.reset();
        std::error_code ignored;
        m_socket.close(ignored);
    }

private:
    template <typename Next> void ReadField(std::size_t limit, Next next) {
        asio::async_read(
            m_socket, asio::buffer(m_length),
            [self = shared_from_this(), limit, next](const std::error_code& error, std::size_t) {
                const std::uint32_t length = GetU32(self->m_length.data());
                if (error || length > limit) {
                    return;
                }
                self->m_field.assign(length, '\0');
                asio::async_read(self->m_socket, asio::buffer(self->m_field),
                                 [self, next](const std::error_code& readError, std::size_t) {
                                     if (!readError) {
                                         next(std::move(self->m_field));
                                     }
                                 });
            });
    }

    void Ask(const std::string& prompt) {
        if (m_serverLife.expired()) {
            return;
        }
        const TSshQuestion question = ClassifySshPrompt(prompt, m_hint);
        auto answered = std::make_shared<bool>(false);
        TAnswer answer = [weak = weak_from_this(), &queue = m_queue,
                          answered](std::optional<std::string> text) {
            // Moved onto the queue's thread, where the socket lives.
            queue.post([weak, answered, text = std::move(text)]() mutable {
                auto self = weak.lock();
                if (!self || *answered) {
                    return;
                }
                *answered = true;
                self->Reply(std::move(text));
            });
        };
        if (question.Kind == TSshQuestion::TKind::Notice) {
            Reply(std::string());
            m_ask(question, [](const std::optional<std::string>&) {});
            return;
        }
        // The connection stays alive in the answer until it is given (or dropped).
        m_pending = shared_from_this();
        m_ask(question, std::move(answer));
    }

    void Reply(std::optional<std::string> text) {
        m_pending.reset();
        if (text && text->size() > kMaxAnswer) {
            text.reset();
        }
        m_reply.assign(1, text ? '\1' : '\0');
        if (text) {
            const auto size = static_cast<std::uint32_t>(text->size());
            for (const int shift : {24, 16, 8, 0}) {
                m_reply.push_back(static_cast<char>(size >> shift));
            }
            m_reply += *text;
        }
        asio::async_write(m_socket, asio::buffer(m_reply),
                          [self = shared_from_this()](const std::error_code&, std::size_t) {
                              std::error_code ignored;
                              self->m_socket.shutdown(
                                  asio::local::stream_protocol::socket::shutdown_both, ignored);
                          });
    }

    MessageQueue& m_queue;
    asio::local::stream_protocol::socket m_socket;
    TAsk& m_ask;
    std::weak_ptr<char> m_serverLife;
    std::array<unsigned char, 4> m_length{};
    std::string m_field;
    std::string m_hint;
    std::string m_reply;
    std::shared_ptr<TConnection> m_pending;
};

TAskpassServer::TAskpassServer(MessageQueue& queue, TAsk ask)
    : m_queue(queue), m_ask(std::move(ask)), m_acceptor(queue.context()) {}

TAskpassServer::~TAskpassServer() {
    m_life.reset();
    std::error_code ignored;
    m_acceptor.close(ignored);
    for (const auto& weak : m_connections) {
        if (const auto connection = weak.lock()) {
            connection->Drop();
        }
    }
    if (!m_folder.empty()) {
        std::filesystem::remove_all(m_folder, ignored);
    }
}

bool TAskpassServer::Start(std::string& error) {
    try {
        std::string pattern = (PrivateTempFolder() / "askpass-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            error = "Cannot create the folder of the askpass socket.";
            return false;
        }
        m_folder = pattern;
        m_socketPath = m_folder / "socket";
        if (m_socketPath.string().size() >= sizeof(sockaddr_un::sun_path)) {
            error = "The askpass socket's path is too long: " + m_socketPath.string();
            return false;
        }
        const asio::local::stream_protocol::endpoint endpoint(m_socketPath.string());
        m_acceptor.open(endpoint.protocol());
        m_acceptor.bind(endpoint);
        m_acceptor.listen();
    } catch (const std::exception& failure) {
        error = std::string("Cannot listen for the askpass helper: ") + failure.what();
        return false;
    }
    Accept();
    return true;
}

void TAskpassServer::Accept() {
    m_acceptor.async_accept(
        [this, life = std::weak_ptr<char>(m_life)](const std::error_code& error,
                                                   asio::local::stream_protocol::socket socket) {
            if (life.expired() || error == asio::error::operation_aborted) {
                return;
            }
            if (!error) {
                std::erase_if(m_connections, [](const auto& weak) { return weak.expired(); });
                auto connection =
                    std::make_shared<TConnection>(m_queue, std::move(socket), m_ask, m_life);
                m_connections.push_back(connection);
                connection->Start();
            }
            Accept();
        });
}

std::vector<std::string> TAskpassServer::Environment(const std::string& helperProgram) const {
    return {"SSH_ASKPASS=" + helperProgram, "SSH_ASKPASS_REQUIRE=force",
            "QX_ASKPASS_SOCKET=" + m_socketPath.string()};
}

std::string FindHelperProgram(const char* overrideVariable, const char* relativePath,
                              const char* buildPath) {
    if (const char* given = std::getenv(overrideVariable); given != nullptr && *given) {
        return IsExecutableFile(given) ? given : std::string();
    }
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const auto installed = (self.parent_path() / relativePath).lexically_normal();
        if (IsExecutableFile(installed)) {
            return installed.string();
        }
    }
    return IsExecutableFile(buildPath) ? buildPath : std::string();
}

std::string FindAskpassProgram() {
    return FindHelperProgram("QX_ASKPASS_PROGRAM", QX_ASKPASS_RELATIVE_PATH, QX_ASKPASS_BUILD_PATH);
}

} // namespace qx::sftp
