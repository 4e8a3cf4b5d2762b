// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/gui/ProxyFields.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qx {

namespace {} // namespace

TProxyFields::TProxyFields(QWidget* parent) : QWidget(parent) {
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("ProxyKindComboBox"));
    // In the order of TProxyKind.
    m_kind->addItems({TProxyFields::tr("No proxy"), TProxyFields::tr("SOCKS5"),
                      TProxyFields::tr("SOCKS5, the proxy resolves names"),
                      TProxyFields::tr("HTTP (CONNECT)")});
    m_host = new QLineEdit(this);
    m_host->setObjectName(QStringLiteral("ProxyHostEdit"));
    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("ProxyPortSpinBox"));
    m_port->setRange(1, 65535);
    m_user = new QLineEdit(this);
    m_user->setObjectName(QStringLiteral("ProxyUserEdit"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("ProxyPasswordEdit"));
    m_password->setEchoMode(QLineEdit::Password);

    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(TProxyFields::tr("&Kind:"), m_kind);
    form->addRow(TProxyFields::tr("&Host:"), m_host);
    form->addRow(TProxyFields::tr("P&ort:"), m_port);
    form->addRow(TProxyFields::tr("&User name:"), m_user);
    form->addRow(TProxyFields::tr("Pass&word:"), m_password);
    auto* note = new QLabel(
        TProxyFields::tr("Leave the user name empty for a proxy without a login."), this);
    note->setWordWrap(true);
    form->addRow(note);

    connect(m_kind, &QComboBox::currentIndexChanged, this, [this](int index) {
        // A port still at one kind's default follows to the other's.
        for (const TProxyKind kind : {TProxyKind::Socks5, TProxyKind::Http}) {
            if (m_port->value() == DefaultProxyPort(kind) && index > 0) {
                m_port->setValue(DefaultProxyPort(static_cast<TProxyKind>(index)));
                break;
            }
        }
        UpdateEnabled();
    });
    SetProxy({});
}

void TProxyFields::SetProxy(const TProxySettings& proxy) {
    m_kind->setCurrentIndex(static_cast<int>(proxy.Kind));
    m_host->setText(QString::fromStdString(proxy.Host));
    m_port->setValue(proxy.Port != 0 ? proxy.Port : DefaultProxyPort(proxy.Kind));
    m_user->setText(QString::fromStdString(proxy.User));
    m_password->setText(QString::fromStdString(proxy.Password));
    UpdateEnabled();
}

TProxySettings TProxyFields::Proxy() const {
    TProxySettings proxy;
    proxy.Kind = static_cast<TProxyKind>(std::max(m_kind->currentIndex(), 0));
    proxy.Host = m_host->text().trimmed().toStdString();
    proxy.Port = static_cast<std::uint16_t>(m_port->value());
    proxy.User = m_user->text().toStdString();
    proxy.Password = m_password->text().toStdString();
    if (proxy.Host.empty()) {
        return {}; // nowhere to connect to
    }
    return proxy;
}

void TProxyFields::SetChoosable(bool choosable) {
    m_choosable = choosable;
    UpdateEnabled();
}

void TProxyFields::UpdateEnabled() {
    const bool fields = m_choosable && m_kind->currentIndex() > 0;
    m_kind->setEnabled(m_choosable);
    for (QWidget* field : std::initializer_list<QWidget*>{m_host, m_port, m_user, m_password}) {
        field->setEnabled(fields);
    }
}

TProxyFields* AddGlobalProxyPage(QTabWidget& pages) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* intro =
        new QLabel(TProxyFields::tr("The proxy that FTP and SFTP connections go through, unless a "
                                    "site chooses otherwise. Active FTP mode cannot be used "
                                    "through a proxy."),
                   page);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* fields = new TProxyFields(page);
    layout->addWidget(fields);
    layout->addStretch(1);
    pages.addTab(page, TProxyFields::tr("Proxy"));
    return fields;
}

void TSiteProxyControls::Show(TSiteProxyMode mode, const TProxySettings& proxy) {
    Mode->setCurrentIndex(static_cast<int>(mode));
    Fields->SetProxy(proxy);
    Fields->SetChoosable(mode == TSiteProxyMode::Own);
}

TSiteProxyMode TSiteProxyControls::ChosenMode() const {
    return static_cast<TSiteProxyMode>(std::max(Mode->currentIndex(), 0));
}

QWidget* CreateSiteProxyPage(TSiteProxyControls& controls) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    controls.Mode = new QComboBox(page);
    controls.Mode->setObjectName(QStringLiteral("ProxyModeComboBox"));
    // In the order of TSiteProxyMode.
    controls.Mode->addItems({TProxyFields::tr("Use the global proxy"),
                             TProxyFields::tr("Connect directly"),
                             TProxyFields::tr("Use this proxy:")});
    controls.Fields = new TProxyFields(page);
    layout->addWidget(controls.Mode);
    layout->addWidget(controls.Fields);
    layout->addStretch(1);
    TProxyFields* fields = controls.Fields;
    QObject::connect(controls.Mode, &QComboBox::currentIndexChanged, fields, [fields](int index) {
        fields->SetChoosable(index == static_cast<int>(TSiteProxyMode::Own));
    });
    return page;
}

} // namespace qx
