// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qx {

// Pure helpers for the text of the control connection.

// Where the first line in the received bytes ends: the length of the line without its end and
// the number of bytes to drop after it (1 for LF, 2 for CR LF). With acceptLF a line ends at
// LF, otherwise only at CR LF. Nothing when no complete line is there yet.
struct LineCut {
    std::size_t length;
    std::size_t terminator;
};
std::optional<LineCut> FindReplyLineEnd(std::string_view bytes, bool acceptLF);

// The line itself: the bytes before the end, with any CR and LF left at its end removed.
std::string_view ReplyLineText(std::string_view bytes, const LineCut& cut);

// A final reply line begins with a digit and its number is not followed by "-". Empty lines,
// lines of text and "nnn-" continuation lines are intermediate.
bool IsFinalReplyLine(std::string_view line);
// The number at the start of the line (0 when there is none).
int ReplyCode(std::string_view line);

// The quoted name of a 257-style reply: after the code and any blanks, the text inside double
// quotes where "" stands for one quote; empty when the reply has no quote there.
std::string QuotedDirName(std::string_view line);

// The first word after the reply code that consists of digits only, or -1.
std::int64_t SizeFromReply(std::string_view line);

// The size a reply to RETR announces, "150 Opening BINARY mode data connection for f (1234
// bytes)."; -1 when it names none.
std::int64_t ByteCountFromReply(std::string_view line);

// The data port of a 227 reply "(h1,h2,h3,h4,p1,p2)": p1 * 256 + p2. Nothing when the fields
// are not numbers, out of range, or name port 0.
std::optional<std::uint16_t> PasvPortFromReply(std::string_view line);

// The data port of a 229 reply "(|||port|)" (RFC 2428): the character after "(" delimits four
// fields of which only the last but one, the port, may be filled. Nothing for any other shape,
// port 0, or a port above 65535.
std::optional<std::uint16_t> EpsvPortFromReply(std::string_view line);

// The EPRT command for a data listener at an address in text form ("127.0.0.1" or "::1").
std::string EprtCommand(std::string_view address, bool ipv6, std::uint16_t port);

// The PORT command for a data listener at address (host byte order) and port. Towards a server
// at 127.0.0.1 the loopback address is announced whatever the local address is.
std::string PortCommand(std::uint32_t address, std::uint16_t port, bool serverIsLoopback);

} // namespace qx
