// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/gui/SitePropertiesForm.h"

#include "settings/GlobalOptions.h"
#include "settings/SiteProperties.h"
#include "settings/gui/FormAppearance.h"
#include "settings/gui/SiteBookIcons.h"
#include "widgets/MainDataModule.h"
#include "widgets/TitlePanel.h"
#include "widgets/TransferTypeRadioGroup.h"
#include "widgets/UpDownSpinBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <iterator>

namespace qx {

namespace {

// The choices of the core's editor (TSitePropertiesEditor), marked here for the translation
// they get in this window.
constexpr const char* kChoiceTexts[] = {
    QT_TRANSLATE_NOOP("qx::TSitePropertiesForm", "Use plain FTP"),
    QT_TRANSLATE_NOOP("qx::TSitePropertiesForm", "Use explicit TLS if available"),
    QT_TRANSLATE_NOOP("qx::TSitePropertiesForm", "Require explicit TLS"),
    QT_TRANSLATE_NOOP("qx::TSitePropertiesForm", "Require implicit TLS"),
    QT_TRANSLATE_NOOP("qx::TSitePropertiesForm", "FTP"),
    QT_TRANSLATE_NOOP("qx::TSitePropertiesForm", "SFTP (over SSH)")};
static_assert(std::size(kChoiceTexts) == std::size(TSitePropertiesEditor::kEncryptionTexts) +
                                             std::size(TSitePropertiesEditor::kProtocolTexts),
              "every choice of the editor is marked for translation");

QLineEdit* NewEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

// Only a real change moves the text, so the caret stays where the user is typing.
void SetTextIfChanged(QLineEdit& edit, const std::string& text) {
    const QString shown = ToQt(text);
    if (edit.text() != shown) {
        edit.setText(shown);
    }
}

} // namespace

TSitePropertiesForm::TSitePropertiesForm(TSiteProperties& site, const TGlobalOptions& options,
                                         QWidget* parent)
    : TCaptionedDialog(ToQt(options.FontName), options.FontSize, parent), m_editor(site, options) {
    setObjectName(QStringLiteral("SitePropertiesForm"));
    setWindowTitle(tr("Pellucor's Site Book [Site Properties]"));
    setProperty("helpContext", kHelpContext);
    TitlePanel().SetApplicationText(tr("Site Book"));
    TitlePanel().SetCaptionText(tr("[Site Properties]"));

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PropertiesPageControl"));
    m_pages->addTab(CreateGeneralPage(), tr("General"));
    m_pages->addTab(CreateLoginPage(), tr("Login Information"));
    m_pages->addTab(CreateAdvancedPage(), tr("Advanced"));
    m_pages->addTab(CreateSiteProxyPage(m_proxy), tr("Proxy"));
    m_pages->tabBar()->setUsesScrollButtons(false);
    CreateButtons();

    AddContentsWithButtonRow(m_pages, {m_connect, m_save, m_cancel});

    FillFromEditor();
    ConnectSignals();
    UpdateButtons();
    SetActivePage(TPage::General);
    SetActiveControl(TControl::Name);
    SetDefaultButton(TButton::Save);

    setTabOrder(m_name, m_protocol);
    setTabOrder(m_protocol, m_hostName);
    setTabOrder(m_hostName, m_port);
    setTabOrder(m_port, m_encryption);
    setTabOrder(m_encryption, m_anonymous);
    setTabOrder(m_anonymous, m_userName);
    setTabOrder(m_userName, m_password);
    setTabOrder(m_password, m_sshKeyFile);
    setTabOrder(m_sshKeyFile, m_sshKeyFileBrowse);
    setTabOrder(m_sshKeyFileBrowse, m_sshUseAgent);
    setTabOrder(m_sshUseAgent, m_initialFolder);
    setTabOrder(m_initialFolder, m_loginRetry);
    setTabOrder(m_loginRetry, m_reloginDelay);
    setTabOrder(m_reloginDelay, m_resumeTransfer);
    setTabOrder(m_resumeTransfer, m_passiveMode);
    setTabOrder(m_passiveMode, m_transferType);
    setTabOrder(m_transferType, m_connect);
    setTabOrder(m_connect, m_save);
    setTabOrder(m_save, m_cancel);
}

QWidget* TSitePropertiesForm::CreateGeneralPage() {
    auto* page = new QWidget;
    m_siteImage = new QLabel(page);
    m_siteImage->setObjectName(QStringLiteral("SiteImage"));
    m_siteImage->setPixmap(SiteBookSiteIcon().pixmap(32, 32));
    m_siteImage->setFixedSize(32, 32);
    m_name = NewEdit("NameEdit", page);
    m_location = NewEdit("LocationEdit", page);
    m_location->setEnabled(false);
    m_location->setMinimumWidth(m_location->fontMetrics().averageCharWidth() * 36);

    auto* fields = new QFormLayout;
    auto* nameLabel = new QLabel(tr("&Name:"), page);
    nameLabel->setBuddy(m_name);
    fields->addRow(nameLabel, m_name);
    fields->addRow(new QLabel(tr("Location:"), page), m_location);

    auto* layout = new QHBoxLayout(page);
    layout->addWidget(m_siteImage, 0, Qt::AlignTop);
    layout->addSpacing(layout->spacing());
    layout->addLayout(fields, 1);
    return page;
}

QWidget* TSitePropertiesForm::CreateLoginPage() {
    auto* page = new QWidget;
    m_hostName = NewEdit("HostNameEdit", page);
    m_hostName->installEventFilter(this);
    m_port = NewEdit("PortEdit", page);
    m_port->setMaximumWidth(m_port->fontMetrics().averageCharWidth() * 10);
    m_anonymous = new QCheckBox(tr("A&nonymous Login"), page);
    m_anonymous->setObjectName(QStringLiteral("AnonymousLoginCheckBox"));
    m_userName = NewEdit("UserNameEdit", page);
    m_password = NewEdit("PasswordEdit", page);
    m_initialFolder = NewEdit("InitialFolderEdit", page);
    m_encryption = new QComboBox(page);
    m_encryption->setObjectName(QStringLiteral("EncryptionComboBox"));
    for (const char* text : TSitePropertiesEditor::kEncryptionTexts) {
        m_encryption->addItem(tr(text));
    }
    m_protocol = new QComboBox(page);
    m_protocol->setObjectName(QStringLiteral("ProtocolComboBox"));
    for (const char* text : TSitePropertiesEditor::kProtocolTexts) {
        m_protocol->addItem(tr(text));
    }
    m_sshKeyFile = NewEdit("SshKeyFileEdit", page);
    m_sshKeyFile->setPlaceholderText(tr("ssh's own choice"));
    m_sshKeyFileBrowse = new QPushButton(tr("B&rowse..."), page);
    m_sshKeyFileBrowse->setObjectName(QStringLiteral("SshKeyFileButton"));
    m_sshUseAgent = new QCheckBox(tr("Use the SSH &agent"), page);
    m_sshUseAgent->setObjectName(QStringLiteral("SshUseAgentCheckBox"));
    auto* keyFile = new QHBoxLayout;
    keyFile->addWidget(m_sshKeyFile, 1);
    keyFile->addWidget(m_sshKeyFileBrowse);

    auto* layout = new QFormLayout(page);
    const auto addRow = [&](const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, page);
        label->setBuddy(field);
        layout->addRow(label, field);
    };
    addRow(tr("Pro&tocol:"), m_protocol);
    addRow(tr("&Host Name:"), m_hostName);
    addRow(tr("P&ort:"), m_port);
    addRow(tr("&Encryption:"), m_encryption);
    layout->addRow(QString(), m_anonymous);
    addRow(tr("&User Name:"), m_userName);
    addRow(tr("Pass&word:"), m_password);
    m_passwordNote = new QLabel(tr("No keyring is running: the password is kept in the "
                                   "settings file, readable only by you."),
                                page);
    m_passwordNote->setObjectName(QStringLiteral("PasswordNote"));
    m_passwordNote->setWordWrap(true);
    m_passwordNote->setVisible(false);
    layout->addRow(QString(), m_passwordNote);
    auto* keyFileLabel = new QLabel(tr("&Key File:"), page);
    keyFileLabel->setBuddy(m_sshKeyFile);
    layout->addRow(keyFileLabel, keyFile);
    layout->addRow(QString(), m_sshUseAgent);
    addRow(tr("&Initial Folder:"), m_initialFolder);
    return page;
}

