// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/PermissionBits.h"

#include <algorithm>

namespace qx {

namespace {
constexpr int kBits[] = {TPermissionBits::pbRead, TPermissionBits::pbWrite,
                         TPermissionBits::pbExecute};
constexpr char kLetters[] = {'r', 'w', 'x'};
} // namespace

void TPermissionBits::SetPermission(std::string_view text) {
    for (std::size_t position = 1; position < 10 && position < text.size(); ++position) {
        const int cls = static_cast<int>((position - 1) / 3);
        SetBit(cls, kBits[(position - 1) % 3], text[position] != '-');
    }
}

std::string TPermissionBits::GetPermission() const {
    std::string text(10, '-');
    for (int cls = pcYou; cls <= pcOther; ++cls) {
        for (std::size_t bit = 0; bit < 3; ++bit) {
            if (Bit(cls, kBits[bit])) {
                text[1 + static_cast<std::size_t>(cls) * 3 + bit] = kLetters[bit];
            }
        }
    }
    return text;
}

std::string TPermissionBits::GetOctal() const {
    std::string octal;
    for (const int digit : m_digits) {
        octal.push_back(static_cast<char>('0' + digit));
    }
    return octal;
}

void TPermissionBits::SetDigit(int cls, int digit) {
    m_digits[Index(cls)] = std::clamp(digit, 0, 7);
}

void TPermissionBits::SetBit(int cls, int bit, bool on) {
    int& digit = m_digits[Index(cls)];
    digit = on ? (digit | bit) : (digit & ~bit);
}

} // namespace qx
