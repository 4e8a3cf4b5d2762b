// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/SitePropertiesEditor.h"
#include "settings/gui/ProxyFields.h"
#include "widgets/CaptionedDialog.h"
#include "widgets/SpeedLimitGroup.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace qx {

class TGlobalOptions;
class TSiteProperties;
class TTransferTypeRadioGroup;

// The modal dialog that edits one site: a new site, the properties of a stored site, or a
// quick connect. "Save" and "Connect..." copy the controls into the site before the dialog
// closes; "Cancel" copies nothing. The dialog never owns the site and never writes the store.
class TSitePropertiesForm final : public TCaptionedDialog {
    Q_OBJECT
public:
    // The modal results.
    enum TResult : int {
        CancelResult = QDialog::Rejected,
        SaveResult = QDialog::Accepted,
        ConnectResult = 2,
    };
    enum class TPage { General, LoginInformation, Advanced };
    enum class TControl { Name, HostName };
    enum class TButton { Save, Connect };

    TSitePropertiesForm(TSiteProperties& site, const TGlobalOptions& options,
                        QWidget* parent = nullptr);

    // What the caller may set before showing the dialog.
    void SetNameText(const QString& text);
    void SetNameEnabled(bool enabled);
    void SetLocationText(const QString& text);
    void SetActivePage(TPage page);
    void SetActiveControl(TControl control);
    void SetCaptionText(const QString& text); // "[Site Properties]" unless set
    void SetDefaultButton(TButton button);
    // Without a keyring, a line below the password tells where it is kept instead.
    void SetKeyringMissing(bool missing);

    QString NameText() const;

    static constexpr int kHelpContext = 1006;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* CreateGeneralPage();
    QWidget* CreateLoginPage();
    QWidget* CreateAdvancedPage();
    void CreateButtons();
    void ConnectSignals();
    void FillFromEditor();
    // The user name, the check box and the password follow the editor after a change.
    void ShowLogin();
    void UpdateButtons();
    // Enables what applies to the chosen protocol.
    void UpdateProtocolFields();
    void ChooseKeyFile();
    void Commit(TResult result);
    // The file-name character set's rows of the Advanced page (SitePropertiesFormCharset.cpp).
    void AddNameEncodingRows(QFormLayout& rows, QWidget* page);
    void CommitNameEncoding();
    // Speed limits and keep-alive (see SitePropertiesFormLimits.cpp).
    QWidget* CreateLimitsGroup(QWidget* page);
    void FillLimits();
    void CommitLimits();

    TSitePropertiesEditor m_editor;
    bool m_showingLogin = false;

    QTabWidget* m_pages = nullptr;
    QLabel* m_siteImage = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_location = nullptr;
    QLineEdit* m_hostName = nullptr;
    QLineEdit* m_port = nullptr;
    QCheckBox* m_anonymous = nullptr;
    QLineEdit* m_userName = nullptr;
    QLineEdit* m_password = nullptr;
    QLabel* m_passwordNote = nullptr;
    QLineEdit* m_initialFolder = nullptr;
    QSpinBox* m_loginRetry = nullptr;
    QSpinBox* m_reloginDelay = nullptr;
    QCheckBox* m_resumeTransfer = nullptr;
    QCheckBox* m_passiveMode = nullptr;
    QCheckBox* m_useMlsd = nullptr;
    QCheckBox* m_uploadToTemporaryName = nullptr;
    QSpinBox* m_timeZoneHours = nullptr;
    QSpinBox* m_timeZoneMinutes = nullptr;
    QComboBox* m_encryption = nullptr;
    QComboBox* m_protocol = nullptr;
    QLineEdit* m_sshKeyFile = nullptr;
    QPushButton* m_sshKeyFileBrowse = nullptr;
    QCheckBox* m_sshUseAgent = nullptr;
    TTransferTypeRadioGroup* m_transferType = nullptr;
    QPushButton* m_connect = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_cancel = nullptr;
    QWidget* m_activeControl = nullptr;
    TSiteProxyControls m_proxy;
    QComboBox* m_nameEncoding = nullptr;
    QComboBox* m_nameEncodingFallback = nullptr;
    QCheckBox* m_useGlobalLimits = nullptr;
    TSpeedLimitBoxes m_limits;
    QSpinBox* m_keepAlive = nullptr;
};

} // namespace qx
