// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/CaptionedDialog.h"

#include <QString>

class QFormLayout;
class QIcon;
class QLabel;

namespace qx {

struct TFTPListItem;

// The texts of the General page, as shown.
struct TRemoteEntryTexts {
    QString Name;
    QString TypeName;
    QString Size;       // "1.5 KB (1536)" for a file, "0" for a folder
    QString Permission; // "-rw-r--r--"
    QString Date;       // date text, a blank, time text
    QString LinkTo;     // the target, or "Not a link"
};

// The properties of one remote entry. The caller sets the path of the folder that holds it,
// and fills the page itself for a folder that has no listing entry.
class TRemotePropertiesForm final : public TCaptionedDialog {
    Q_OBJECT
public:
    TRemotePropertiesForm(const QString& fontName, int fontSize, QWidget* parent = nullptr);

    void ShowItem(const TFTPListItem& entry);
    void SetPath(const QString& path);
    void SetIcon(const QIcon& icon);
    void SetTexts(const TRemoteEntryTexts& texts);

    static TRemoteEntryTexts TextsOf(const TFTPListItem& entry);

private:
    QLabel* AddValueRow(QFormLayout& form, const QString& caption, const char* name);

    int m_valueWidth;
    QLabel* m_icon;
    QLabel* m_name;
    QLabel* m_path;
    QLabel* m_type;
    QLabel* m_size;
    QLabel* m_permission;
    QLabel* m_date;
    QLabel* m_linkTo;
};

} // namespace qx
