// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ProxySettings.h"
#include "settings/ProxyStore.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QSpinBox;
class QTabWidget;

namespace qx {

// The fields of one proxy: its kind, host, port, user name and password (masked). Host and
// login are enabled only for a kind other than none.
class TProxyFields final : public QWidget {
    Q_OBJECT
public:
    explicit TProxyFields(QWidget* parent = nullptr);

    void SetProxy(const TProxySettings& proxy);
    TProxySettings Proxy() const;
    // Everything, kind included (a site that takes no proxy of its own).
    void SetChoosable(bool choosable);

private:
    void UpdateEnabled();

    QComboBox* m_kind = nullptr;
    QLineEdit* m_host = nullptr;
    QSpinBox* m_port = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    bool m_choosable = true;
};

// The options dialog's page "Proxy"; its fields.
TProxyFields* AddGlobalProxyPage(QTabWidget& pages);

// The site dialog's page "Proxy": the choice of the global proxy, none or the site's own
// ("ProxyModeComboBox", in the order of TSiteProxyMode), and the own proxy's fields.
struct TSiteProxyControls {
    QComboBox* Mode = nullptr;
    TProxyFields* Fields = nullptr;

    void Show(TSiteProxyMode mode, const TProxySettings& proxy);
    TSiteProxyMode ChosenMode() const;
};
QWidget* CreateSiteProxyPage(TSiteProxyControls& controls);

} // namespace qx
