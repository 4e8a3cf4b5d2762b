// SPDX-License-Identifier: GPL-3.0-or-later
// The askpass helper that ssh runs (SSH_ASKPASS) for every question it asks: passwords,
// passphrases, keyboard-interactive prompts, an unknown host key. It hands ssh's prompt to the
// program that started ssh, over the Unix socket named in QX_ASKPASS_SOCKET, and prints the
// answer for ssh. Exit status 1 (ssh takes it as "cancelled") when there is no answer.
//
// To the socket: "u32 length, SSH_ASKPASS_PROMPT's value", "u32 length, prompt"; back:
// "u8 1, u32 length, answer" or "u8 0". Lengths big-endian.
#include "platform/WriteAll.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr std::uint32_t kMaxAnswer = 64 * 1024;

bool ReadAll(int fd, char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t count = ::read(fd, data, size);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        data += count;
        size -= static_cast<std::size_t>(count);
    }
    return true;
}

void AppendField(std::string& message, std::string_view field) {
    const auto size = static_cast<std::uint32_t>(field.size());
    for (const int shift : {24, 16, 8, 0}) {
        message.push_back(static_cast<char>(size >> shift));
    }
    message.append(field);
}

int Fail(const char* why) {
    std::fprintf(stderr, "quorvin-askpass: %s\n", why);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const char* socketPath = std::getenv("QX_ASKPASS_SOCKET");
    if (socketPath == nullptr || *socketPath == '\0') {
        return Fail("QX_ASKPASS_SOCKET is not set; this helper is run by ssh for Quorvin Explorer");
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (std::strlen(socketPath) >= sizeof address.sun_path) {
        return Fail("the socket path is too long");
    }
    std::strcpy(address.sun_path, socketPath);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return Fail("cannot reach the program that started ssh");
    }
    const char* hint = std::getenv("SSH_ASKPASS_PROMPT");
    std::string message;
    AppendField(message, hint != nullptr ? hint : "");
    AppendField(message, argc > 1 ? argv[1] : "");
    if (!qx::WriteAll(fd, message)) {
        return Fail("cannot pass the question on");
    }
    char status = 0;
    if (!ReadAll(fd, &status, 1) || status != 1) {
        return 1; // cancelled
    }
    unsigned char length[4];
    if (!ReadAll(fd, reinterpret_cast<char*>(length), sizeof length)) {
        return Fail("the answer was cut off");
    }
    const std::uint32_t size = static_cast<std::uint32_t>(length[0]) << 24 |
                               static_cast<std::uint32_t>(length[1]) << 16 |
                               static_cast<std::uint32_t>(length[2]) << 8 | length[3];
    if (size > kMaxAnswer) {
        return Fail("the answer is too long");
    }
    std::string answer(size, '\0');
    if (!ReadAll(fd, answer.data(), answer.size())) {
        return Fail("the answer was cut off");
    }
    answer.push_back('\n');
    const bool written = qx::WriteAll(STDOUT_FILENO, answer);
    std::memset(answer.data(), 0, answer.size());
    return written ? 0 : 1;
}
