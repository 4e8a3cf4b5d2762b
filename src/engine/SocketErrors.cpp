// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SocketErrors.h"

#include <asio/error.hpp>

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace qx {

namespace {

struct ErrorText {
    int number;
    const char* text;
};

constexpr std::array kErrorTexts{
    ErrorText{0, "No Error"},
    ErrorText{10004, "Interrupted system call"},
    ErrorText{10009, "Bad file number"},
    ErrorText{10013, "Permission denied"},
    ErrorText{10014, "Bad address"},
    ErrorText{10022, "Invalid argument"},
    ErrorText{10024, "Too many open files"},
    ErrorText{10035, "Operation would block"},
    ErrorText{10036, "Operation now in progress"},
    ErrorText{10037, "Operation already in progress"},
    ErrorText{10038, "Socket operation on non-socket"},
    ErrorText{10039, "Destination address required"},
    ErrorText{10040, "Message too long"},
    ErrorText{10041, "Protocol wrong type for socket"},
    ErrorText{10042, "Protocol not available"},
    ErrorText{10043, "Protocol not supported"},
    ErrorText{10044, "Socket type not supported"},
    ErrorText{10045, "Operation not supported on socket"},
    ErrorText{10046, "Protocol family not supported"},
    ErrorText{10047, "Address family not supported by protocol family"},
    ErrorText{10048, "Address already in use"},
    ErrorText{10049, "Address not available"},
    ErrorText{10050, "Network is down"},
    ErrorText{10051, "Network is unreachable"},
    ErrorText{10052, "Network dropped connection on reset"},
    ErrorText{10053, "Connection aborted"},
    ErrorText{10054, "Connection reset by peer"},
    ErrorText{10055, "No buffer space available"},
    ErrorText{10056, "Socket is already connected"},
    ErrorText{10057, "Socket is not connected"},
    ErrorText{10058, "Can't send after socket shutdown"},
    ErrorText{10059, "Too many references: can't splice"},
    ErrorText{10060, "Connection timed out"},
    ErrorText{10061, "Connection refused"},
    ErrorText{10062, "Too many levels of symbolic links"},
    ErrorText{10063, "File name too long"},
    ErrorText{10064, "Host is down"},
    ErrorText{10065, "No route to host"},
    ErrorText{10066, "Directory not empty"},
    ErrorText{10067, "Too many processes"},
    ErrorText{10068, "Too many users"},
    ErrorText{10069, "Disc quota exceeded"},
    ErrorText{10070, "Stale NFS file handle"},
    ErrorText{10071, "Too many levels of remote in path"},
    ErrorText{10091, "Network sub-system is unusable"},
    ErrorText{10092, "WinSock DLL cannot support this application"},
    ErrorText{10093, "WinSock not initialized"},
    ErrorText{11001, "Host not found"},
    ErrorText{11002, "Non-authoritative host not found"},
    ErrorText{11003, "Non-recoverable error"},
    ErrorText{11004, "No Data"},
};

constexpr std::array kErrnoMap{
    std::pair{EINTR, 10004},
    std::pair{EBADF, 10009},
    std::pair{EACCES, 10013},
    std::pair{EPERM, 10013},
    std::pair{EFAULT, 10014},
    std::pair{EINVAL, 10022},
    std::pair{EMFILE, 10024},
    std::pair{ENFILE, 10024},
    std::pair{EAGAIN, 10035},
    std::pair{EINPROGRESS, 10036},
    std::pair{EALREADY, 10037},
    std::pair{ENOTSOCK, 10038},
    std::pair{EDESTADDRREQ, 10039},
    std::pair{EMSGSIZE, 10040},
    std::pair{EPROTOTYPE, 10041},
    std::pair{ENOPROTOOPT, 10042},
    std::pair{EPROTONOSUPPORT, 10043},
    std::pair{ESOCKTNOSUPPORT, 10044},
    std::pair{EOPNOTSUPP, 10045},
    std::pair{EPFNOSUPPORT, 10046},
    std::pair{EAFNOSUPPORT, 10047},
    std::pair{EADDRINUSE, 10048},
    std::pair{EADDRNOTAVAIL, 10049},
    std::pair{ENETDOWN, 10050},
    std::pair{ENETUNREACH, 10051},
    std::pair{ENETRESET, 10052},
    std::pair{ECONNABORTED, 10053},
    // A send on a connection the peer has already closed.
    std::pair{EPIPE, 10053},
    std::pair{ECONNRESET, 10054},
    std::pair{ENOBUFS, 10055},
    std::pair{ENOMEM, 10055},
    std::pair{EISCONN, 10056},
    std::pair{ENOTCONN, 10057},
    std::pair{ESHUTDOWN, 10058},
    std::pair{ETOOMANYREFS, 10059},
    std::pair{ETIMEDOUT, 10060},
    std::pair{ECONNREFUSED, 10061},
    std::pair{ELOOP, 10062},
    std::pair{ENAMETOOLONG, 10063},
    std::pair{EHOSTDOWN, 10064},
    std::pair{EHOSTUNREACH, 10065},
    std::pair{ENOTEMPTY, 10066},
    std::pair{EUSERS, 10068},
    std::pair{EDQUOT, 10069},
    std::pair{ESTALE, 10070},
    std::pair{EREMOTE, 10071},
};

} // namespace

std::string WSocketErrorDesc(int error) {
    for (const ErrorText& entry : kErrorTexts) {
        if (entry.number == error) {
            return entry.text;
        }
    }
    return "Not a WinSock error";
}

int WinsockErrorFromErrno(int error) {
    if (error == 0) {
        return 0;
    }
#if EWOULDBLOCK != EAGAIN
    if (error == EWOULDBLOCK) {
        return 10035;
    }
#endif
    for (const auto& [posix, winsock] : kErrnoMap) {
        if (posix == error) {
            return winsock;
        }
    }
    return 10000 + error;
}

int WinsockErrorFromAsio(const std::error_code& error) {
    if (!error) {
        return 0;
    }
    if (error == asio::error::host_not_found) {
        return 11001;
    }
    if (error == asio::error::host_not_found_try_again) {
        return 11002;
    }
    if (error == asio::error::no_recovery) {
        return 11003;
    }
    if (error == asio::error::no_data) {
        return 11004;
    }
    if (error == asio::error::service_not_found ||
        error == asio::error::socket_type_not_supported) {
        return 10044;
    }
    if (error.category() == std::system_category() || error.category() == std::generic_category() ||
        error.category() == asio::error::get_system_category()) {
        return WinsockErrorFromErrno(error.value());
    }
    // Any other lookup failure: the host could not be found.
    return 11001;
}

std::string SocketErrorText(int error) {
    if (error >= 11001 && error <= 11004) {
        return WSocketErrorDesc(error) + " (name lookup failed)";
    }
    int posix = error > 10000 ? error - 10000 : error;
    for (const auto& [code, winsock] : kErrnoMap) {
        if (winsock == error) {
            posix = code;
            break;
        }
    }
    const char* text = posix > 0 ? ::strerrordesc_np(posix) : nullptr;
    const std::string description = text != nullptr ? text : WSocketErrorDesc(error);
    return description + " (socket error #" + std::to_string(posix) + ")";
}

std::string WSocketErrorText(int error, const std::string& function) {
    return "Error " + std::to_string(error) + " in function " + function + "\r\n" +
           WSocketErrorDesc(error);
}

} // namespace qx
