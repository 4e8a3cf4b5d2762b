// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The SFTP protocol, version 3, as OpenSSH speaks it: packet types, status codes, attributes,
// and the encoding and bounded decoding of packets. Every packet is
// "uint32 length, byte type, payload", all numbers big-endian, strings "uint32 length, bytes".
namespace qx::sftp {

inline constexpr std::uint32_t kProtocolVersion = 3;
// No packet from the server may be longer than this (OpenSSH's own limit); a longer one ends
// the connection, so that a hostile server cannot make the client hold more.
inline constexpr std::size_t kMaxPacketLength = 256 * 1024;

enum class TPacketType : std::uint8_t {
    Init = 1,
    Version = 2,
    Open = 3,
    Close = 4,
    Read = 5,
    Write = 6,
    LStat = 7,
    FStat = 8,
    SetStat = 9,
    FSetStat = 10,
    OpenDir = 11,
    ReadDir = 12,
    Remove = 13,
    MkDir = 14,
    RmDir = 15,
    RealPath = 16,
    Stat = 17,
    Rename = 18,
    ReadLink = 19,
    Symlink = 20,
    Status = 101,
    Handle = 102,
    Data = 103,
    Name = 104,
    Attrs = 105,
    Extended = 200,
    ExtendedReply = 201,
};

enum class TStatusCode : std::uint32_t {
    Ok = 0,
    Eof = 1,
    NoSuchFile = 2,
    PermissionDenied = 3,
    Failure = 4,
    BadMessage = 5,
    NoConnection = 6,
    ConnectionLost = 7,
    OpUnsupported = 8,
};

// Flags of OPEN.
inline constexpr std::uint32_t kOpenRead = 0x01;
inline constexpr std::uint32_t kOpenWrite = 0x02;
inline constexpr std::uint32_t kOpenAppend = 0x04;
inline constexpr std::uint32_t kOpenCreate = 0x08;
inline constexpr std::uint32_t kOpenTruncate = 0x10;
inline constexpr std::uint32_t kOpenExclusive = 0x20;

// File attributes; a member without a value was not sent.
struct TAttributes {
    std::optional<std::uint64_t> Size;
    std::optional<std::uint32_t> Uid;
    std::optional<std::uint32_t> Gid;
    std::optional<std::uint32_t> Permissions; // the whole st_mode: kind and permission bits
    std::optional<std::uint32_t> AccessTime;  // seconds since 1970, UTC
    std::optional<std::uint32_t> ModifiedTime;
    std::vector<std::pair<std::string, std::string>> Extended;

    // Kinds from the mode's type bits; all false when the server sent no permissions.
    bool IsFolder() const;
    bool IsLink() const;
    bool IsRegular() const;
};

// "drwxr-xr-x" of a mode: the kind ('d', 'l', '-', 'c', 'b', 'p', 's', '?') and the nine
// permission places with set-id and sticky bits as ls shows them.
std::string PermissionText(std::uint32_t mode);

// Appends one packet to a buffer: the constructor writes the length place and the type, the
// fields follow, and End() (or the destructor) fills in the length.
class TPacketBuilder {
public:
    TPacketBuilder(std::string& buffer, TPacketType type);
    // A request: the type, then its id.
    TPacketBuilder(std::string& buffer, TPacketType type, std::uint32_t id)
        : TPacketBuilder(buffer, type) {
        U32(id);
    }
    ~TPacketBuilder() { End(); }
    TPacketBuilder(const TPacketBuilder&) = delete;
    TPacketBuilder& operator=(const TPacketBuilder&) = delete;

    TPacketBuilder& U8(std::uint8_t value);
    TPacketBuilder& U32(std::uint32_t value);
    TPacketBuilder& U64(std::uint64_t value);
    TPacketBuilder& String(std::string_view bytes);
    TPacketBuilder& Attributes(const TAttributes& attributes);
    void End();

private:
    std::string& m_buffer;
    std::size_t m_start;
    bool m_ended = false;
};

// Reads the fields of one packet's payload. A field that does not fit in what is left fails,
// and so does every read after it: the caller checks Ok() once at the end.
class TPacketReader {
public:
    explicit TPacketReader(std::string_view bytes) : m_bytes(bytes) {}

    std::uint8_t U8();
    std::uint32_t U32();
    std::uint64_t U64();
    std::string_view String();
    TAttributes Attributes();

    bool Ok() const { return !m_failed; }
    bool AtEnd() const { return m_position == m_bytes.size(); }
    std::string_view Rest() const { return m_bytes.substr(m_position); }

private:
    bool Take(std::size_t count);

    std::string_view m_bytes;
    std::size_t m_position = 0;
    bool m_failed = false;
};

// Cuts a byte stream into packets. Feed bytes with Append(); Next() gives each complete packet
// (type and payload, the length taken off), or fails the stream for good when a length is 0 or
// above the limit.
class TPacketStream {
public:
    explicit TPacketStream(std::size_t limit = kMaxPacketLength) : m_limit(limit) {}

    void Append(std::string_view bytes);
    // Room to receive into directly: at least `size` bytes at the end of the buffer; Commit()
    // says how many of them were filled.
    char* Prepare(std::size_t size);
    void Commit(std::size_t count) { m_filled += count; }

    // The next whole packet (a view into the stream, valid until the next call), or nothing
    // when more bytes are needed or the stream failed.
    std::optional<std::string_view> Next();
    // A length beyond the limit (or 0) came: the stream is broken.
    bool Failed() const { return m_failedLength.has_value(); }
    std::uint32_t FailedLength() const { return m_failedLength.value_or(0); }
    std::size_t Buffered() const { return m_filled - m_consumed; }

private:
    std::size_t m_limit;
    // Not a std::string: growing it would fill the room with zeros before every receive.
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity = 0;
    std::size_t m_filled = 0;
    std::size_t m_consumed = 0;
    std::optional<std::uint32_t> m_failedLength;
};

// One entry of a NAME reply.
struct TName {
    std::string FileName;
    std::string LongName;
    TAttributes Attributes;
};

} // namespace qx::sftp
