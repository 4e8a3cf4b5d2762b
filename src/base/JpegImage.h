// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qx {

// A decoded JPEG picture: rows of RGB bytes, top row first.
struct TJpegImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Rgb; // Width * Height * 3 bytes
};

// Decodes a baseline (or progressive) JPEG file; nothing, with the reason in error, when the
// file cannot be read or is not a JPEG picture. Pictures larger than 16384 pixels a side are
// refused.
std::optional<TJpegImage> DecodeJpegFile(const std::string& path, std::string& error);

} // namespace qx
