// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <functional>
#include <thread>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qx {

// Finds files whose names match a list of masks ("*.txt;*.htm") below a folder, on a worker
// thread; the results are listed as they come, and a double click opens a result's folder.
class TFindFilesForm final : public QDialog {
    Q_OBJECT
public:
    TFindFilesForm(const QString& folder, std::function<void(const QString& folder)> openFolder,
                   QWidget* parent = nullptr);
    ~TFindFilesForm() override;

    void Find(const QString& folder, const QString& masks);
    bool Searching() const { return m_worker.joinable() && !m_finished; }
    QStringList Results() const;

private:
    void Stop();

    QLineEdit* m_folder;
    QLineEdit* m_masks;
    QPushButton* m_find;
    QListWidget* m_results;
    QLabel* m_status;
    std::function<void(const QString&)> m_openFolder;
    bool m_finished = true;
    int m_search = 0; // results of an older search are dropped
    std::jthread m_worker;
};

} // namespace qx
