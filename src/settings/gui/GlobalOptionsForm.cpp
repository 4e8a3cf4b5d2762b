// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/gui/GlobalOptionsForm.h"

#include "settings/GlobalOptions.h"
#include "settings/gui/FontChoiceForm.h"
#include "settings/gui/FormAppearance.h"
#include "settings/gui/ProxyFields.h"
#include "widgets/GradientPreview.h"
#include "widgets/MainDataModule.h"
#include "widgets/SoundPlayer.h"
#include "widgets/TitlePanel.h"
#include "widgets/TransferTypeRadioGroup.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>

namespace qx {

namespace {

// Where a file chooser starts: the folder of the file named in the edit, else the home folder.
QString StartFolder(const QString& file) {
    const QFileInfo info(file);
    if (info.isAbsolute() && info.dir().exists()) {
        return info.absolutePath();
    }
    return QDir::homePath();
}

} // namespace

TGlobalOptionsForm::TGlobalOptionsForm(TGlobalOptions& options, QWidget* parent)
    : TCaptionedDialog(ToQt(options.FontName), options.FontSize, parent), m_options(options),
      m_editor(options) {
    setObjectName(QStringLiteral("GlobalOptionsForm"));
    setProperty("helpContext", kHelpContext);
    SetTitles(tr("Quorvin Explorer r2000.2"), tr("[Global Options]"));

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("OptionsPageControl"));
    CreateGlobalOptionsPages(*m_pages, m_controls);
    m_proxy = AddGlobalProxyPage(*m_pages);
    m_pages->tabBar()->setUsesScrollButtons(false); // the dialog is as wide as its tabs
    m_pages->setCurrentIndex(0);

    m_ok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), tr("OK"), this);
    m_ok->setObjectName(QStringLiteral("OkBitBtn"));
    m_ok->setDefault(true);
    m_cancel =
        new QPushButton(TMainDataModule::ActionIcon(TMainDataModule::Cancel), tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("CancelBitBtn"));
    AddContentsWithButtonRow(m_pages, {m_ok, m_cancel});

    FillControls();
    ConnectButtons();
}

TGlobalOptionsForm::~TGlobalOptionsForm() = default;

void TGlobalOptionsForm::FillControls() {
    TGlobalOptionsControls& c = m_controls;
    c.FontNameEdit->setText(ToQt(m_editor.FontNameText));
    c.FontSizeEdit->setText(QString::number(m_editor.FontSizeValue));
    c.GradPanel->SetEndColor(ColorFromStored(m_editor.GradColorValue));
    c.LoginRetryUpDown->setValue(m_editor.LoginRetryPosition());
    c.ReloginDelayUpDown->setValue(m_editor.ReloginDelayPosition());
    c.TimeoutUpDown->setValue(m_editor.TimeoutSeconds());
    c.EmailEdit->setText(ToQt(m_editor.EmailText));
    c.ResumeTransferCheckBox->setChecked(m_editor.ResumeTransferChecked);
    c.PassiveModeCheckBox->setChecked(m_editor.PassiveModeChecked);
    c.KeepFileTimesCheckBox->setChecked(m_editor.KeepFileTimesChecked);
    c.TransferTypeRadioGroup->SetItemIndex(static_cast<int>(m_editor.TransferTypeIndex));
    c.ASCIIFileExtsEdit->setText(ToQt(m_editor.ASCIIFileExtsText));
    c.WhenTargetExistsComboBox->setCurrentIndex(m_editor.WhenTargetExistsIndex);
    c.TempDownloadFolderEdit->setText(ToQt(m_editor.TempDownloadFolderText));
    c.LoggedinWav.Edit->setText(ToQt(m_editor.LoggedinWavText));
    c.ErrorWav.Edit->setText(ToQt(m_editor.ErrorWavText));
    c.TransferDoneWav.Edit->setText(ToQt(m_editor.TransferDoneWavText));
    c.PingAppEdit->setText(ToQt(m_editor.PingAppText));
    c.TelnetAppEdit->setText(ToQt(m_editor.TelnetAppText));
    m_proxy->SetProxy(m_editor.ProxyValue);
    c.SpeedLimits.Show(m_editor.SpeedLimits.Download, m_editor.SpeedLimits.Upload);
}

