// SPDX-License-Identifier: GPL-3.0-or-later
// The options dialog: it shows the current options, "OK" writes the controls into the options
// and the store, "Cancel" changes nothing.

#include "settings/gui/GlobalOptionsForm.h"

#include "platform/ConfigStore.h"
#include "settings/GlobalOptions.h"
#include "settings/StoreKeys.h"
#include "support/TempDir.h"
#include "widgets/GradientPreview.h"
#include "widgets/TransferTypeRadioGroup.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace qx;

class GlobalOptionsFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<TConfigStore> m_store;
    std::unique_ptr<TGlobalOptions> m_options;
    std::unique_ptr<TGlobalOptionsForm> m_form;
    const std::string m_key{GlobalOptionsKey};

    template <typename T> T* Control(const char* name) {
        T* control = m_form->findChild<T*>(QLatin1String(name));
        if (control == nullptr) {
            qFatal("no control %s", name);
        }
        return control;
    }
    QLineEdit* Edit(const char* name) { return Control<QLineEdit>(name); }

    // Changes a control of every kind on every page.
    void ChangeControls() {
        Control<QSpinBox>("LoginRetryUpDown")->setValue(12);
        Control<QSpinBox>("ReloginDelayUpDown")->setValue(9);
        Control<QSpinBox>("TimeoutUpDown")->setValue(45);
        Edit("EmailEdit")->setText(QStringLiteral("me@example.net"));
        Control<QCheckBox>("PassiveModeCheckBox")->setChecked(true);
        Control<TTransferTypeRadioGroup>("TransferTypeRadioGroup")->SetItemIndex(1);
        Edit("ASCIIFileExtsEdit")->setText(QStringLiteral(" .TXT ; ; .Htm;"));
        Control<TGradientPreview>("GradPanel")->SetEndColor(QColor(1, 2, 3));
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        m_store = std::make_unique<TConfigStore>(m_dir->file("settings.conf"));
        m_options = std::make_unique<TGlobalOptions>(*m_store);
        m_form = std::make_unique<TGlobalOptionsForm>(*m_options);
    }

    void cleanup() {
        m_form.reset();
        m_options.reset();
        m_store.reset();
        m_dir.reset();
    }

    void theControlsShowTheOptions() {
        QCOMPARE(m_form->property("helpContext").toInt(), 1007);
        QCOMPARE(Control<QTabWidget>("OptionsPageControl")->currentIndex(), 0);
        QCOMPARE(Edit("FontNameEdit")->text(), QString::fromStdString(m_options->FontName));
        QCOMPARE(Edit("FontSizeEdit")->text(), QString::number(m_options->FontSize));
        QVERIFY(!Edit("FontNameEdit")->isEnabled() && !Edit("PingAppEdit")->isEnabled());
        QCOMPARE(Control<TGradientPreview>("GradPanel")->EndColor(), QColor(166, 202, 240));
        QCOMPARE(Control<QSpinBox>("LoginRetryUpDown")->value(), 30);
        QCOMPARE(Control<QSpinBox>("ReloginDelayUpDown")->value(), 3);
        QCOMPARE(Control<QSpinBox>("TimeoutUpDown")->value(), 30);
        QCOMPARE(Control<QSpinBox>("TimeoutUpDown")->minimum(), 5);
        QCOMPARE(Control<QSpinBox>("TimeoutUpDown")->maximum(), 600);
        QCOMPARE(Control<TTransferTypeRadioGroup>("TransferTypeRadioGroup")->ItemIndex(), 2);
        QCOMPARE(Edit("ASCIIFileExtsEdit")->text(),
                 QStringLiteral(".txt;.htm;.html;.c;.cpp;.h;.hpp;"));
        QCOMPARE(Edit("TempDownloadFolderEdit")->text(),
                 QString::fromStdString(m_options->TempDownloadFolder));
        QCOMPARE(Edit("TelnetAppEdit")->text(), QStringLiteral("telnet"));
        QCOMPARE(Edit("LoggedinWavEdit")->text(), QStringLiteral("Loggedin.wav"));
    }

    void playSendsTheNeighbouringFile() {
        QStringList played;
        m_form->SetPlaySound([&](const QString& file) { played << file; });
        Control<QToolButton>("ErrorWavPlayToolbarButton")->click();
        QCOMPARE(played, QStringList{QStringLiteral("Error.wav")});
    }

    // The windows are laid out for 8 to 10 points: the font dialog offers only those sizes and
    // says so, and what it offers is what the options take.
    void theFontDialogOffersOnlyTheSizesTheWindowsTake() {
        QStringList sizes;
        QString note;
        QString family;
        bool asked = false;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr || dialog == m_form.get()) {
                return;
            }
            answer.stop();
            asked = true;
            auto* size = dialog->findChild<QComboBox*>(QStringLiteral("FontSizeComboBox"));
            auto* name = dialog->findChild<QFontComboBox*>(QStringLiteral("FontNameComboBox"));
            auto* label = dialog->findChild<QLabel*>(QStringLiteral("SizeNoteLabel"));
            if (size == nullptr || name == nullptr || label == nullptr) {
                dialog->reject(); // some other font dialog
                return;
            }
            for (int index = 0; index < size->count(); ++index) {
                sizes << size->itemText(index);
            }
            note = label->text();
            name->setCurrentIndex(name->count() - 1);
            family = name->currentFont().family();
            size->setCurrentIndex(size->count() - 1);
            dialog->accept();
        });
        answer.start(20);
        Control<QToolButton>("FontToolbarButton")->click();
        QVERIFY(asked);
        QCOMPARE(sizes, (QStringList{"8", "9", "10"}));
        QVERIFY2(note.contains(QLatin1String("8 to 10 points")), qPrintable(note));
        QCOMPARE(Edit("FontNameEdit")->text(), family);
        QCOMPARE(Edit("FontSizeEdit")->text(), QStringLiteral("10"));
        Control<QPushButton>("OkBitBtn")->click();
        QCOMPARE(m_options->FontSize, 10);
        QCOMPARE(QString::fromStdString(m_options->FontName), family);
    }

    void cancelChangesNothing() {
        ChangeControls();
        Control<QPushButton>("CancelBitBtn")->click();
        QCOMPARE(m_form->result(), int(QDialog::Rejected));
        QCOMPARE(m_options->DefLoginRetry, 30);
        QCOMPARE(m_options->Email, std::string(TGlobalOptions::DefaultEmail));
        QCOMPARE(m_options->ASCIIFileExtItems().size(), std::size_t(7));
        QCOMPARE(m_options->GradColor, 0xF0CAA6u);
        QVERIFY(!m_store->KeyExists(m_key));
    }

    void okWritesTheOptionsAndTheStore() {
        ChangeControls();
        Control<QPushButton>("OkBitBtn")->click();
        QCOMPARE(m_form->result(), int(QDialog::Accepted));
        QCOMPARE(m_options->DefLoginRetry, 12);
        QCOMPARE(m_options->DefReloginDelay, 9);
        QCOMPARE(m_options->Timeout, 45);
        QCOMPARE(m_options->Email, std::string("me@example.net"));
        QVERIFY(m_options->DefPassiveMode);
        QCOMPARE(m_options->DefTransferType, TFTPTransferType::ftpTypeBinary);
        QCOMPARE(m_options->ASCIIFileExtItems(), (std::vector<std::string>{".txt", ".htm"}));
        QCOMPARE(m_options->GradColor, 0x030201u);

        QCOMPARE(m_store->ReadString(m_key, "ASCIIFileExts"),
                 std::optional<std::string>(".txt;.htm;"));
        QCOMPARE(m_store->ReadNumber(m_key, "DefTransferType"), std::optional<std::int32_t>(1));
        QCOMPARE(m_store->ReadNumber(m_key, "DefLoginRetry"), std::optional<std::int32_t>(12));
        QCOMPARE(m_store->ReadNumber(m_key, "Timeout"), std::optional<std::int32_t>(45));
        QCOMPARE(m_store->ReadNumber(m_key, "GradColor"), std::optional<std::int32_t>(0x030201));
        QCOMPARE(m_store->ReadString(m_key, "PingApp"), std::optional<std::string>("ping"));
    }

    // The proxy page shows the global proxy and OK takes it; a kind without a host is none.
    void theProxyPageRoundTrips() {
        m_options->Proxy = {TProxyKind::Socks5, "socks.example", 1081, "me", "pw"};
        m_form = std::make_unique<TGlobalOptionsForm>(*m_options);
        QCOMPARE(Control<QComboBox>("ProxyKindComboBox")->currentIndex(), 1);
        QCOMPARE(Edit("ProxyHostEdit")->text(), QStringLiteral("socks.example"));
        QCOMPARE(Edit("ProxyPasswordEdit")->echoMode(), QLineEdit::Password);
        Control<QComboBox>("ProxyKindComboBox")->setCurrentIndex(3);
        QCOMPARE(Control<QSpinBox>("ProxyPortSpinBox")->value(), 1081); // not a default: kept
        Edit("ProxyUserEdit")->setText(QStringLiteral("you"));
        Control<QPushButton>("OkBitBtn")->click();
        QCOMPARE(m_options->Proxy,
                 (TProxySettings{TProxyKind::Http, "socks.example", 1081, "you", "pw"}));
        QCOMPARE(m_store->ReadString(m_key, "ProxyKind"), std::optional<std::string>("http"));

        m_form = std::make_unique<TGlobalOptionsForm>(*m_options);
        Edit("ProxyHostEdit")->clear();
        Control<QPushButton>("OkBitBtn")->click();
        QVERIFY(!m_options->Proxy.Enabled());
    }
};

QTEST_MAIN(GlobalOptionsFormTest)
#include "GlobalOptionsFormTest.moc"
