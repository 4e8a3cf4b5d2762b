// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace qx {

// The nine read, write and execute bits of owner ("You"), group and others that the change
// permission dialog edits, with the two forms it hands back: the listing's ten-character text
// and the three octal digits of SITE CHMOD. Special bits (s, t, S, T) cannot be written as
// three digits: read from a listing they count as executable.
class TPermissionBits {
public:
    enum TClass : int { pcYou = 0, pcGroup = 1, pcOther = 2 };
    enum TBit : int { pbRead = 4, pbWrite = 2, pbExecute = 1 };

    // Sets the bits from a listing's text: its 2nd to 10th characters, as far as the text
    // reaches; a bit is set by any character other than "-". The first (the type) is ignored.
    void SetPermission(std::string_view text);
    // "-" followed by the nine letters r, w, x or "-".
    std::string GetPermission() const;
    // The three digits, owner first.
    std::string GetOctal() const;

    int Digit(int cls) const { return m_digits[Index(cls)]; }
    // Clamped to 0 to 7.
    void SetDigit(int cls, int digit);
    bool Bit(int cls, int bit) const { return (m_digits[Index(cls)] & bit) != 0; }
    void SetBit(int cls, int bit, bool on);

private:
    static std::size_t Index(int cls) {
        return static_cast<std::size_t>(cls < 0 ? 0 : cls > 2 ? 2 : cls);
    }
    std::array<int, 3> m_digits{};
};

} // namespace qx
