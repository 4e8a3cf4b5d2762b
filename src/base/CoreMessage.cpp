// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CoreMessage.h"

#include "base/Translatable.h"

namespace qx {

std::string TCoreMessage::Text() const {
    return Text([](const char* format) { return std::string(format); });
}

std::string TCoreMessage::Text(const TTranslate& translate) const {
    if (m_format == nullptr) {
        return m_text;
    }
    std::vector<std::string> args;
    args.reserve(m_args.size());
    for (const TCoreMessage& arg : m_args) {
        args.push_back(arg.Text(translate));
    }
    return FormatText(translate(m_format), args);
}

} // namespace qx
