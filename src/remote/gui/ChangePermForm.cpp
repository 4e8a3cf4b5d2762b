// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/gui/ChangePermForm.h"

#include "widgets/TitlePanel.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qx {

namespace {
constexpr int kBits[] = {TPermissionBits::pbRead, TPermissionBits::pbWrite,
                         TPermissionBits::pbExecute};
} // namespace

TChangePermForm::TChangePermForm(const QString& fontName, int fontSize, QWidget* parent)
    : TCaptionedDialog(fontName, fontSize, parent) {
    setObjectName(QStringLiteral("ChangePermForm"));
    SetTitles(tr("Remote Explorer"), tr("[Change Permission]"));

    static const char* const kGroups[] = {QT_TR_NOOP("You"), QT_TR_NOOP("Group"),
                                          QT_TR_NOOP("Other")};
    static const char* const kPrefixes[] = {"Y", "G", "O"};
    static const char* const kBoxCaptions[] = {QT_TR_NOOP("Readable"), QT_TR_NOOP("Writable"),
                                               QT_TR_NOOP("Executable")};
    static const char* const kBoxLetters[] = {"R", "W", "X"};
    auto* classes = new QHBoxLayout;
    for (int cls = 0; cls < 3; ++cls) {
        const QString prefix = QString::fromLatin1(kPrefixes[cls]);
        auto* group = new QGroupBox(tr(kGroups[cls]), this);
        group->setObjectName(QString::fromLatin1(kGroups[cls]) + QStringLiteral("GroupBox"));
        auto* column = new QVBoxLayout(group);
        for (int bit = 0; bit < 3; ++bit) {
            auto* box = new QCheckBox(tr(kBoxCaptions[bit]), group);
            box->setObjectName(prefix + QString::fromLatin1(kBoxLetters[bit]) +
                               QStringLiteral("CheckBox"));
            column->addWidget(box);
            m_boxes[cls][bit] = box;
            connect(box, &QCheckBox::toggled, this, [this, cls, bit](bool on) {
                if (m_updating) {
                    return;
                }
                m_bits.SetBit(cls, kBits[bit], on);
                ShowBits();
            });
        }
        // The digit changes only through its arrows or the boxes: typing is refused.
        auto* upDown = new QSpinBox(group);
        upDown->setObjectName(prefix + QStringLiteral("NUpDown"));
        upDown->setRange(0, 7);
        upDown->setWrapping(false);
        if (auto* edit = upDown->findChild<QLineEdit*>()) {
            edit->setReadOnly(true);
            edit->setObjectName(prefix + QStringLiteral("NEdit"));
        }
        column->addWidget(upDown);
        m_upDowns[cls] = upDown;
        connect(upDown, &QSpinBox::valueChanged, this, [this, cls](int digit) {
            if (m_updating) {
                return;
            }
            m_bits.SetDigit(cls, digit);
            ShowBits();
        });
        classes->addWidget(group);
    }
    Body().addLayout(classes);

    Body().addWidget(NewOkCancelButtons());
    ShowBits();
}

QCheckBox* TChangePermForm::Box(int cls, int bit) const {
    for (int i = 0; i < 3; ++i) {
        if (kBits[i] == bit) {
            return m_boxes[cls][i];
        }
    }
    return nullptr;
}

void TChangePermForm::SetPermission(const std::string& text) {
    m_bits = TPermissionBits();
    m_bits.SetPermission(text);
    ShowBits();
}

void TChangePermForm::ShowBits() {
    m_updating = true;
    for (int cls = 0; cls < 3; ++cls) {
        for (int bit = 0; bit < 3; ++bit) {
            m_boxes[cls][bit]->setChecked(m_bits.Bit(cls, kBits[bit]));
        }
        m_upDowns[cls]->setValue(m_bits.Digit(cls));
    }
    m_updating = false;
}

} // namespace qx
