// SPDX-License-Identifier: GPL-3.0-or-later
// Cuts arbitrary control-connection bytes into reply lines the way the engine does (a 4096-byte
// buffer, LF or CR LF line ends) and runs every reply parser over each line.

#include "engine/FtpReplies.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool acceptLF = (data[0] & 1) != 0;
    std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string buffer;
    while (!input.empty() || !buffer.empty()) {
        // Bytes arrive in pieces that fit the free part of the buffer.
        const std::size_t room = 4095 - buffer.size();
        if (room == 0 || input.empty()) {
            break; // a full buffer ends the session, as in the engine
        }
        const std::size_t piece = std::min<std::size_t>(room, 1 + input.size() % 97);
        buffer.append(input.substr(0, piece));
        input.remove_prefix(std::min(piece, input.size()));
        while (const auto cut = qx::FindReplyLineEnd(buffer, acceptLF)) {
            if (cut->length + cut->terminator > buffer.size()) {
                std::abort();
            }
            const std::string line(qx::ReplyLineText(buffer, *cut));
            if (line.size() > cut->length || (!line.empty() && (line.back() == '\n'))) {
                std::abort();
            }
            const bool final = qx::IsFinalReplyLine(line);
            const int code = qx::ReplyCode(line);
            if (final && (line.empty() || line[0] < '0' || line[0] > '9')) {
                std::abort();
            }
            if (code < 0) {
                std::abort();
            }
            const std::string name = qx::QuotedDirName(line);
            if (name.size() > line.size()) {
                std::abort();
            }
            if (qx::SizeFromReply(line) < -1) {
                std::abort();
            }
            if (const auto port = qx::PasvPortFromReply(line); port && *port == 0) {
                std::abort();
            }
            if (const auto port = qx::EpsvPortFromReply(line); port && *port == 0) {
                std::abort();
            }
            buffer.erase(0, cut->length + cut->terminator);
        }
    }
    return 0;
}
