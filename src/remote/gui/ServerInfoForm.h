// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FtpFeatures.h"
#include "widgets/CaptionedDialog.h"

#include <QString>

class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace qx {

// What is known about the server of a remote explorer, in read-only edits that can be copied
// from.
class TServerInfoForm final : public TCaptionedDialog {
    Q_OBJECT
public:
    TServerInfoForm(const QString& fontName, int fontSize, QWidget* parent = nullptr);

    void SetHostName(const QString& hostName);
    void SetPort(int port);
    void SetIPAddress(const QString& address);
    void SetServerType(const QString& systemName);
    // "Server Supports Resuming Transfer" or the like.
    void SetResumingSupportText(const QString& text);
    // The feature lines of the server's FEAT answer, on a page of their own.
    void SetFeatures(const TFtpFeatures& features);
    // What an SFTP session tells of its connection, one "name: value" a line, on that page.
    void SetSessionText(const QString& text);

private:
    QLineEdit* AddEdit(QFormLayout& form, const QString& caption, const char* name);

    QLineEdit* m_hostName;
    QLineEdit* m_port;
    QLineEdit* m_ipAddress;
    QLineEdit* m_serverType;
    QLabel* m_resumingSupport;
    QPlainTextEdit* m_features;
};

} // namespace qx
