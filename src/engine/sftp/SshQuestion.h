// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace qx::sftp {

// A question ssh asks through the askpass helper, read from ssh's prompt text.
struct TSshQuestion {
    enum class TKind {
        Password,            // "user@host's password: "
        Passphrase,          // "Enter passphrase for key '...': ", a PIN of a token
        KeyboardInteractive, // "(user@host) Verification code: ": echo tells whether to show it
        UnknownHostKey,      // "Are you sure you want to continue connecting (yes/no/...)?"
        Confirm,             // a yes/no confirmation (ssh's SSH_ASKPASS_PROMPT=confirm)
        Notice,              // a message needing no answer (touch a security key, ...)
    };
    TKind Kind = TKind::Password;
    std::string Prompt; // ssh's whole text
    // Of an unknown host key: "[127.0.0.1]:2222", "ED25519", "SHA256:...".
    std::string Host;
    std::string KeyType;
    std::string Fingerprint;
};

// Reads the question from ssh's prompt and the hint ssh passes in SSH_ASKPASS_PROMPT (empty,
// "confirm" or "none").
TSshQuestion ClassifySshPrompt(std::string_view prompt, std::string_view hint);

} // namespace qx::sftp
