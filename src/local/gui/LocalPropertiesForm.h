// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>

#include <string>
#include <vector>

#include <atomic>
#include <memory>
#include <thread>

class QLabel;

namespace qx {

// Properties of local files and folders: name, type, location, size (a folder's counted on a
// worker thread while the dialog is open), modified date, owner and permissions.
class TLocalPropertiesForm final : public QDialog {
    Q_OBJECT
public:
    // The paths as the file system has their bytes.
    TLocalPropertiesForm(const std::vector<std::string>& paths, QWidget* parent = nullptr);
    ~TLocalPropertiesForm() override;

    QString SizeText() const;
    bool Counting() const { return !m_counted; }

private:
    QLabel* m_size = nullptr;
    std::atomic<bool> m_counted{false};
    std::jthread m_counter;
};

} // namespace qx
