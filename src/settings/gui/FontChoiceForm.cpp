// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/gui/FontChoiceForm.h"

#include "widgets/TitlePanel.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace qx {

TFontChoiceForm::TFontChoiceForm(const QFont& current, const QString& fontName, int fontSize,
                                 QWidget* parent)
    : TCaptionedDialog(fontName, fontSize, parent) {
    setObjectName(QStringLiteral("FontChoiceForm"));
    SetTitles(tr("Global Options"), tr("[Select Font]"));

    m_family = new QFontComboBox(this);
    m_family->setObjectName(QStringLiteral("FontNameComboBox"));
    m_family->setEditable(false);
    m_family->setCurrentFont(current);
    m_size = new QComboBox(this);
    m_size->setObjectName(QStringLiteral("FontSizeComboBox"));
    for (int size = kMinPointSize; size <= kMaxPointSize; ++size) {
        m_size->addItem(QString::number(size), size);
    }
    m_size->setCurrentIndex(std::clamp(current.pointSize(), kMinPointSize, kMaxPointSize) -
                            kMinPointSize);
    auto* note = new QLabel(tr("The windows are laid out for sizes from %1 to %2 points.")
                                .arg(kMinPointSize)
                                .arg(kMaxPointSize),
                            this);
    note->setObjectName(QStringLiteral("SizeNoteLabel"));
    note->setWordWrap(true);
    m_sample = new QLabel(tr("AaBbCcXxYyZz 0123456789"), this);
    m_sample->setObjectName(QStringLiteral("SampleLabel"));
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setFrameShape(QFrame::StyledPanel);
    m_sample->setMinimumHeight(m_sample->fontMetrics().height() * 3);

    auto* fields = new QFormLayout;
    auto* nameLabel = new QLabel(tr("&Name:"), this);
    nameLabel->setBuddy(m_family);
    auto* sizeLabel = new QLabel(tr("&Size:"), this);
    sizeLabel->setBuddy(m_size);
    fields->addRow(nameLabel, m_family);
    fields->addRow(sizeLabel, m_size);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OkBitBtn"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    Body().addLayout(fields);
    Body().addWidget(note);
    Body().addWidget(m_sample);
    Body().addWidget(buttons);

    connect(m_family, &QFontComboBox::currentFontChanged, this, &TFontChoiceForm::ShowSample);
    connect(m_size, &QComboBox::currentIndexChanged, this, &TFontChoiceForm::ShowSample);
    ShowSample();
    m_family->setFocus();
}

QFont TFontChoiceForm::ChosenFont() const {
    QFont chosen = m_family->currentFont();
    chosen.setPointSize(m_size->currentData().toInt());
    return chosen;
}

void TFontChoiceForm::ShowSample() {
    m_sample->setFont(ChosenFont());
}

std::optional<QFont> TFontChoiceForm::Choose(const QFont& current, const QString& fontName,
                                             int fontSize, QWidget* parent) {
    TFontChoiceForm dialog(current, fontName, fontSize, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.ChosenFont();
}

} // namespace qx
