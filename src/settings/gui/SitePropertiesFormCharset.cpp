// SPDX-License-Identifier: GPL-3.0-or-later
// The file-name character set's rows of the site dialog's Advanced page.
#include "base/NameCharset.h"
#include "settings/gui/FormAppearance.h"
#include "settings/gui/SitePropertiesForm.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

namespace qx {

namespace {

// A combo of the offered sets (after the leading items), showing the text; a name that is not
// offered (written into the settings by hand) is added so that it stays.
QComboBox* CharsetCombo(const char* objectName, const QStringList& leading, const std::string& text,
                        QWidget* page) {
    auto* combo = new QComboBox(page);
    combo->setObjectName(QString::fromLatin1(objectName));
    combo->addItems(leading);
    for (const std::string_view name : OfferedCharsets()) {
        combo->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
    int index = combo->findText(ToQt(text));
    if (index < 0) {
        combo->addItem(ToQt(text));
        index = combo->count() - 1;
    }
    combo->setCurrentIndex(index);
    return combo;
}

} // namespace

void TSitePropertiesForm::AddNameEncodingRows(QFormLayout& rows, QWidget* page) {
    const QString autoText = QString::fromLatin1(TSitePropertiesEditor::kAutoEncodingText);
    m_nameEncoding =
        CharsetCombo("FileNameEncodingComboBox", {autoText}, m_editor.NameEncodingText, page);
    m_nameEncoding->setToolTip(tr("Auto: UTF-8 when the server offers it, else the set below"));
    m_nameEncodingFallback = CharsetCombo("FileNameEncodingFallbackComboBox", {},
                                          m_editor.NameEncodingFallbackText, page);
    const auto follow = [this, autoText] {
        m_nameEncodingFallback->setEnabled(m_nameEncoding->currentText() == autoText);
    };
    connect(m_nameEncoding, &QComboBox::currentIndexChanged, this, follow);
    follow();
    auto* label = new QLabel(tr("File name &encoding:"), page);
    label->setBuddy(m_nameEncoding);
    rows.addRow(label, m_nameEncoding);
    auto* fallbackLabel = new QLabel(tr("Auto without UTF-8 &from the server:"), page);
    fallbackLabel->setBuddy(m_nameEncodingFallback);
    rows.addRow(fallbackLabel, m_nameEncodingFallback);
}

void TSitePropertiesForm::CommitNameEncoding() {
    m_editor.NameEncodingText = FromQt(m_nameEncoding->currentText());
    m_editor.NameEncodingFallbackText = FromQt(m_nameEncodingFallback->currentText());
}

} // namespace qx
