// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProgramSocket.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

namespace qx {

std::filesystem::path ProgramSocketPath() {
    std::error_code error;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime != nullptr && runtime[0] != '\0' && std::filesystem::is_directory(runtime, error)) {
        return std::filesystem::path(runtime) / "quorvin-explorer.socket";
    }
    const char* temporary = std::getenv("TMPDIR");
    const std::filesystem::path folder =
        temporary != nullptr && temporary[0] != '\0' ? temporary : "/tmp";
    return folder / ("quorvin-explorer-" + std::to_string(::getuid()) + ".socket");
}

bool ProgramIsRunning() {
    const std::string path = ProgramSocketPath().string();
    sockaddr_un address{};
    if (path.size() >= sizeof(address.sun_path)) {
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const bool connected =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return connected;
}

} // namespace qx
