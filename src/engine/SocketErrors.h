// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <system_error>

namespace qx {

// Socket failures are reported with the classic Windows Sockets error numbers (10061 for a
// refused connection, 11001 for an unknown host, ...) so that every text the system shows for
// them stays the same on every platform.
constexpr int kWsaWouldBlock = 10035;
constexpr int kWsaNotConnected = 10057;

// The description of an error number: "Connection refused" for 10061, "Not a WinSock error"
// for numbers outside the table.
std::string WSocketErrorDesc(int error);

// The error number for a POSIX errno value (ECONNREFUSED gives 10061); unknown values give
// 10000 + errno so that they stay distinct and nonzero.
int WinsockErrorFromErrno(int error);

// The error number for a failed name lookup or other asio error code.
int WinsockErrorFromAsio(const std::error_code& error);

// How a failure of the network reads in the texts the user sees: the system's own description
// and number, "Connection refused (socket error #111)"; a failed name lookup reads
// "Host not found (name lookup failed)".
std::string SocketErrorText(int error);

// "Error <n> in function <function>" CR LF <description>.
std::string WSocketErrorText(int error, const std::string& function);

} // namespace qx
