// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/CoreMessage.h"

#include <QString>

#include <string>

namespace qx {

// A text the core marked with QX_TRANSLATE_NOOP("qx::Core", ...), in the user's language; a
// text without a translation (a server's reply, a composed message) comes back as it is.
QString CoreText(const std::string& text);
// A format the core marked, in the user's language, for the core to fill (UTF-8).
std::string CoreFormat(const char* format);
// A message of the core, its formats and the messages inside it in the user's language.
QString CoreMessageText(const TCoreMessage& message);
// The decimal point of the user's locale (UTF-8), for the sizes the core writes.
std::string DecimalPoint();

} // namespace qx
