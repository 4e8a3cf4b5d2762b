// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace qx::test {

// Thrown inside a script when the client does something else than the script expects, or
// does not do it in time; it ends the script and is reported by ScriptedFtpServer::failure().
class ScriptFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One control connection as a script sees it. Every call that waits gives up after the
// session's time-out, so a broken test fails instead of hanging.
class ScriptedSession {
public:
    ScriptedSession(int listener, std::chrono::milliseconds timeout,
                    std::function<void(const std::string&)> record);
    ~ScriptedSession();
    ScriptedSession(const ScriptedSession&) = delete;
    ScriptedSession& operator=(const ScriptedSession&) = delete;

    // Control connection
    void reply(std::string_view line);     // the line and CR LF
    void sendRaw(std::string_view bytes);  // exactly these bytes
    std::string readCommand();             // the next command line, without its line end
    void expect(std::string_view command); // the next command must be exactly this
    std::string expectPrefix(std::string_view prefix);
    // USER/PASS exchange with replies 331 and 230, after a 220 greeting.
    void greetAndLogin(std::string_view user = "anonymous");
    // True when the client closes the control connection within the time-out.
    bool waitForClientClose();
    void close();
    // Closes this control connection and waits for the client's next one.
    void nextConnection();

    // Data connection
    std::uint16_t listenPassive(); // a listener on 127.0.0.1, port chosen by the system
    static std::string pasvReply(std::uint16_t port);
    // Answers "PASV" with a 227 reply for a fresh listener (the next command must be PASV).
    void handlePasv();
    void acceptData();
    // Connects to the address of a "PORT h1,h2,h3,h4,p1,p2" command.
    void connectActive(std::string_view portCommand);
    // Answers the next command, which must be PORT, with 200 and connects to it later.
    std::string handlePort();
    void dataSend(std::string_view bytes);
    std::string dataReceiveAll(); // until the client closes the data connection
    void dataClose();
    void dataReset(); // closes with a reset instead of an orderly close

    std::chrono::milliseconds timeout() const { return m_timeout; }

    // FEAT, which clients send after the login, is answered by this handler without reaching
    // the script (by default refused, so that the client uses only the basic commands); empty,
    // the script gets FEAT like any other command.
    std::function<void(ScriptedSession&)> answerFeatures = [](ScriptedSession& s) {
        s.reply("502 Command not implemented");
    };
    // The same for EPSV, which clients try before PASV: refused by default.
    std::function<void(ScriptedSession&)> answerExtendedPassive = [](ScriptedSession& s) {
        s.reply("502 Command not implemented");
    };

private:
    void waitReadable(int fd, const char* what);
    int acceptOn(int listener, const char* what);

    int m_listener;
    std::chrono::milliseconds m_timeout;
    std::function<void(const std::string&)> m_record;
    int m_control = -1;
    int m_passiveListener = -1;
    int m_data = -1;
    std::string m_pendingActive;
    std::string m_received;
};

// A scripted FTP server on 127.0.0.1 and a free port. The script runs on the server's own
// thread as soon as the first client connects.
class ScriptedFtpServer {
public:
    using Script = std::function<void(ScriptedSession&)>;

    explicit ScriptedFtpServer(Script script,
                               std::chrono::milliseconds timeout = std::chrono::seconds(5));
    ~ScriptedFtpServer();
    ScriptedFtpServer(const ScriptedFtpServer&) = delete;
    ScriptedFtpServer& operator=(const ScriptedFtpServer&) = delete;

    std::uint16_t port() const { return m_port; }
    std::string portText() const { return std::to_string(m_port); }
    // Waits for the script to end; false when it is still running after the time-out.
    bool waitFinished(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // The first failure of the script, empty when it ran through.
    std::string failure() const;
    // Every command line the server received, in order.
    std::vector<std::string> commands() const;

private:
    int m_listener = -1;
    std::uint16_t m_port = 0;
    mutable std::mutex m_mutex;
    std::string m_failure;
    std::vector<std::string> m_commands;
    bool m_finished = false;
    std::thread m_thread;
};

} // namespace qx::test
