#include "local/gui/LocalPropertiesForm.h"

#include "base/Utilities.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMetaObject>
#include <QMimeDatabase>
#include <QVBoxLayout>

#include <filesystem>

namespace qx {

namespace {

QString PermissionText(QFileDevice::Permissions p) {
    const auto bit = [p](QFileDevice::Permission flag, char c) {
        return (p & flag) ? QChar::fromLatin1(c) : QChar(u'-');
    };
    QString text;
    text += bit(QFileDevice::ReadOwner, 'r');
    text += bit(QFileDevice::WriteOwner, 'w');
    text += bit(QFileDevice::ExeOwner, 'x');
    text += bit(QFileDevice::ReadGroup, 'r');
    text += bit(QFileDevice::WriteGroup, 'w');
    text += bit(QFileDevice::ExeGroup, 'x');
    text += bit(QFileDevice::ReadOther, 'r');
    text += bit(QFileDevice::WriteOther, 'w');
    text += bit(QFileDevice::ExeOther, 'x');
    return text;
}

QString SizeAndFiles(std::int64_t bytes, int files) {
    return QStringLiteral("%1 (%2 bytes, %3 files)")
        .arg(QString::fromStdString(FormatFileSize(bytes)), QLocale().toString(bytes))
        .arg(files);
}

// Bytes and files below the paths, links not followed; stops when asked to.
std::pair<std::int64_t, int> CountTree(const QStringList& paths, const std::stop_token& stop) {
    namespace fs = std::filesystem;
    std::int64_t bytes = 0;
    int files = 0;
    for (const QString& path : paths) {
        std::error_code error;
        const fs::path root(path.toStdString());
        if (fs::is_regular_file(fs::symlink_status(root, error))) {
            bytes += static_cast<std::int64_t>(fs::file_size(root, error));
            ++files;
            continue;
        }
        for (fs::recursive_directory_iterator
                 it(root, fs::directory_options::skip_permission_denied, error),
             end;
             !error && it != end && !stop.stop_requested(); it.increment(error)) {
            if (it->is_regular_file(error) && !it->is_symlink(error)) {
                bytes += static_cast<std::int64_t>(it->file_size(error));
                ++files;
            }
        }
    }
    return {bytes, files};
}

} // namespace

TLocalPropertiesForm::TLocalPropertiesForm(const QStringList& paths, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("LocalPropertiesForm"));
    const QFileInfo first(paths.front());
    setWindowTitle(
        tr("Properties [%1]")
            .arg(paths.size() == 1 ? first.fileName() : tr("%1 Items").arg(paths.size())));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    const auto row = [&](const QString& label, const QString& text) {
        auto* value = new QLabel(text, this);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(label, value);
        return value;
    };
    if (paths.size() == 1) {
        row(tr("Name:"), first.fileName().isEmpty() ? first.filePath() : first.fileName());
        const QString type =
            first.isSymLink()
                ? tr("Link to %1").arg(first.symLinkTarget())
                : (first.isDir() ? tr("Folder") : QMimeDatabase().mimeTypeForFile(first).comment());
        row(tr("Type:"), type);
        row(tr("Location:"), first.absolutePath());
        m_size =
            row(tr("Size:"), first.isDir() ? tr("Counting...") : SizeAndFiles(first.size(), 1));
        row(tr("Modified:"), QLocale().toString(first.lastModified(), QLocale::LongFormat));
        row(tr("Owner:"), QStringLiteral("%1 (%2)").arg(first.owner(), first.group()));
        row(tr("Permissions:"), PermissionText(first.permissions()));
    } else {
        row(tr("Items:"), QString::number(paths.size()));
        row(tr("Location:"), first.absolutePath());
        m_size = row(tr("Size:"), tr("Counting..."));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    if (m_size->text() != tr("Counting...")) {
        m_counted = true;
        return;
    }
    m_counter = std::jthread([this, paths](const std::stop_token& stop) {
        const auto [bytes, files] = CountTree(paths, stop);
        if (stop.stop_requested()) {
            return;
        }
        QMetaObject::invokeMethod(
            this,
            [this, bytes, files] {
                m_size->setText(SizeAndFiles(bytes, files));
                m_counted = true;
            },
            Qt::QueuedConnection);
    });
}

TLocalPropertiesForm::~TLocalPropertiesForm() {
    m_counter.request_stop();
}

QString TLocalPropertiesForm::SizeText() const {
    return m_size->text();
}

} // namespace qx
