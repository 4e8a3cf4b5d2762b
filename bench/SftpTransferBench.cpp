// Moves one file over SFTP with the engine and prints the time it took, for
// scripts/bench-sftp, which compares it with OpenSSH's sftp on the same server:
//
//   bench_sftp_transfer CONFIG PORT get REMOTE LOCAL
//   bench_sftp_transfer CONFIG PORT put LOCAL REMOTE
//
// CONFIG is an ssh configuration file (-F) that logs in to 127.0.0.1 without asking.
// Prints "<bytes> <seconds>" of the transfer alone (the login is not counted).
#include "engine/sftp/SftpClient.h"
#include "engine/sftp/SftpTransfer.h"
#include "platform/MessageQueue.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

using namespace qx;
using namespace qx::sftp;

int main(int argc, char** argv) {
    if (argc != 6 || (std::string(argv[3]) != "get" && std::string(argv[3]) != "put")) {
        std::fprintf(stderr, "usage: %s CONFIG PORT get|put FROM TO\n", argv[0]);
        return 2;
    }
    MessageQueue queue;
    TSftpClient client(queue);
    std::optional<TSftpResult> result;
    const auto wait = [&] {
        while (!result) {
            queue.runOneFor(std::chrono::seconds(1));
        }
        const TSftpResult got = *result;
        result.reset();
        return got;
    };
    TSftpLogin login;
    login.Target.Host = "127.0.0.1";
    login.Target.Port = std::atoi(argv[2]);
    login.Target.ConfigFile = argv[1];
    login.Target.TimeoutSeconds = 60;
    client.Login(login, [&](const TSftpResult& got) { result = got; });
    if (const auto logged = wait(); !logged.Ok()) {
        std::fprintf(stderr, "login: %s\n", logged.Message.c_str());
        return 1;
    }
    std::int64_t bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    TTransferCallbacks callbacks{nullptr, [&](const TSftpResult& got, std::int64_t position) {
                                     bytes = position;
                                     result = got;
                                 }};
    if (std::string(argv[3]) == "get") {
        client.Download(argv[4], argv[5], 0, callbacks);
    } else {
        client.Upload(argv[4], argv[5], 0, callbacks);
    }
    const auto moved = wait();
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    if (!moved.Ok()) {
        std::fprintf(stderr, "%s: %s\n", argv[3], moved.Message.c_str());
        return 1;
    }
    std::printf("%lld %.3f\n", static_cast<long long>(bytes), seconds.count());
    client.Quit([&](const TSftpResult& got) { result = got; });
    wait();
    return 0;
}