void TGlobalOptionsForm::ConnectButtons() {
    TGlobalOptionsControls& c = m_controls;
    connect(c.FontButton, &QToolButton::clicked, this, &TGlobalOptionsForm::SelectFont);
    connect(c.GradColorButton, &QToolButton::clicked, this, &TGlobalOptionsForm::SelectColor);
    connect(c.DownloadFolderButton, &QToolButton::clicked, this, &TGlobalOptionsForm::BrowseFolder);
    for (TGlobalOptionsControls::TWav* wav : {&c.LoggedinWav, &c.ErrorWav, &c.TransferDoneWav}) {
        QLineEdit* edit = wav->Edit;
        connect(wav->SelectButton, &QToolButton::clicked, this, [this, edit] { SelectWav(*edit); });
        connect(wav->PlayButton, &QToolButton::clicked, this,
                [this, edit] { PlayWav(edit->text()); });
    }
    connect(c.PingAppButton, &QToolButton::clicked, this,
            [this] { SelectProgram(*m_controls.PingAppEdit); });
    connect(c.TelnetAppButton, &QToolButton::clicked, this,
            [this] { SelectProgram(*m_controls.TelnetAppEdit); });
    connect(m_ok, &QPushButton::clicked, this, &TGlobalOptionsForm::Confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TGlobalOptionsForm::SelectFont() {
    const QFont current(m_controls.FontNameEdit->text(), m_controls.FontSizeEdit->text().toInt());
    const std::optional<QFont> chosen =
        TFontChoiceForm::Choose(current, font().family(), font().pointSize(), this);
    if (chosen) {
        m_controls.FontNameEdit->setText(chosen->family());
        m_controls.FontSizeEdit->setText(QString::number(chosen->pointSize()));
    }
}

void TGlobalOptionsForm::SelectColor() {
    const QColor chosen =
        QColorDialog::getColor(m_controls.GradPanel->EndColor(), this, tr("Select Color"));
    if (chosen.isValid()) {
        m_controls.GradPanel->SetEndColor(chosen);
    }
}

void TGlobalOptionsForm::BrowseFolder() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, tr("Select Folder"), m_controls.TempDownloadFolderEdit->text(),
        QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) {
        return;
    }
    m_editor.SetBrowsedFolder(FromQt(QDir::toNativeSeparators(folder)));
    m_controls.TempDownloadFolderEdit->setText(ToQt(m_editor.TempDownloadFolderText));
}

void TGlobalOptionsForm::SelectWav(QLineEdit& edit) {
    QFileDialog dialog(this, tr("Select Wav"), StartFolder(edit.text()), tr("Wave File (*.wav)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("wav"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        edit.setText(QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath());
    }
}

void TGlobalOptionsForm::SelectProgram(QLineEdit& edit) {
    QFileDialog dialog(this, tr("Select Program"), StartFolder(edit.text()),
                       tr("Executable File (*)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QFileInfo chosen(dialog.selectedFiles().constFirst());
    if (!chosen.isExecutable() || chosen.isDir()) {
        QMessageBox::warning(
            this, tr("Global Options Error"),
            tr("[%1] is not a program that can be started.").arg(chosen.absoluteFilePath()));
        return;
    }
    edit.setText(chosen.absoluteFilePath());
}

void TGlobalOptionsForm::PlayWav(const QString& file) {
    if (m_playSound) {
        m_playSound(file);
        return;
    }
    if (m_sounds == nullptr) {
        m_sounds = new TSoundPlayer(this);
    }
    m_sounds->Play(file.toStdString());
}

void TGlobalOptionsForm::Confirm() {
    const TGlobalOptionsControls& c = m_controls;
    m_editor.FontNameText = FromQt(c.FontNameEdit->text());
    m_editor.FontSizeValue = c.FontSizeEdit->text().toInt();
    m_editor.GradColorValue = StoredFromColor(c.GradPanel->EndColor());
    m_editor.SetLoginRetryPosition(c.LoginRetryUpDown->value());
    m_editor.SetReloginDelayPosition(c.ReloginDelayUpDown->value());
    m_editor.SetTimeoutSeconds(c.TimeoutUpDown->value());
    m_editor.EmailText = FromQt(c.EmailEdit->text());
    m_editor.ResumeTransferChecked = c.ResumeTransferCheckBox->isChecked();
    m_editor.PassiveModeChecked = c.PassiveModeCheckBox->isChecked();
    m_editor.KeepFileTimesChecked = c.KeepFileTimesCheckBox->isChecked();
    if (const int index = c.TransferTypeRadioGroup->ItemIndex(); index >= 0) {
        m_editor.TransferTypeIndex = static_cast<TFTPTransferType>(index);
    }
    m_editor.ASCIIFileExtsText = FromQt(c.ASCIIFileExtsEdit->text());
    m_editor.ProxyValue = m_proxy->Proxy();
    m_editor.WhenTargetExistsIndex = c.WhenTargetExistsComboBox->currentIndex();
    m_editor.TempDownloadFolderText = FromQt(c.TempDownloadFolderEdit->text());
    m_editor.LoggedinWavText = FromQt(c.LoggedinWav.Edit->text());
    m_editor.ErrorWavText = FromQt(c.ErrorWav.Edit->text());
    m_editor.TransferDoneWavText = FromQt(c.TransferDoneWav.Edit->text());
    m_editor.PingAppText = FromQt(c.PingAppEdit->text());
    m_editor.TelnetAppText = FromQt(c.TelnetAppEdit->text());
    m_editor.SpeedLimits = {c.SpeedLimits.DownloadLimit(), c.SpeedLimits.UploadLimit()};
    m_editor.Commit(m_options);
    accept();
}

} // namespace qx
