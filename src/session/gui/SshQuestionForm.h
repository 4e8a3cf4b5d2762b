// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/sftp/SshQuestion.h"
#include "widgets/CaptionedDialog.h"

#include <optional>
#include <string>

class QLineEdit;

namespace qx {

// A question ssh asks during an SFTP login: an unknown host key (the host, the key type and
// the fingerprint, with Trust and Cancel), a password, a key's passphrase or a
// keyboard-interactive prompt (typed into a masked field), a yes/no confirmation, or a notice.
// ssh's own text is shown as plain text; what is typed is never written anywhere else.
class TSshQuestionForm final : public TCaptionedDialog {
    Q_OBJECT
public:
    TSshQuestionForm(const sftp::TSshQuestion& question, const QString& fontName, int fontSize,
                     QWidget* parent = nullptr);

    // What ssh is told: "yes" for a trusted host key or a confirmation, the typed text of a
    // prompt, an empty text for a notice; nothing when the user cancelled (closing the dialog
    // otherwise than by a button is Cancel).
    const std::optional<std::string>& Answer() const { return m_answer; }

private:
    void AddHostKey(const sftp::TSshQuestion& question);
    void AddPrompt(const sftp::TSshQuestion& question);
    void AddButtons(const QString& acceptCaption, const char* acceptName, bool withCancel);

    std::optional<std::string> m_answer;
    QLineEdit* m_secret = nullptr;
    sftp::TSshQuestion::TKind m_kind;
};

// Shows the question modally and returns its answer; the function the owners of SFTP sessions
// call from their question event.
std::optional<std::string> AskSshQuestion(const sftp::TSshQuestion& question,
                                          const QString& fontName, int fontSize, QWidget* parent);

} // namespace qx
