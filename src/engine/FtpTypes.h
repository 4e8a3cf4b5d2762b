// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <stdexcept>

namespace qx {

// Raised when the engine refuses a request that cannot start and no OnError handler is set.
class FtpException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TFtpState : std::uint8_t {
    ftpNotConnected = 0,
    ftpReady = 1,
    ftpInternalReady = 2,
    ftpDnsLookup = 3,
    ftpConnected = 4,
    ftpAbort = 5,
    ftpNotUsed = 6,
    ftpWaitingBanner = 7,
    ftpWaitingResponse = 8,
};

// The kind of a request, as OnRequestDone reports it.
enum class TFtpRequest : std::uint8_t {
    ftpNone = 0,
    ftpOpen = 1,
    ftpUser = 2,
    ftpPass = 3,
    ftpCwd = 4,
    ftpConnect = 5,
    ftpSessionGet = 6,
    ftpDir = 7,      // also List run alone
    ftpNameList = 8, // also Nlst run alone
    ftpPort = 9,
    ftpGet = 10, // also Retr run alone
    ftpSessionDir = 11,
    ftpSessionNameList = 12,
    ftpSessionSyst = 13,
    ftpSyst = 14,
    ftpQuit = 15,
    ftpSize = 16,   // also SessionSize
    ftpPut = 17,    // also Stor run alone
    ftpAppend = 18, // also Appe run alone
    ftpMkd = 21,
    ftpRmd = 22,
    ftpSessionRename = 23,
    ftpDele = 24,
    ftpRenamePair = 25,
    ftpRenameTo = 26,
    ftpRenameFrom = 27,
    ftpSessionDele = 28,
    ftpSessionMkd = 29,
    ftpSessionRmd = 30,
    ftpPwd = 31,
    ftpQuote = 32,
    ftpCDup = 33,
    ftpSessionQuote = 34,
    ftpSessionPut = 35, // also SessionAppend
    ftpSetType = 36,
    ftpRest = 37,
    ftpResumeGet = 38,
    ftpSessionResumeGet = 39,
};

// The steps of multi-step requests, in the order the driver runs them.
enum class TFtpStep : std::uint8_t {
    Open,
    User,
    Pass,
    Cwd,
    CDup,
    SetType,
    Port,
    Rest,
    Retr,
    Stor,
    Appe,
    List,
    Nlst,
    Syst,
    Mkd,
    Rmd,
    RenameFrom,
    RenameTo,
    Size,
    Dele,
    Pwd,
    Quote,
    Quit,
    None,
};

class TFtpSteps {
public:
    constexpr TFtpSteps() = default;
    constexpr TFtpSteps(std::initializer_list<TFtpStep> steps) {
        for (TFtpStep step : steps) {
            add(step);
        }
    }
    constexpr void add(TFtpStep step) { m_bits |= bit(step); }
    constexpr void remove(TFtpStep step) { m_bits &= ~bit(step); }
    constexpr bool contains(TFtpStep step) const { return (m_bits & bit(step)) != 0; }
    constexpr bool empty() const { return m_bits == 0; }
    constexpr void clear() { m_bits = 0; }

private:
    static constexpr std::uint32_t bit(TFtpStep step) {
        return std::uint32_t{1} << static_cast<unsigned>(step);
    }
    std::uint32_t m_bits = 0;
};

enum class TFTPConnectState : std::uint8_t {
    ftpcsLookingUp = 0,  // name lookup started
    ftpcsHostFound = 1,  // the name resolved; DnsResult is set
    ftpcsConnecting = 2, // TCP connect started
    ftpcsConnected = 3,  // TCP connection up, waiting for the greeting
    ftpcsGreeted = 4,    // greeting 220 received
    ftpcsClosed = 5,     // control connection closed
};

enum class TFtpShareMode : std::uint8_t {
    ftpShareCompat,
    ftpShareExclusive,
    ftpShareDenyWrite,
    ftpShareDenyRead,
    ftpShareDenyNone,
};

// How the control and data connections are protected. Explicit TLS asks with AUTH TLS after
// the greeting (and goes on in clear text when refused only if TLS is optional); implicit TLS
// speaks TLS from the first byte. Either way data connections are then protected (PBSZ 0,
// PROT P) and resume the control connection's TLS session.
enum class TFtpTlsMode : std::uint8_t {
    None = 0,
    ExplicitIfAvailable = 1,
    ExplicitRequired = 2,
    Implicit = 3,
};

enum TFtpOption : std::uint8_t { ftpAcceptLF = 1 };
using TFtpOptions = std::uint8_t;

} // namespace qx
