// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/gui/CertificateTrust.h"

#include "session/ThreadedFTPClient.h"
#include "session/gui/CertificateForm.h"
#include "session/gui/SshQuestionForm.h"
#include "settings/GlobalOptions.h"
#include "settings/TrustedCertificates.h"

namespace qx {

bool AskCertificateTrust(const TCertificateQuestion& question, TConfigStore& store,
                         const QString& fontName, int fontSize, QWidget* parent) {
    const std::string stored = StoredCertificate(store, question.HostName, question.Port);
    if (SameFingerprint(stored, question.Certificate.Sha256)) {
        return true;
    }
    TCertificateForm form(question, stored, fontName, fontSize, parent);
    form.exec();
    switch (form.Choice()) {
    case TCertificateChoice::TrustAlways:
        StoreCertificate(store, question.HostName, question.Port, question.Certificate.Sha256);
        return true;
    case TCertificateChoice::TrustOnce:
        return true;
    case TCertificateChoice::Cancel:
        break;
    }
    return false;
}

void AskClientQuestions(TThreadedFTPClient& client, TConfigStore& store,
                        const TGlobalOptions& options, QWidget* parent) {
    client.OnCertificate = [&store, &options, parent](TThreadedFTPClient&,
                                                      const TCertificateQuestion& question,
                                                      bool& trust) {
        trust = AskCertificateTrust(question, store, QString::fromStdString(options.FontName),
                                    options.FontSize, parent);
    };
    client.OnSshQuestion = [&options, parent](TThreadedFTPClient&,
                                              const sftp::TSshQuestion& question,
                                              std::optional<std::string>& answer) {
        answer = AskSshQuestion(question, QString::fromStdString(options.FontName),
                                options.FontSize, parent);
    };
}

} // namespace qx
