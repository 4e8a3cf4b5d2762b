// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/sftp/SftpWire.h"

#include "engine/MlsdFacts.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace qx::sftp {

namespace {

constexpr std::uint32_t kAttrSize = 0x01;
constexpr std::uint32_t kAttrUidGid = 0x02;
constexpr std::uint32_t kAttrPermissions = 0x04;
constexpr std::uint32_t kAttrTimes = 0x08;
constexpr std::uint32_t kAttrExtended = 0x80000000;

void PutU32(char* at, std::uint32_t value) {
    at[0] = static_cast<char>(value >> 24);
    at[1] = static_cast<char>(value >> 16);
    at[2] = static_cast<char>(value >> 8);
    at[3] = static_cast<char>(value);
}

std::uint32_t GetU32(const char* at) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(at);
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
           static_cast<std::uint32_t>(bytes[2]) << 8 | static_cast<std::uint32_t>(bytes[3]);
}

} // namespace

bool TAttributes::IsFolder() const {
    return Permissions && S_ISDIR(*Permissions);
}

bool TAttributes::IsLink() const {
    return Permissions && S_ISLNK(*Permissions);
}

bool TAttributes::IsRegular() const {
    return Permissions && S_ISREG(*Permissions);
}

std::string PermissionText(std::uint32_t mode) {
    char kind = '?';
    switch (mode & S_IFMT) {
    case S_IFDIR:
        kind = 'd';
        break;
    case S_IFLNK:
        kind = 'l';
        break;
    case S_IFREG:
        kind = '-';
        break;
    case S_IFCHR:
        kind = 'c';
        break;
    case S_IFBLK:
        kind = 'b';
        break;
    case S_IFIFO:
        kind = 'p';
        break;
    case S_IFSOCK:
        kind = 's';
        break;
    default:
        break;
    }
    char bits[9];
    ModePermissionText(mode, bits);
    std::string text(1, kind);
    text.append(bits, sizeof bits);
    return text;
}

// --- Building ---------------------------------------------------------------------------------

TPacketBuilder::TPacketBuilder(std::string& buffer, TPacketType type)
    : m_buffer(buffer), m_start(buffer.size()) {
    m_buffer.append(4, '\0');
    U8(static_cast<std::uint8_t>(type));
}

TPacketBuilder& TPacketBuilder::U8(std::uint8_t value) {
    m_buffer.push_back(static_cast<char>(value));
    return *this;
}

TPacketBuilder& TPacketBuilder::U32(std::uint32_t value) {
    char bytes[4];
    PutU32(bytes, value);
    m_buffer.append(bytes, 4);
    return *this;
}

TPacketBuilder& TPacketBuilder::U64(std::uint64_t value) {
    U32(static_cast<std::uint32_t>(value >> 32));
    return U32(static_cast<std::uint32_t>(value));
}

TPacketBuilder& TPacketBuilder::String(std::string_view bytes) {
    U32(static_cast<std::uint32_t>(bytes.size()));
    m_buffer.append(bytes);
    return *this;
}

TPacketBuilder& TPacketBuilder::Attributes(const TAttributes& attributes) {
    std::uint32_t flags = 0;
    flags |= attributes.Size ? kAttrSize : 0;
    flags |= attributes.Uid && attributes.Gid ? kAttrUidGid : 0;
    flags |= attributes.Permissions ? kAttrPermissions : 0;
    flags |= attributes.AccessTime && attributes.ModifiedTime ? kAttrTimes : 0;
    flags |= attributes.Extended.empty() ? 0 : kAttrExtended;
    U32(flags);
    if (flags & kAttrSize) {
        U64(*attributes.Size);
    }
    if (flags & kAttrUidGid) {
        U32(*attributes.Uid).U32(*attributes.Gid);
    }
    if (flags & kAttrPermissions) {
        U32(*attributes.Permissions);
    }
    if (flags & kAttrTimes) {
        U32(*attributes.AccessTime).U32(*attributes.ModifiedTime);
    }
    if (flags & kAttrExtended) {
        U32(static_cast<std::uint32_t>(attributes.Extended.size()));
        for (const auto& [type, data] : attributes.Extended) {
            String(type).String(data);
        }
    }
    return *this;
}