void TSitePropertiesForm::SetKeyringMissing(bool missing) {
    m_passwordNote->setVisible(missing);
}

QWidget* TSitePropertiesForm::CreateAdvancedPage() {
    auto* page = new QWidget;
    m_loginRetry = NewUpDown("LoginRetryUpDown", page);
    m_reloginDelay = NewUpDown("ReloginDelayUpDown", page);
    m_resumeTransfer = new QCheckBox(tr("Resume &Transfer"), page);
    m_resumeTransfer->setObjectName(QStringLiteral("ResumeTransferCheckBox"));
    m_passiveMode = new QCheckBox(tr("&Passive Mode"), page);
    m_passiveMode->setObjectName(QStringLiteral("PassiveModeCheckBox"));
    m_useMlsd = new QCheckBox(tr("Use &machine listings (MLSD) when the server offers them"), page);
    m_useMlsd->setObjectName(QStringLiteral("UseMlsdCheckBox"));
    m_uploadToTemporaryName = new QCheckBox(
        tr("&Upload under a temporary name (off for servers that refuse renames)"), page);
    m_uploadToTemporaryName->setObjectName(QStringLiteral("UploadToTemporaryNameCheckBox"));
    m_transferType = new TTransferTypeRadioGroup(page);
    m_transferType->setObjectName(QStringLiteral("TransferTypeRadioGroup"));

    auto* numbers = new QFormLayout;
    auto* retryLabel = new QLabel(tr("Login &Retry:"), page);
    retryLabel->setBuddy(m_loginRetry);
    numbers->addRow(retryLabel, m_loginRetry);
    auto* delayLabel = new QLabel(tr("Relogin &Delay(sec):"), page);
    delayLabel->setBuddy(m_reloginDelay);
    numbers->addRow(delayLabel, m_reloginDelay);
    // Hours and minutes the server's LIST times run ahead of UTC.
    m_timeZoneHours = new QSpinBox(page);
    m_timeZoneHours->setObjectName(QStringLiteral("TimeZoneHoursSpinBox"));
    m_timeZoneHours->setRange(-24, 24);
    m_timeZoneHours->setSuffix(tr(" h"));
    m_timeZoneMinutes = new QSpinBox(page);
    m_timeZoneMinutes->setObjectName(QStringLiteral("TimeZoneMinutesSpinBox"));
    m_timeZoneMinutes->setRange(-59, 59);
    m_timeZoneMinutes->setSuffix(tr(" min"));
    auto* offset = new QHBoxLayout;
    offset->addWidget(m_timeZoneHours);
    offset->addWidget(m_timeZoneMinutes);
    offset->addStretch(1);
    auto* offsetLabel = new QLabel(tr("Time &zone offset (LIST):"), page);
    offsetLabel->setBuddy(m_timeZoneHours);
    numbers->addRow(offsetLabel, offset);
    AddNameEncodingRows(*numbers, page);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(numbers);
    layout->addWidget(m_resumeTransfer);
    layout->addWidget(m_passiveMode);
    layout->addWidget(m_useMlsd);
    layout->addWidget(m_uploadToTemporaryName);
    layout->addWidget(m_transferType);
    layout->addWidget(CreateLimitsGroup(page));
    layout->addStretch(1);
    return page;
}

