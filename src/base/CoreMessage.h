// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qx {

// A message of the core for the user: a format marked with QX_TRANSLATE_NOOP("qx::Core", ...)
// (base/Translatable.h) and what fills its %1, %2. An argument is a text shown as it is (a
// name, a number, a server's reply, the C library's reason) or a message of its own, so that a
// reason inside a sentence is translated with it. The command-line tool, the logs and the
// tests take Text(), in English; a window shows CoreMessageText (widgets/CoreTexts.h).
class TCoreMessage {
public:
    using TTranslate = std::function<std::string(const char* format)>;

    TCoreMessage() = default;
    // A marked format (a literal: its text is looked up in the translations).
    TCoreMessage(const char* format, std::vector<TCoreMessage> args = {})
        : m_format(format), m_args(std::move(args)) {}
    // A text shown as it is; implicit, as most arguments are such texts.
    TCoreMessage(std::string text) : m_text(std::move(text)) {}

    bool Empty() const { return m_format == nullptr && m_text.empty(); }
    // In English.
    std::string Text() const;
    // Every format, this one's and its arguments', passed through translate first.
    std::string Text(const TTranslate& translate) const;

private:
    const char* m_format = nullptr; // none: m_text is the message
    std::string m_text;
    std::vector<TCoreMessage> m_args;
};

} // namespace qx
