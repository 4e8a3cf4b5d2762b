// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Marks a fixed text of the core that a window shows to the user. The core has no Qt: the
// macro is the text itself, and the translation tools collect it under its context. A window
// translates it with CoreText (widgets/CoreTexts.h), which looks it up in "qx::Core".
#define QX_TRANSLATE_NOOP(context, text) text

namespace qx {

// The format with %1 to %9 replaced by the arguments in their order, in one pass: a "%2" that
// an argument brings along stays as it is, and so does a %N without its argument. A message
// is one marked format so that a translation may put its parts in another order.
std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args);
std::string FormatText(std::string_view format, const std::vector<std::string>& args);

} // namespace qx
