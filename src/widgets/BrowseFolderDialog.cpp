// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/BrowseFolderDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace qx {

TBrowseFolderDialog::TBrowseFolderDialog(const TBrowseFolderRequest& request, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("BrowseFolderDialog"));
    setWindowTitle(request.Title);
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QDir::rootPath());
    m_folders = new QTreeView(this);
    m_folders->setObjectName(QStringLiteral("FolderTreeView"));
    m_folders->setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column) {
        m_folders->hideColumn(column);
    }
    m_folders->header()->hide();
    m_folders->setMinimumSize(320, 300);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("StatusLabel"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_folders, 1);
    if (!request.CheckBoxText.isEmpty()) {
        m_check = new QCheckBox(request.CheckBoxText, this);
        m_check->setObjectName(QStringLiteral("CheckBox"));
        m_check->setMinimumWidth(150);
        m_check->setChecked(request.Checked);
        layout->addWidget(m_check);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    connect(m_folders->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, ok](const QModelIndex& current) {
                const QString path = m_model->filePath(current);
                m_status->setText(QDir::toNativeSeparators(path));
                ok->setEnabled(current.isValid() && QFileInfo(path).isDir());
            });
    ok->setEnabled(false);
    // Until the user takes over the view; after the view has taken a change in.
    for (QObject* part : std::initializer_list<QObject*>{m_folders, m_folders->viewport(),
                                                         m_folders->verticalScrollBar()}) {
        part->installEventFilter(this);
    }
    connect(m_model, &QFileSystemModel::directoryLoaded, this, &TBrowseFolderDialog::ScrollToStart,
            Qt::QueuedConnection);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &TBrowseFolderDialog::ScrollToStart,
            Qt::QueuedConnection);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, &TBrowseFolderDialog::ScrollToStart,
            Qt::QueuedConnection);
    const QString start =
        QFileInfo(request.StartFolder).isDir() ? request.StartFolder : QDir::homePath();
    SetFolder(start);
}

void TBrowseFolderDialog::SetFolder(const QString& folder) {
    const QModelIndex at = m_model->index(QDir::cleanPath(folder));
    if (at.isValid()) {
        m_folders->setCurrentIndex(at);
        m_folders->expand(at);
        m_start = at;
        ScrollToStart();
    }
}

void TBrowseFolderDialog::ScrollToStart() {
    if (m_start.isValid() && m_folders->currentIndex() == m_start) {
        m_folders->scrollTo(m_start, QAbstractItemView::PositionAtCenter);
    }
}

bool TBrowseFolderDialog::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        m_start = QPersistentModelIndex();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TBrowseFolderDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ScrollToStart(); // now that the view has its size
}

QString TBrowseFolderDialog::Folder() const {
    return m_model->filePath(m_folders->currentIndex());
}

bool TBrowseFolderDialog::Checked() const {
    return m_check != nullptr && m_check->isChecked();
}

std::optional<TBrowseFolderResult> TBrowseFolderDialog::Browse(const TBrowseFolderRequest& request,
                                                               QWidget* parent) {
    TBrowseFolderDialog dialog(request, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.Folder().isEmpty()) {
        return std::nullopt;
    }
    return TBrowseFolderResult{dialog.Folder(), dialog.Checked()};
}

} // namespace qx
