// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/gui/RemotePropertiesForm.h"

#include "base/Utilities.h"
#include "engine/FTPListItem.h"
#include "widgets/CoreTexts.h"
#include "widgets/QtShellIcons.h"
#include "widgets/TitlePanel.h"

#include <QApplication>
#include <QFormLayout>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qx {

namespace {

constexpr int kIconSize = 32;

QString FromBytes(const std::string& text) {
    return QString::fromStdString(text);
}

QIcon IconOf(const TFTPListItem& entry) {
    if (const TQtShellIcons* icons = QtShellIcons()) {
        return icons->Icon(entry.ImageIndex);
    }
    return QApplication::style()->standardIcon(entry.IsFile ? QStyle::SP_FileIcon
                                                            : QStyle::SP_DirIcon);
}

QFrame* Separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// Value labels have a fixed width. Long paths and names are shortened in the middle so that the
// dialog keeps its size; the tip shows them whole.
void ShowValue(QLabel& label, const QString& text) {
    const QString shown =
        label.fontMetrics().elidedText(text, Qt::ElideMiddle, label.maximumWidth());
    label.setText(shown);
    label.setToolTip(shown == text ? QString() : text);
}

} // namespace

TRemoteEntryTexts TRemotePropertiesForm::TextsOf(const TFTPListItem& entry) {
    TRemoteEntryTexts texts;
    texts.Name = FromBytes(entry.Name);
    texts.TypeName = FromBytes(entry.TypeName);
    texts.Size =
        entry.IsFile
            ? QStringLiteral("%1 (%2)").arg(FromBytes(FormatFileSize(entry.Size, DecimalPoint())),
                                            QString::number(entry.Size))
            : QStringLiteral("0");
    texts.Permission = FromBytes(entry.Permission);
    texts.Date = FromBytes(entry.DateText) + QLatin1Char(' ') + FromBytes(entry.TimeText);
    texts.LinkTo = entry.IsLink ? FromBytes(entry.LinkTo) : tr("Not a link");
    return texts;
}

TRemotePropertiesForm::TRemotePropertiesForm(const QString& fontName, int fontSize, QWidget* parent)
    : TCaptionedDialog(fontName, fontSize, parent),
      m_valueWidth(fontMetrics().averageCharWidth() * 40) {
    setObjectName(QStringLiteral("RemotePropertiesForm"));
    SetTitles(tr("Remote Explorer"), tr("[Properties]"));

    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl"));
    auto* general = new QWidget(pages);
    auto* form = new QFormLayout(general);
    form->setLabelAlignment(Qt::AlignLeft);

    m_icon = new QLabel(general);
    m_icon->setObjectName(QStringLiteral("IconImage"));
    m_icon->setFixedSize(kIconSize, kIconSize);
    m_name = new QLabel(general);
    m_name->setObjectName(QStringLiteral("NameLabel"));
    m_name->setTextFormat(Qt::PlainText);
    m_name->setFixedWidth(m_valueWidth);
    form->addRow(m_icon, m_name);
    form->addRow(Separator(general));
    m_path = AddValueRow(*form, tr("Path:"), "PathLabel");
    m_type = AddValueRow(*form, tr("Type:"), "TypeLabel");
    m_size = AddValueRow(*form, tr("Size:"), "SizeLabel");
    form->addRow(Separator(general));
    m_permission = AddValueRow(*form, tr("Permission:"), "PermLabel");
    m_date = AddValueRow(*form, tr("Date:"), "DateLabel");
    m_linkTo = AddValueRow(*form, tr("Link to:"), "LinkLabel");
    pages->addTab(general, tr("General"));
    AddContentsWithOkButton(pages);
}

QLabel* TRemotePropertiesForm::AddValueRow(QFormLayout& form, const QString& caption,
                                           const char* name) {
    auto* value = new QLabel(form.parentWidget());
    value->setObjectName(QString::fromLatin1(name));
    value->setTextFormat(Qt::PlainText);
    value->setFixedWidth(m_valueWidth);
    form.addRow(caption, value);
    return value;
}

void TRemotePropertiesForm::ShowItem(const TFTPListItem& entry) {
    SetIcon(IconOf(entry));
    SetTexts(TextsOf(entry));
}

void TRemotePropertiesForm::SetPath(const QString& path) {
    ShowValue(*m_path, path);
}

void TRemotePropertiesForm::SetIcon(const QIcon& icon) {
    m_icon->setPixmap(icon.pixmap(QSize(kIconSize, kIconSize), devicePixelRatioF()));
}

void TRemotePropertiesForm::SetTexts(const TRemoteEntryTexts& texts) {
    ShowValue(*m_name, texts.Name);
    ShowValue(*m_type, texts.TypeName);
    ShowValue(*m_size, texts.Size);
    ShowValue(*m_permission, texts.Permission);
    ShowValue(*m_date, texts.Date);
    ShowValue(*m_linkTo, texts.LinkTo);
}

} // namespace qx
