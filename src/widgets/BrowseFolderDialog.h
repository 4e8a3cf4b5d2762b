// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QPersistentModelIndex>
#include <QString>

#include <optional>

class QCheckBox;
class QFileSystemModel;
class QLabel;
class QTreeView;

namespace qx {

struct TBrowseFolderRequest {
    QString Title;
    QString StartFolder;  // shown and selected first; the home folder when it is not there
    QString CheckBoxText; // an extra check box under the folders; none when empty
    bool Checked = false;
};

struct TBrowseFolderResult {
    QString Folder;
    bool Checked = false;
};

// Chooses a folder of the file system, with the current path in a status line and an optional
// check box.
class TBrowseFolderDialog final : public QDialog {
    Q_OBJECT
public:
    explicit TBrowseFolderDialog(const TBrowseFolderRequest& request, QWidget* parent = nullptr);

    QString Folder() const;
    bool Checked() const;
    void SetFolder(const QString& folder);

    // Shows the dialog modally; the folder chosen, or nothing on Cancel.
    static std::optional<TBrowseFolderResult> Browse(const TBrowseFolderRequest& request,
                                                     QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Keeps the start folder in sight while the folders around it are still being read (they
    // push it down as they come), until the user takes over the view.
    void ScrollToStart();

    QFileSystemModel* m_model;
    QPersistentModelIndex m_start;
    QTreeView* m_folders;
    QLabel* m_status;
    QCheckBox* m_check = nullptr;
};

} // namespace qx