void TPacketBuilder::End() {
    if (m_ended) {
        return;
    }
    m_ended = true;
    PutU32(m_buffer.data() + m_start, static_cast<std::uint32_t>(m_buffer.size() - m_start - 4));
}

// --- Reading ----------------------------------------------------------------------------------

bool TPacketReader::Take(std::size_t count) {
    if (m_failed || m_bytes.size() - m_position < count) {
        m_failed = true;
        return false;
    }
    return true;
}

std::uint8_t TPacketReader::U8() {
    if (!Take(1)) {
        return 0;
    }
    return static_cast<std::uint8_t>(m_bytes[m_position++]);
}

std::uint32_t TPacketReader::U32() {
    if (!Take(4)) {
        return 0;
    }
    const std::uint32_t value = GetU32(m_bytes.data() + m_position);
    m_position += 4;
    return value;
}

std::uint64_t TPacketReader::U64() {
    const std::uint64_t high = U32();
    return high << 32 | U32();
}

std::string_view TPacketReader::String() {
    const std::uint32_t length = U32();
    if (!Take(length)) {
        return {};
    }
    const std::string_view value = m_bytes.substr(m_position, length);
    m_position += length;
    return value;
}

TAttributes TPacketReader::Attributes() {
    TAttributes attributes;
    const std::uint32_t flags = U32();
    if (flags & kAttrSize) {
        attributes.Size = U64();
    }
    if (flags & kAttrUidGid) {
        attributes.Uid = U32();
        attributes.Gid = U32();
    }
    if (flags & kAttrPermissions) {
        attributes.Permissions = U32();
    }
    if (flags & kAttrTimes) {
        attributes.AccessTime = U32();
        attributes.ModifiedTime = U32();
    }
    if (flags & kAttrExtended) {
        // Each pair takes at least eight bytes: a count beyond what is left fails at once
        // instead of reserving for it.
        const std::uint32_t count = U32();
        if (count > (m_bytes.size() - m_position) / 8) {
            m_failed = true;
            return attributes;
        }
        for (std::uint32_t i = 0; i < count && Ok(); ++i) {
            const std::string_view type = String();
            const std::string_view data = String();
            attributes.Extended.emplace_back(type, data);
        }
    }
    return attributes;
}

// --- Framing ----------------------------------------------------------------------------------

char* TPacketStream::Prepare(std::size_t size) {
    if (m_consumed > 0) {
        // Only the start of one packet is ever left behind: the move is short.
        std::memmove(m_buffer.get(), m_buffer.get() + m_consumed, m_filled - m_consumed);
        m_filled -= m_consumed;
        m_consumed = 0;
    }
    if (m_filled + size > m_capacity) {
        const std::size_t capacity = std::max(m_filled + size, 2 * m_capacity);
        auto grown = std::make_unique_for_overwrite<char[]>(capacity);
        if (m_filled > 0) {
            std::memcpy(grown.get(), m_buffer.get(), m_filled);
        }
        m_buffer = std::move(grown);
        m_capacity = capacity;
    }
    return m_buffer.get() + m_filled;
}

void TPacketStream::Append(std::string_view bytes) {
    std::memcpy(Prepare(bytes.size()), bytes.data(), bytes.size());
    Commit(bytes.size());
}

std::optional<std::string_view> TPacketStream::Next() {
    if (Failed() || m_filled - m_consumed < 4) {
        return std::nullopt;
    }
    const std::uint32_t length = GetU32(m_buffer.get() + m_consumed);
    if (length == 0 || length > m_limit) {
        m_failedLength = length;
        return std::nullopt;
    }
    if (m_filled - m_consumed - 4 < length) {
        return std::nullopt;
    }
    const std::string_view packet(m_buffer.get() + m_consumed + 4, length);
    m_consumed += 4 + length;
    return packet;
}

} // namespace qx::sftp
