// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/CertificateQuestion.h"

#include <QString>

class QWidget;

namespace qx {

class TConfigStore;
class TGlobalOptions;
class TThreadedFTPClient;

// Decides about a certificate that cannot be verified: one trusted always for this host and
// port is taken without a question; otherwise the user is asked (with a warning when another
// certificate was trusted before), and Trust Always stores it. True trusts it.
bool AskCertificateTrust(const TCertificateQuestion& question, TConfigStore& store,
                         const QString& fontName, int fontSize, QWidget* parent);

// The client's questions go to the user in dialogs in the options' font: a certificate as
// above, and what ssh asks that the password cannot answer.
void AskClientQuestions(TThreadedFTPClient& client, TConfigStore& store,
                        const TGlobalOptions& options, QWidget* parent);

} // namespace qx
