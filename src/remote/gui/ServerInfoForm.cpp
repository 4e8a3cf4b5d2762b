// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/gui/ServerInfoForm.h"

#include "widgets/QtShellIcons.h"
#include "widgets/TitlePanel.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qx {

namespace {

constexpr int kIconSize = 32;

QIcon NetworkIcon() {
    if (const TQtShellIcons* icons = QtShellIcons()) {
        return icons->Icon(icons->NetworkIconIndex);
    }
    return QApplication::style()->standardIcon(QStyle::SP_DriveNetIcon);
}

// From the start: a long host name shows its beginning, not its end.
void ShowText(QLineEdit& edit, const QString& text) {
    edit.setText(text);
    edit.setCursorPosition(0);
}

} // namespace

TServerInfoForm::TServerInfoForm(const QString& fontName, int fontSize, QWidget* parent)
    : TCaptionedDialog(fontName, fontSize, parent) {
    setObjectName(QStringLiteral("ServerInfoForm"));
    SetTitles(tr("Remote Explorer"), tr("[Server Information]"));

    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("InfoPageControl"));
    auto* general = new QWidget(pages);
    auto* row = new QHBoxLayout(general);

    auto* image = new QLabel(general);
    image->setObjectName(QStringLiteral("ServerImage"));
    image->setFixedSize(kIconSize, kIconSize);
    image->setPixmap(NetworkIcon().pixmap(QSize(kIconSize, kIconSize), devicePixelRatioF()));
    row->addWidget(image, 0, Qt::AlignTop | Qt::AlignLeft);

    auto* column = new QVBoxLayout;
    auto* form = new QFormLayout;
    m_hostName = AddEdit(*form, tr("Host Name:"), "HostNameEdit");
    m_port = AddEdit(*form, tr("Port:"), "PortEdit");
    m_ipAddress = AddEdit(*form, tr("IP Address:"), "IPAddressEdit");
    m_serverType = AddEdit(*form, tr("Server Type:"), "ServerTypeEdit");
    column->addLayout(form);
    m_resumingSupport = new QLabel(general);
    m_resumingSupport->setObjectName(QStringLiteral("ResumingSupportLabel"));
    m_resumingSupport->setTextFormat(Qt::PlainText);
    column->addWidget(m_resumingSupport);
    row->addLayout(column);
    pages->addTab(general, tr("General"));
    m_features = new QPlainTextEdit(pages);
    m_features->setObjectName(QStringLiteral("FeaturesMemo"));
    m_features->setReadOnly(true);
    m_features->setLineWrapMode(QPlainTextEdit::NoWrap);
    pages->addTab(m_features, tr("Features"));
    AddContentsWithOkButton(pages);
}

QLineEdit* TServerInfoForm::AddEdit(QFormLayout& form, const QString& caption, const char* name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 32);
    form.addRow(caption, edit);
    return edit;
}

void TServerInfoForm::SetHostName(const QString& hostName) {
    ShowText(*m_hostName, hostName);
}

void TServerInfoForm::SetPort(int port) {
    ShowText(*m_port, QString::number(port));
}

void TServerInfoForm::SetIPAddress(const QString& address) {
    ShowText(*m_ipAddress, address);
}

void TServerInfoForm::SetServerType(const QString& systemName) {
    ShowText(*m_serverType, systemName);
}

void TServerInfoForm::SetResumingSupportText(const QString& text) {
    m_resumingSupport->setText(text);
}

void TServerInfoForm::SetFeatures(const TFtpFeatures& features) {
    if (!features.Answered) {
        m_features->setPlainText(tr("The server did not answer FEAT."));
        return;
    }
    QStringList lines;
    for (const std::string& line : features.Lines) {
        lines << QString::fromUtf8(line);
    }
    if (lines.isEmpty()) {
        lines << tr("The server offers no features beyond the basic commands.");
    }
    m_features->setPlainText(lines.join(QLatin1Char('\n')));
}

void TServerInfoForm::SetSessionText(const QString& text) {
    m_features->setPlainText(text);
}

} // namespace qx
