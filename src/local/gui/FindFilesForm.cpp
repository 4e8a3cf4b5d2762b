// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/gui/FindFilesForm.h"

#include "base/Masks.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaObject>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>

namespace qx {

TFindFilesForm::TFindFilesForm(const QString& folder,
                               std::function<void(const QString& folder)> openFolder,
                               QWidget* parent)
    : QDialog(parent), m_openFolder(std::move(openFolder)) {
    setObjectName(QStringLiteral("FindFilesForm"));
    setWindowTitle(tr("Find Files"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_masks = new QLineEdit(QStringLiteral("*.*"), this);
    m_folder = new QLineEdit(folder, this);
    form->addRow(tr("&Named:"), m_masks);
    form->addRow(tr("&Look in:"), m_folder);
    layout->addLayout(form);
    m_find = new QPushButton(tr("&Find"), this);
    m_find->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(m_find);
    layout->addLayout(row);
    m_results = new QListWidget(this);
    layout->addWidget(m_results, 1);
    m_status = new QLabel(this);
    layout->addWidget(m_status);
    resize(520, 380);
    connect(m_find, &QPushButton::clicked, this,
            [this] { Find(m_folder->text(), m_masks->text()); });
    connect(m_results, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (m_openFolder) {
            m_openFolder(QFileInfo(item->text()).path());
        }
    });
}

TFindFilesForm::~TFindFilesForm() {
    Stop();
}

void TFindFilesForm::Stop() {
    m_worker.request_stop();
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

QStringList TFindFilesForm::Results() const {
    QStringList paths;
    for (int row = 0; row < m_results->count(); ++row) {
        paths.append(m_results->item(row)->text());
    }
    return paths;
}

void TFindFilesForm::Find(const QString& folder, const QString& masks) {
    Stop();
    m_results->clear();
    TMasks compiled;
    try {
        compiled.SetMasks(masks.toStdString());
    } catch (const EMaskException& error) {
        m_status->setText(QString::fromStdString(error.what()));
        return;
    }
    if (!QFileInfo(folder).isDir()) {
        m_status->setText(tr("Cannot find files in [%1]: it is not a folder.").arg(folder));
        return;
    }
    m_status->setText(tr("Searching..."));
    m_finished = false;
    const int search = ++m_search;
    m_worker = std::jthread(
        [this, search, compiled, root = folder.toStdString()](const std::stop_token& stop) {
            namespace fs = std::filesystem;
            std::error_code error;
            QStringList batch;
            int found = 0;
            const auto flush = [&](bool last) {
                QMetaObject::invokeMethod(
                    this,
                    [this, search, batch, last, found] {
                        if (search != m_search) {
                            return;
                        }
                        m_results->addItems(batch);
                        if (last) {
                            m_finished = true;
                            m_status->setText(tr("%n files found.", nullptr, found));
                        }
                    },
                    Qt::QueuedConnection);
                batch.clear();
            };
            for (fs::recursive_directory_iterator
                     it(root, fs::directory_options::skip_permission_denied, error),
                 end;
                 !error && it != end && !stop.stop_requested(); it.increment(error)) {
                if (compiled.Matches(it->path().filename().string())) {
                    batch.append(QString::fromStdString(it->path().string()));
                    ++found;
                    if (batch.size() >= 200) {
                        flush(false);
                    }
                }
            }
            if (!stop.stop_requested()) {
                flush(true);
            }
        });
}

} // namespace qx