void TSitePropertiesForm::CreateButtons() {
    m_connect = new QPushButton(TMainDataModule::ActionIcon(TMainDataModule::Connect),
                                tr("&Connect..."), this);
    m_connect->setObjectName(QStringLiteral("ConnectBitBtn"));
    m_save = new QPushButton(TMainDataModule::ActionIcon(TMainDataModule::Save), tr("&Save"), this);
    m_save->setObjectName(QStringLiteral("SaveBitBtn"));
    m_cancel =
        new QPushButton(TMainDataModule::ActionIcon(TMainDataModule::Cancel), tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("CancelBitBtn"));
    m_connect->setEnabled(false);
    m_save->setEnabled(false);
}

void TSitePropertiesForm::FillFromEditor() {
    m_name->setText(ToQt(m_editor.NameText));
    m_name->setEnabled(m_editor.NameEnabled);
    m_location->setText(ToQt(m_editor.LocationText));
    m_hostName->setText(ToQt(m_editor.HostNameText));
    m_port->setText(ToQt(m_editor.PortText));
    m_initialFolder->setText(ToQt(m_editor.InitialFolderText));
    ShowLogin();
    m_loginRetry->setValue(m_editor.LoginRetryPosition());
    m_reloginDelay->setValue(m_editor.ReloginDelayPosition());
    m_resumeTransfer->setChecked(m_editor.ResumeTransferChecked);
    m_passiveMode->setChecked(m_editor.PassiveModeChecked);
    m_useMlsd->setChecked(m_editor.UseMlsdChecked);
    m_uploadToTemporaryName->setChecked(m_editor.UploadToTemporaryNameChecked);
    m_timeZoneHours->setValue(m_editor.TimeZoneHours);
    m_timeZoneMinutes->setValue(m_editor.TimeZoneMinutes);
    FillLimits();
    m_encryption->setCurrentIndex(m_editor.EncryptionIndex());
    m_protocol->setCurrentIndex(m_editor.ProtocolIndex());
    m_sshKeyFile->setText(ToQt(m_editor.SshKeyFileText));
    m_sshUseAgent->setChecked(m_editor.SshUseAgentChecked);
    UpdateProtocolFields();
    m_transferType->SetItemIndex(m_editor.TransferTypeIndex());
    m_proxy.Show(m_editor.ProxyModeValue, m_editor.ProxyValue);
}

