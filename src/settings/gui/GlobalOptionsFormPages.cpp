// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/gui/GlobalOptionsFormPages.h"

#include "settings/GlobalOptions.h"
#include "settings/gui/GlobalOptionsForm.h"
#include "widgets/GradientPreview.h"
#include "widgets/MainDataModule.h"
#include "widgets/TransferTypeRadioGroup.h"
#include "widgets/UpDownSpinBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace qx {

namespace {

// A small button beside its field; the icon falls back to the button's text.
QToolButton* NewButton(const char* name, const QString& hint, const QIcon& icon, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setText(QStringLiteral("..."));
    button->setIcon(icon);
    button->setAutoRaise(false);
    return button;
}

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QLatin1String(name), QApplication::style()->standardIcon(fallback));
}

QLineEdit* NewShowEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setEnabled(false);
    return edit;
}

QLabel* NewLabel(const QString& caption, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

// A group holding one button and the edit it fills.
QGroupBox* ButtonAndEditGroup(const QString& title, QToolButton* button, QLineEdit* edit,
                              QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(button);
    layout->addWidget(edit, 1);
    return group;
}

QWidget* NewPage(QTabWidget& pages, const QString& title) {
    auto* page = new QWidget;
    new QVBoxLayout(page);
    pages.addTab(page, title);
    return page;
}

void FinishPage(QWidget* page) {
    static_cast<QVBoxLayout*>(page->layout())->addStretch(1);
}

void CreateAppearancePage(QTabWidget& pages, TGlobalOptionsControls& c) {
    QWidget* page = NewPage(pages, TGlobalOptionsForm::tr("Appearance"));

    auto* font = new QGroupBox(TGlobalOptionsForm::tr("Font"), page);
    c.FontButton =
        NewButton("FontToolbarButton", TGlobalOptionsForm::tr("Select Font..."),
                  ThemeIcon("preferences-desktop-font", QStyle::SP_FileDialogInfoView), font);
    c.FontNameEdit = NewShowEdit("FontNameEdit", font);
    c.FontSizeEdit = NewShowEdit("FontSizeEdit", font);
    c.FontSizeEdit->setMaximumWidth(c.FontSizeEdit->fontMetrics().averageCharWidth() * 6);
    auto* fontLayout = new QHBoxLayout(font);
    fontLayout->addWidget(c.FontButton);
    fontLayout->addWidget(new QLabel(TGlobalOptionsForm::tr("Name:"), font));
    fontLayout->addWidget(c.FontNameEdit, 1);
    fontLayout->addWidget(new QLabel(TGlobalOptionsForm::tr("Size:"), font));
    fontLayout->addWidget(c.FontSizeEdit);
    page->layout()->addWidget(font);

    auto* colour = new QGroupBox(TGlobalOptionsForm::tr("Gradient Color"), page);
    c.GradColorButton =
        NewButton("GradColorToolbarButton", TGlobalOptionsForm::tr("Select Color..."),
                  ThemeIcon("preferences-desktop-color", QStyle::SP_DesktopIcon), colour);
    c.GradPanel = new TGradientPreview(colour);
    c.GradPanel->setObjectName(QStringLiteral("GradPanel"));
    c.GradPanel->setMinimumHeight(c.GradColorButton->sizeHint().height());
    c.GradPanel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* colourLayout = new QHBoxLayout(colour);
    colourLayout->addWidget(c.GradColorButton);
    colourLayout->addWidget(c.GradPanel, 1);
    page->layout()->addWidget(colour);
    FinishPage(page);
}

void CreateDefaultSettingsPage(QTabWidget& pages, TGlobalOptionsControls& c) {
    QWidget* page = NewPage(pages, TGlobalOptionsForm::tr("Default Settings"));

    auto* connection = new QGroupBox(TGlobalOptionsForm::tr("Connection"), page);
    c.LoginRetryUpDown = NewUpDown("LoginRetryUpDown", connection);
    c.ReloginDelayUpDown = NewUpDown("ReloginDelayUpDown", connection);
    c.TimeoutUpDown = NewUpDown("TimeoutUpDown", connection);
    c.TimeoutUpDown->setRange(TGlobalOptions::MinTimeout, TGlobalOptions::MaxTimeout);
    c.TimeoutUpDown->setToolTip(TGlobalOptionsForm::tr(
        "A server that sends nothing for this long ends the request it was asked for"));
    c.EmailEdit = new QLineEdit(connection);
    c.EmailEdit->setObjectName(QStringLiteral("EmailEdit"));
    auto* connectionLayout = new QFormLayout(connection);
    connectionLayout->addRow(
        NewLabel(TGlobalOptionsForm::tr("Login &Retry:"), c.LoginRetryUpDown, connection),
        c.LoginRetryUpDown);
    connectionLayout->addRow(
        NewLabel(TGlobalOptionsForm::tr("Relogin &Delay:"), c.ReloginDelayUpDown, connection),
        c.ReloginDelayUpDown);
    connectionLayout->addRow(
        NewLabel(TGlobalOptionsForm::tr("T&imeout (sec):"), c.TimeoutUpDown, connection),
        c.TimeoutUpDown);
    connectionLayout->addRow(NewLabel(
        TGlobalOptionsForm::tr("&E-mail as Anonymous Login Password:"), c.EmailEdit, connection));
    connectionLayout->addRow(c.EmailEdit);
    page->layout()->addWidget(connection);

    auto* transfer = new QGroupBox(TGlobalOptionsForm::tr("Transfer"), page);
    c.ResumeTransferCheckBox = new QCheckBox(TGlobalOptionsForm::tr("Resume &Transfer"), transfer);
    c.ResumeTransferCheckBox->setObjectName(QStringLiteral("ResumeTransferCheckBox"));
    c.PassiveModeCheckBox = new QCheckBox(TGlobalOptionsForm::tr("&Passive Mode"), transfer);
    c.PassiveModeCheckBox->setObjectName(QStringLiteral("PassiveModeCheckBox"));
    c.KeepFileTimesCheckBox = new QCheckBox(TGlobalOptionsForm::tr("&Keep file times"), transfer);
    c.KeepFileTimesCheckBox->setObjectName(QStringLiteral("KeepFileTimesCheckBox"));
    c.TransferTypeRadioGroup = new TTransferTypeRadioGroup(transfer);
    c.TransferTypeRadioGroup->setObjectName(QStringLiteral("TransferTypeRadioGroup"));
    auto* transferLayout = new QVBoxLayout(transfer);
    transferLayout->addWidget(c.ResumeTransferCheckBox);
    transferLayout->addWidget(c.PassiveModeCheckBox);
    transferLayout->addWidget(c.KeepFileTimesCheckBox);
    transferLayout->addWidget(c.TransferTypeRadioGroup);
    page->layout()->addWidget(transfer);
    FinishPage(page);
}

void CreateTransferPage(QTabWidget& pages, TGlobalOptionsControls& c) {
    QWidget* page = NewPage(pages, TGlobalOptionsForm::tr("Transfer"));

    auto* extensions = new QGroupBox(TGlobalOptionsForm::tr("ASCII File Extentions"), page);
    c.ASCIIFileExtsEdit = new QLineEdit(extensions);
    c.ASCIIFileExtsEdit->setObjectName(QStringLiteral("ASCIIFileExtsEdit"));
    auto* extensionsLayout = new QVBoxLayout(extensions);
    extensionsLayout->addWidget(c.ASCIIFileExtsEdit);
    page->layout()->addWidget(extensions);

    auto* existing =
        new QGroupBox(TGlobalOptionsForm::tr("When a File Exists at the Target"), page);
    c.WhenTargetExistsComboBox = new QComboBox(existing);
    c.WhenTargetExistsComboBox->setObjectName(QStringLiteral("WhenTargetExistsComboBox"));
    // In the order of the stored numbers.
    c.WhenTargetExistsComboBox->addItems(
        {TGlobalOptionsForm::tr("Ask"), TGlobalOptionsForm::tr("Overwrite"),
         TGlobalOptionsForm::tr("Overwrite if newer"), TGlobalOptionsForm::tr("Resume"),
         TGlobalOptionsForm::tr("Skip")});
    c.WhenTargetExistsComboBox->setToolTip(TGlobalOptionsForm::tr(
        "What downloads and uploads do with a file of the same name at their target"));
    auto* existingLayout = new QVBoxLayout(existing);
    existingLayout->addWidget(c.WhenTargetExistsComboBox);
    page->layout()->addWidget(existing);

    c.DownloadFolderButton =
        NewButton("DefaultDownloadFolderToolbarButton", TGlobalOptionsForm::tr("Browse Folder..."),
                  TMainDataModule::ActionIcon(TMainDataModule::ChangeFolder), page);
    c.TempDownloadFolderEdit = NewShowEdit("TempDownloadFolderEdit", page);
    page->layout()->addWidget(
        ButtonAndEditGroup(TGlobalOptionsForm::tr("Temporary Download Folder"),
                           c.DownloadFolderButton, c.TempDownloadFolderEdit, page));
    page->layout()->addWidget(NewSpeedLimitGroup(
        TGlobalOptionsForm::tr("Speed Limits (sites without their own, and the queue)"),
        c.SpeedLimits, page));
    FinishPage(page);
}

void CreateSoundPage(QTabWidget& pages, TGlobalOptionsControls& c) {
    QWidget* page = NewPage(pages, TGlobalOptionsForm::tr("Sound Feedback"));
    auto* group = new QGroupBox(TGlobalOptionsForm::tr("Play Wav File On"), page);
    auto* layout = new QGridLayout(group);
    layout->setColumnStretch(3, 1);

    struct TRow {
        TGlobalOptionsControls::TWav& wav;
        const char* caption;
        const char* select;
        const char* play;
        const char* edit;
    };
    const TRow rows[] = {
        {c.LoggedinWav, QT_TRANSLATE_NOOP("qx::TGlobalOptionsForm", "&Logged in:"),
         "LoggedinWavToolbarButton", "LoggedinWavPlayToolbarButton", "LoggedinWavEdit"},
        {c.ErrorWav, QT_TRANSLATE_NOOP("qx::TGlobalOptionsForm", "&Error:"),
         "ErrorWavToolbarButton", "ErrorWavPlayToolbarButton", "ErrorWavEdit"},
        {c.TransferDoneWav, QT_TRANSLATE_NOOP("qx::TGlobalOptionsForm", "&Transfer Done:"),
         "TransferDoneWavToolbarButton", "TransferDoneWavPlayToolbarButton", "TransferDoneWavEdit"},
    };
    int line = 0;
    for (const TRow& row : rows) {
        row.wav.SelectButton = NewButton(row.select, TGlobalOptionsForm::tr("Select Wav..."),
                                         TMainDataModule::ActionIcon(TMainDataModule::Open), group);
        row.wav.PlayButton = NewButton(row.play, TGlobalOptionsForm::tr("Play Wav"),
                                       TMainDataModule::ActionIcon(TMainDataModule::Resume), group);
        row.wav.Edit = NewShowEdit(row.edit, group);
        layout->addWidget(
            NewLabel(TGlobalOptionsForm::tr(row.caption), row.wav.SelectButton, group), line, 0);
        layout->addWidget(row.wav.SelectButton, line, 1);
        layout->addWidget(row.wav.PlayButton, line, 2);
        layout->addWidget(row.wav.Edit, line, 3);
        ++line;
    }
    page->layout()->addWidget(group);
    FinishPage(page);
}

void CreateToolsPage(QTabWidget& pages, TGlobalOptionsControls& c) {
    QWidget* page = NewPage(pages, TGlobalOptionsForm::tr("Tools"));
    c.PingAppButton = NewButton("PingAppToolbarButton", TGlobalOptionsForm::tr("Select Program..."),
                                TMainDataModule::ActionIcon(TMainDataModule::Ping), page);
    c.PingAppEdit = NewShowEdit("PingAppEdit", page);
    page->layout()->addWidget(
        ButtonAndEditGroup(TGlobalOptionsForm::tr("Ping"), c.PingAppButton, c.PingAppEdit, page));
    c.TelnetAppButton =
        NewButton("TelnetAppToolbarButton", TGlobalOptionsForm::tr("Select Program..."),
                  TMainDataModule::ActionIcon(TMainDataModule::Telnet), page);
    c.TelnetAppEdit = NewShowEdit("TelnetAppEdit", page);
    page->layout()->addWidget(ButtonAndEditGroup(TGlobalOptionsForm::tr("Telnet"),
                                                 c.TelnetAppButton, c.TelnetAppEdit, page));
    FinishPage(page);
}

} // namespace

void CreateGlobalOptionsPages(QTabWidget& pages, TGlobalOptionsControls& controls) {
    CreateAppearancePage(pages, controls);
    CreateDefaultSettingsPage(pages, controls);
    CreateTransferPage(pages, controls);
    CreateSoundPage(pages, controls);
    CreateToolsPage(pages, controls);
}

} // namespace qx
