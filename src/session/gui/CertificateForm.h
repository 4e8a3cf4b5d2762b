// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/CertificateQuestion.h"
#include "widgets/CaptionedDialog.h"

namespace qx {

enum class TCertificateChoice { Cancel, TrustOnce, TrustAlways };

// The question when a server's certificate cannot be verified: the certificate (subject,
// issuer, validity, SHA-256 fingerprint) and why it failed, with the answers Trust Once, Trust
// Always and Cancel. With a stored fingerprint that differs, a warning says that the server
// now shows another certificate than the one trusted before.
class TCertificateForm final : public TCaptionedDialog {
    Q_OBJECT
public:
    TCertificateForm(const TCertificateQuestion& question, const std::string& storedFingerprint,
                     const QString& fontName, int fontSize, QWidget* parent = nullptr);

    // Closing the dialog otherwise than by a button is Cancel.
    TCertificateChoice Choice() const { return m_choice; }

private:
    TCertificateChoice m_choice = TCertificateChoice::Cancel;
};

} // namespace qx
