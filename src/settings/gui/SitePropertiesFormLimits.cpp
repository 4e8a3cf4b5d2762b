// SPDX-License-Identifier: GPL-3.0-or-later
// The site dialog's speed limits and keep-alive interval.

#include "settings/SiteProperties.h"
#include "settings/gui/SitePropertiesForm.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qx {

QWidget* TSitePropertiesForm::CreateLimitsGroup(QWidget* page) {
    auto* box = new QWidget(page);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    m_useGlobalLimits = new QCheckBox(tr("Use the &global speed limits"), box);
    m_useGlobalLimits->setObjectName(QStringLiteral("UseGlobalSpeedLimitsCheckBox"));
    QGroupBox* limits = NewSpeedLimitGroup(tr("Speed Limits"), m_limits, box);
    qobject_cast<QFormLayout*>(limits->layout())->insertRow(0, m_useGlobalLimits);
    connect(m_useGlobalLimits, &QCheckBox::toggled, this,
            [this](bool global) { m_limits.SetEnabled(!global); });
    layout->addWidget(limits);

    m_keepAlive = new QSpinBox(box);
    m_keepAlive->setObjectName(QStringLiteral("KeepAliveSpinBox"));
    m_keepAlive->setRange(0, TSiteProperties::kMaxKeepAliveInterval);
    m_keepAlive->setSuffix(tr(" s"));
    m_keepAlive->setSpecialValueText(tr("Off"));
    m_keepAlive->setToolTip(
        tr("An idle connection sends a keep-alive after so many seconds without a command"));
    auto* keepAlive = new QFormLayout;
    auto* label = new QLabel(tr("&Keep-alive interval:"), box);
    label->setBuddy(m_keepAlive);
    keepAlive->addRow(label, m_keepAlive);
    layout->addLayout(keepAlive);
    return box;
}

void TSitePropertiesForm::FillLimits() {
    m_useGlobalLimits->setChecked(m_editor.UseGlobalSpeedLimitsChecked);
    m_limits.Show(m_editor.SpeedLimits.Download, m_editor.SpeedLimits.Upload);
    m_limits.SetEnabled(!m_editor.UseGlobalSpeedLimitsChecked);
    m_keepAlive->setValue(m_editor.KeepAliveSeconds);
}

void TSitePropertiesForm::CommitLimits() {
    m_editor.UseGlobalSpeedLimitsChecked = m_useGlobalLimits->isChecked();
    m_editor.SpeedLimits = {m_limits.DownloadLimit(), m_limits.UploadLimit()};
    m_editor.KeepAliveSeconds = m_keepAlive->value();
}

} // namespace qx
