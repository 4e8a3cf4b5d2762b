// SPDX-License-Identifier: GPL-3.0-or-later
// The site properties dialog: the enable rule of "Save" and "Connect...", the anonymous login,
// and what "Save", "Connect..." and "Cancel" copy into the site.

#include "settings/gui/SitePropertiesForm.h"

#include "platform/ConfigStore.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteProperties.h"
#include "support/TempDir.h"
#include "widgets/TransferTypeRadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <memory>

using namespace qx;

class SitePropertiesFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<TConfigStore> m_store;
    std::unique_ptr<TGlobalOptions> m_options;
    std::unique_ptr<TSiteProperties> m_site;
    std::unique_ptr<TSitePropertiesForm> m_form;

    void Open() { m_form = std::make_unique<TSitePropertiesForm>(*m_site, *m_options); }

    template <typename T> T* Control(const char* name) {
        T* control = m_form->findChild<T*>(QLatin1String(name));
        if (control == nullptr) {
            qFatal("no control %s", name);
        }
        return control;
    }
    QLineEdit* Edit(const char* name) { return Control<QLineEdit>(name); }
    QPushButton* Button(const char* name) { return Control<QPushButton>(name); }
    bool SaveEnabled() { return Button("SaveBitBtn")->isEnabled(); }
    bool ConnectEnabled() { return Button("ConnectBitBtn")->isEnabled(); }

    // Types as the user does, key by key.
    void Type(const char* edit, const QString& text) {
        Edit(edit)->clear();
        QTest::keyClicks(Edit(edit), text);
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        m_store = std::make_unique<TConfigStore>(m_dir->file("settings.conf"));
        m_options = std::make_unique<TGlobalOptions>(*m_store);
        m_options->Email = "me@example.net";
        m_site = std::make_unique<TSiteProperties>(*m_options);
    }

    void cleanup() {
        m_form.reset();
        m_site.reset();
        m_options.reset();
        m_store.reset();
        m_dir.reset();
    }

    // New Site: the name first, then a click into the host field, which still shows the
    // placeholder; what is typed replaces it.
    void typingIntoThePlaceholderHostReplacesIt() {
        Open();
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        QTest::keyClicks(Edit("NameEdit"), QStringLiteral("Mirror"));
        Control<QTabWidget>("PropertiesPageControl")->setCurrentIndex(1);
        QLineEdit* host = Edit("HostNameEdit");
        QCOMPARE(host->text(), QStringLiteral("HostName.DomainName"));
        QTest::mouseClick(host, Qt::LeftButton, {}, host->rect().center());
        QTRY_VERIFY(host->hasFocus());
        QTest::qWait(50); // what the click left settles
        QTest::keyClicks(host, QStringLiteral("127.0.0.1"));
        QCOMPARE(host->text(), QStringLiteral("127.0.0.1"));
        // A host that was typed stays as it is when the field gets the focus again.
        Edit("NameEdit")->setFocus();
        QTest::mouseClick(host, Qt::LeftButton, {}, host->rect().center());
        QTest::qWait(50);
        QVERIFY(!host->hasSelectedText());
    }

    void aNewSiteNeedsANameAHostAndANumericPort() {
        Open();
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Pellucor's Site Book [Site Properties]"));
        QCOMPARE(m_form->property("helpContext").toInt(), 1006);
        QCOMPARE(Control<QTabWidget>("PropertiesPageControl")->currentIndex(), 0);
        QVERIFY(!SaveEnabled() && !ConnectEnabled());

        Type("NameEdit", QStringLiteral("Mirror"));
        QVERIFY(SaveEnabled() && ConnectEnabled());
        Type("PortEdit", QStringLiteral("21a"));
        QVERIFY(!SaveEnabled() && !ConnectEnabled());
        Type("PortEdit", QString());
        QVERIFY(!SaveEnabled() && !ConnectEnabled());
        Type("PortEdit", QStringLiteral("0"));
        QVERIFY(SaveEnabled() && ConnectEnabled());
        Type("PortEdit", QStringLiteral("99999999999")); // beyond 32 bits
        QVERIFY(!ConnectEnabled());
        Type("PortEdit", QStringLiteral("2121"));
        Type("HostNameEdit", QString());
        QVERIFY(!SaveEnabled() && !ConnectEnabled());
    }

    void aStoredSiteOpenedWithItsNameIsEnabledAtOnce() {
        Open();
        m_form->SetNameText(QStringLiteral("Mirror"));
        m_form->SetNameEnabled(false);
        QVERIFY(!Edit("NameEdit")->isEnabled());
        QVERIFY(SaveEnabled() && ConnectEnabled());
    }

    // The proxy page: "use the global proxy" unless the site chose otherwise; its own fields
    // are enabled only for its own proxy, and Save takes them.
    void theProxyPageChoosesBetweenGlobalNoneAndOwn() {
        Open();
        auto* mode = Control<QComboBox>("ProxyModeComboBox");
        QCOMPARE(mode->currentIndex(), 0);
        QVERIFY(!Control<QComboBox>("ProxyKindComboBox")->isEnabled());
        mode->setCurrentIndex(2);
        QVERIFY(Control<QComboBox>("ProxyKindComboBox")->isEnabled());
        Control<QComboBox>("ProxyKindComboBox")->setCurrentIndex(3);
        QCOMPARE(Control<QSpinBox>("ProxyPortSpinBox")->value(), 8080);
        QVERIFY(Edit("ProxyHostEdit")->isEnabled());
        Edit("ProxyHostEdit")->setText(QStringLiteral("proxy.example"));
        Edit("ProxyPasswordEdit")->setText(QStringLiteral("pw"));
        Type("NameEdit", QStringLiteral("Mirror"));
        Button("SaveBitBtn")->click();
        QCOMPARE(m_site->ProxyMode, TSiteProxyMode::Own);
        QCOMPARE(m_site->Proxy,
                 (TProxySettings{TProxyKind::Http, "proxy.example", 8080, "", "pw"}));

        m_site->ProxyMode = TSiteProxyMode::None;
        Open();
        QCOMPARE(Control<QComboBox>("ProxyModeComboBox")->currentIndex(), 1);
        QCOMPARE(Edit("ProxyHostEdit")->text(), QStringLiteral("proxy.example"));
        QVERIFY(!Edit("ProxyHostEdit")->isEnabled());
    }

    void aQuickConnectNeverSaves() {
        m_site->QuickConnect = true;
        Open();
        QVERIFY(!SaveEnabled());
        QVERIFY(ConnectEnabled()); // the default host and port are valid
        Type("HostNameEdit", QStringLiteral("ftp.example.org"));
        QVERIFY(!SaveEnabled() && ConnectEnabled());
    }

    void typingAnonymousFillsInTheEmailUnmasked() {
        Open();
        QLineEdit* password = Edit("PasswordEdit");
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        Type("UserNameEdit", QStringLiteral("Anonymous"));
        QVERIFY(!Control<QCheckBox>("AnonymousLoginCheckBox")->isChecked()); // case matters
        QVERIFY(password->text().isEmpty());

        Type("UserNameEdit", QStringLiteral("anonymous"));
        QVERIFY(Control<QCheckBox>("AnonymousLoginCheckBox")->isChecked());
        QCOMPARE(Edit("UserNameEdit")->text(), QStringLiteral("anonymous"));
        QCOMPARE(password->text(), QStringLiteral("me@example.net"));
        QCOMPARE(password->echoMode(), QLineEdit::Normal);

        QTest::keyClick(Edit("UserNameEdit"), Qt::Key_X); // no longer anonymous: both cleared
        QVERIFY(!Control<QCheckBox>("AnonymousLoginCheckBox")->isChecked());
        QVERIFY(Edit("UserNameEdit")->text().isEmpty());
        QVERIFY(password->text().isEmpty());
        QCOMPARE(password->echoMode(), QLineEdit::Password);
    }

    void theCheckBoxFillsAndClearsTheLogin() {
        m_site->UserName = "bob";
        m_site->Password = "secret";
        Open();
        auto* anonymous = Control<QCheckBox>("AnonymousLoginCheckBox");
        anonymous->click();
        QCOMPARE(Edit("UserNameEdit")->text(), QStringLiteral("anonymous"));
        QCOMPARE(Edit("PasswordEdit")->text(), QStringLiteral("me@example.net"));
        anonymous->click();
        QVERIFY(Edit("UserNameEdit")->text().isEmpty());
        QVERIFY(Edit("PasswordEdit")->text().isEmpty());
    }

    void aStoredAnonymousSiteKeepsItsOwnPassword() {
        m_site->UserName = "anonymous";
        m_site->Password = "stored@example.org";
        Open();
        QVERIFY(Control<QCheckBox>("AnonymousLoginCheckBox")->isChecked());
        QCOMPARE(Edit("PasswordEdit")->text(), QStringLiteral("stored@example.org"));
        QCOMPARE(Edit("PasswordEdit")->echoMode(), QLineEdit::Normal);
    }

    void saveCopiesEveryControlIntoTheSite() {
        m_site->TransferType = TFTPTransferType::ftpTypeAuto;
        Open();
        QCOMPARE(Control<TTransferTypeRadioGroup>("TransferTypeRadioGroup")->ItemIndex(), 2);
        Type("NameEdit", QStringLiteral("Mirror"));
        Type("HostNameEdit", QStringLiteral("ftp.example.org"));
        Type("PortEdit", QStringLiteral("2121"));
        Type("UserNameEdit", QStringLiteral("bob"));
        Type("PasswordEdit", QStringLiteral("pw"));
        Type("InitialFolderEdit", QStringLiteral("/pub"));
        Control<QSpinBox>("LoginRetryUpDown")->setValue(7);
        Control<QSpinBox>("ReloginDelayUpDown")->setValue(250); // beyond the range
        Control<QCheckBox>("ResumeTransferCheckBox")->setChecked(true);
        Control<QCheckBox>("PassiveModeCheckBox")->setChecked(true);
        Button("SaveBitBtn")->click();

        QCOMPARE(m_form->result(), int(TSitePropertiesForm::SaveResult));
        QCOMPARE(m_site->HostName, std::string("ftp.example.org"));
        QCOMPARE(m_site->Port, 2121);
        QCOMPARE(m_site->UserName, std::string("bob"));
        QCOMPARE(m_site->Password, std::string("pw"));
        QCOMPARE(m_site->InitialFolder, std::string("/pub"));
        QCOMPARE(m_site->LoginRetry, 7);
        QCOMPARE(m_site->ReloginDelay, 100);
        QVERIFY(m_site->ResumeTransfer && m_site->PassiveMode);
        QCOMPARE(m_site->TransferType, TFTPTransferType::ftpTypeAuto);
    }

    void theEncryptionChoiceIsShownAndSaved() {
        m_site->Encryption = TFtpTlsMode::ExplicitIfAvailable;
        Open();
        auto* encryption = Control<QComboBox>("EncryptionComboBox");
        QCOMPARE(encryption->count(), 4);
        QCOMPARE(encryption->currentIndex(), 1);
        QCOMPARE(encryption->itemText(3), QStringLiteral("Require implicit TLS"));
        Type("NameEdit", QStringLiteral("Secure"));
        Type("HostNameEdit", QStringLiteral("ftp.example.org"));
        encryption->setCurrentIndex(3); // the port follows to implicit TLS's own
        QCOMPARE(Edit("PortEdit")->text(), QStringLiteral("990"));
        auto* mlsd = Control<QCheckBox>("UseMlsdCheckBox");
        QVERIFY(mlsd->isChecked());
        mlsd->setChecked(false);
        auto* temporaryName = Control<QCheckBox>("UploadToTemporaryNameCheckBox");
        QVERIFY(temporaryName->isChecked());
        temporaryName->setChecked(false);
        const QString screenshots = qEnvironmentVariable("QX_SCREENSHOTS");
        if (!screenshots.isEmpty()) {
            auto* pages = m_form->findChild<QTabWidget*>();
            for (int page = 0; pages != nullptr && page < pages->count(); ++page) {
                pages->setCurrentIndex(page);
                m_form->grab().save(
                    QDir(screenshots).filePath(QStringLiteral("site-properties-%1.png").arg(page)));
            }
        }
        Button("SaveBitBtn")->click();
        QCOMPARE(m_site->Encryption, TFtpTlsMode::Implicit);
        QCOMPARE(m_site->Port, 990);
        QVERIFY(!m_site->UseMlsd);
        QVERIFY(!m_site->UploadToTemporaryName);
    }

    void sftpDisablesWhatIsFtpsAndSavesTheKeyFileAndAgent() {
        Open();
        auto* protocol = Control<QComboBox>("ProtocolComboBox");
        const auto ftpOnly = {static_cast<QWidget*>(Control<QComboBox>("EncryptionComboBox")),
                              static_cast<QWidget*>(Control<QCheckBox>("PassiveModeCheckBox")),
                              static_cast<QWidget*>(Control<QCheckBox>("UseMlsdCheckBox"))};
        const auto sshOnly = {static_cast<QWidget*>(Edit("SshKeyFileEdit")),
                              static_cast<QWidget*>(Button("SshKeyFileButton")),
                              static_cast<QWidget*>(Control<QCheckBox>("SshUseAgentCheckBox"))};
        QCOMPARE(protocol->currentIndex(), 0);
        for (QWidget* field : ftpOnly) {
            QVERIFY(field->isEnabled());
        }
        for (QWidget* field : sshOnly) {
            QVERIFY(!field->isEnabled());
        }
        Type("NameEdit", QStringLiteral("Shell"));
        protocol->setCurrentIndex(1);
        QCOMPARE(Edit("PortEdit")->text(), QStringLiteral("22"));
        for (QWidget* field : ftpOnly) {
            QVERIFY(!field->isEnabled());
        }
        for (QWidget* field : sshOnly) {
            QVERIFY(field->isEnabled());
        }
        Type("SshKeyFileEdit", QStringLiteral("/keys/id_ed25519"));
        Control<QCheckBox>("SshUseAgentCheckBox")->setChecked(false);
        const QString screenshots = qEnvironmentVariable("QX_SCREENSHOTS");
        if (!screenshots.isEmpty()) {
            m_form->findChild<QTabWidget*>()->setCurrentIndex(1);
            m_form->grab().save(QDir(screenshots).filePath(QStringLiteral("site-sftp.png")));
        }
        Button("SaveBitBtn")->click();
        QCOMPARE(m_site->Protocol, TRemoteProtocolKind::Sftp);
        QCOMPARE(m_site->Port, 22);
        QCOMPARE(m_site->SshKeyFile, std::string("/keys/id_ed25519"));
        QVERIFY(!m_site->SshUseAgent);

        Open(); // a stored SFTP site opens as one
        QCOMPARE(Control<QComboBox>("ProtocolComboBox")->currentIndex(), 1);
        QVERIFY(!Control<QCheckBox>("PassiveModeCheckBox")->isEnabled());
        QCOMPARE(Edit("SshKeyFileEdit")->text(), QStringLiteral("/keys/id_ed25519"));
    }

    void connectAnswersYesAndCancelCopiesNothing() {
        m_site->QuickConnect = true;
        Open();
        Type("HostNameEdit", QStringLiteral("changed.example"));
        Button("CancelBitBtn")->click();
        QCOMPARE(m_form->result(), int(TSitePropertiesForm::CancelResult));
        QCOMPARE(m_site->HostName, std::string("HostName.DomainName"));

        Open();
        Type("HostNameEdit", QStringLiteral("q.example"));
        Button("ConnectBitBtn")->click();
        QCOMPARE(m_form->result(), int(TSitePropertiesForm::ConnectResult));
        QCOMPARE(m_site->HostName, std::string("q.example"));
    }
};

QTEST_MAIN(SitePropertiesFormTest)
#include "SitePropertiesFormTest.moc"
