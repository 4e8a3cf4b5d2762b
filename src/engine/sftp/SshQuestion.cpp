// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/sftp/SshQuestion.h"

namespace qx::sftp {

namespace {

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// The text between the two marks after `from`, or empty.
std::string_view Between(std::string_view text, std::string_view from, std::string_view to) {
    const std::size_t start = text.find(from);
    if (start == std::string_view::npos) {
        return {};
    }
    const std::size_t begin = start + from.size();
    const std::size_t end = text.find(to, begin);
    return end == std::string_view::npos ? std::string_view() : text.substr(begin, end - begin);
}

void ReadHostKey(std::string_view prompt, TSshQuestion& question) {
    // "The authenticity of host '[127.0.0.1]:2222 ([127.0.0.1]:2222)' can't be established.\n"
    // "ED25519 key fingerprint is SHA256:abc.\n"
    std::string_view host = Between(prompt, "authenticity of host '", "'");
    host = host.substr(0, host.find(" ("));
    question.Host = host;
    const std::size_t marker = prompt.find(" key fingerprint is ");
    if (marker == std::string_view::npos) {
        return;
    }
    const std::size_t lineStart = prompt.rfind('\n', marker);
    const std::size_t typeStart = lineStart == std::string_view::npos ? 0 : lineStart + 1;
    question.KeyType = prompt.substr(typeStart, marker - typeStart);
    std::string_view fingerprint = prompt.substr(marker + 20);
    fingerprint = fingerprint.substr(0, fingerprint.find_first_of("\r\n"));
    if (EndsWith(fingerprint, ".")) {
        fingerprint.remove_suffix(1);
    }
    question.Fingerprint = fingerprint;
}

} // namespace

TSshQuestion ClassifySshPrompt(std::string_view prompt, std::string_view hint) {
    using K = TSshQuestion::TKind;
    TSshQuestion question;
    question.Prompt = prompt;
    std::string_view trimmed = prompt;
    while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\n')) {
        trimmed.remove_suffix(1);
    }
    // Keyboard-interactive prompts come as "(user@host) prompt".
    const bool keyboardInteractive = prompt.starts_with("(");
    if (hint == "none") {
        question.Kind = K::Notice;
    } else if (Contains(prompt, "continue connecting (yes/no")) {
        question.Kind = K::UnknownHostKey;
        ReadHostKey(prompt, question);
    } else if (hint == "confirm") {
        question.Kind = K::Confirm;
    } else if (!keyboardInteractive && EndsWith(trimmed, "'s password:")) {
        question.Kind = K::Password;
    } else if (!keyboardInteractive &&
               (prompt.starts_with("Enter passphrase") || prompt.starts_with("Enter PIN"))) {
        question.Kind = K::Passphrase;
    } else {
        question.Kind = K::KeyboardInteractive;
    }
    return question;
}

} // namespace qx::sftp