void TSitePropertiesForm::ConnectSignals() {
    const auto showPort = [this] {
        const QString port = ToQt(m_editor.PortText);
        if (m_port->text() != port) {
            m_port->setText(port);
        }
    };
    connect(m_encryption, &QComboBox::currentIndexChanged, this, [this, showPort](int index) {
        m_editor.SetEncryptionIndex(index);
        showPort();
    });
    connect(m_protocol, &QComboBox::currentIndexChanged, this, [this, showPort](int index) {
        m_editor.SetProtocolIndex(index);
        showPort();
        UpdateProtocolFields();
    });
    connect(m_sshKeyFileBrowse, &QPushButton::clicked, this, &TSitePropertiesForm::ChooseKeyFile);
    connect(m_name, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_editor.NameText = FromQt(text);
        UpdateButtons();
    });
    connect(m_hostName, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_editor.HostNameText = FromQt(text);
        UpdateButtons();
    });
    connect(m_port, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_editor.PortText = FromQt(text);
        UpdateButtons();
    });
    connect(m_initialFolder, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_editor.InitialFolderText = FromQt(text); });
    connect(m_userName, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_showingLogin) {
            m_editor.SetUserNameText(FromQt(text));
            ShowLogin();
        }
    });
    connect(m_password, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_showingLogin) {
            m_editor.SetPasswordText(FromQt(text));
        }
    });
    connect(m_anonymous, &QCheckBox::toggled, this, [this](bool checked) {
        if (!m_showingLogin) {
            m_editor.SetAnonymousLogin(checked);
            ShowLogin();
        }
    });
    connect(m_save, &QPushButton::clicked, this, [this] { Commit(SaveResult); });
    connect(m_connect, &QPushButton::clicked, this, [this] { Commit(ConnectResult); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TSitePropertiesForm::ShowLogin() {
    m_showingLogin = true;
    m_anonymous->setChecked(m_editor.AnonymousLogin());
    SetTextIfChanged(*m_userName, m_editor.UserNameText());
    SetTextIfChanged(*m_password, m_editor.PasswordText());
    m_password->setEchoMode(m_editor.PasswordMasked() ? QLineEdit::Password : QLineEdit::Normal);
    m_showingLogin = false;
}

void TSitePropertiesForm::UpdateButtons() {
    m_save->setEnabled(m_editor.SaveEnabled());
    m_connect->setEnabled(m_editor.ConnectEnabled());
}

void TSitePropertiesForm::UpdateProtocolFields() {
    for (QWidget* field :
         {static_cast<QWidget*>(m_encryption), static_cast<QWidget*>(m_passiveMode),
          static_cast<QWidget*>(m_useMlsd), static_cast<QWidget*>(m_timeZoneHours),
          static_cast<QWidget*>(m_timeZoneMinutes)}) {
        field->setEnabled(m_editor.FtpFieldsEnabled());
    }
    for (QWidget* field :
         {static_cast<QWidget*>(m_sshKeyFile), static_cast<QWidget*>(m_sshKeyFileBrowse),
          static_cast<QWidget*>(m_sshUseAgent)}) {
        field->setEnabled(m_editor.SshFieldsEnabled());
    }
}

void TSitePropertiesForm::ChooseKeyFile() {
    const QString current = m_sshKeyFile->text();
    const QString folder =
        current.isEmpty() ? QDir::home().filePath(QStringLiteral(".ssh")) : current;
    const QString chosen = QFileDialog::getOpenFileName(this, tr("Key File"), folder);
    if (!chosen.isEmpty()) {
        m_sshKeyFile->setText(chosen);
    }
}

void TSitePropertiesForm::Commit(TResult result) {
    const bool allowed = result == SaveResult ? m_editor.SaveEnabled() : m_editor.ConnectEnabled();
    if (!allowed) {
        return;
    }
    m_editor.SetLoginRetryPosition(m_loginRetry->value());
    m_editor.SetReloginDelayPosition(m_reloginDelay->value());
    m_editor.ResumeTransferChecked = m_resumeTransfer->isChecked();
    m_editor.PassiveModeChecked = m_passiveMode->isChecked();
    m_editor.UseMlsdChecked = m_useMlsd->isChecked();
    m_editor.UploadToTemporaryNameChecked = m_uploadToTemporaryName->isChecked();
    m_editor.TimeZoneHours = m_timeZoneHours->value();
    m_editor.TimeZoneMinutes = m_timeZoneMinutes->value();
    m_editor.SetTransferTypeIndex(m_transferType->ItemIndex());
    m_editor.SshKeyFileText = FromQt(m_sshKeyFile->text());
    m_editor.SshUseAgentChecked = m_sshUseAgent->isChecked();
    m_editor.ProxyModeValue = m_proxy.ChosenMode();
    m_editor.ProxyValue = m_proxy.Fields->Proxy();
    CommitNameEncoding();
    CommitLimits();
    m_editor.Commit();
    done(result);
}

void TSitePropertiesForm::SetNameText(const QString& text) {
    m_name->setText(text);
}

QString TSitePropertiesForm::NameText() const {
    return m_name->text();
}

void TSitePropertiesForm::SetNameEnabled(bool enabled) {
    m_editor.NameEnabled = enabled;
    m_name->setEnabled(enabled);
}

void TSitePropertiesForm::SetLocationText(const QString& text) {
    m_editor.LocationText = FromQt(text);
    m_location->setText(text);
}

void TSitePropertiesForm::SetActivePage(TPage page) {
    m_pages->setCurrentIndex(static_cast<int>(page));
}

void TSitePropertiesForm::SetActiveControl(TControl control) {
    m_activeControl = control == TControl::Name ? m_name : m_hostName;
}

void TSitePropertiesForm::SetCaptionText(const QString& text) {
    TitlePanel().SetCaptionText(text);
}

void TSitePropertiesForm::SetDefaultButton(TButton button) {
    m_save->setDefault(button == TButton::Save);
    m_connect->setDefault(button == TButton::Connect);
}

bool TSitePropertiesForm::eventFilter(QObject* watched, QEvent* event) {
    // The placeholder host is there to be typed over, however the field gets the focus. After
    // the click that gave it: a click places the caret once the focus is in.
    if (watched == m_hostName && event->type() == QEvent::FocusIn &&
        m_hostName->text() == QLatin1String(TSiteProperties::kPlaceholderHostName)) {
        QMetaObject::invokeMethod(m_hostName, &QLineEdit::selectAll, Qt::QueuedConnection);
    }
    return TCaptionedDialog::eventFilter(watched, event);
}

void TSitePropertiesForm::showEvent(QShowEvent* event) {
    TCaptionedDialog::showEvent(event);
    if (!event->spontaneous()) {
        if (m_activeControl != nullptr) {
            m_activeControl->setFocus(Qt::OtherFocusReason);
        }
    }
}

} // namespace qx
