// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/gui/LocalPropertiesForm.h"

#include "base/Utilities.h"
#include "local/LocalTransfers.h"
#include "widgets/CoreTexts.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMetaObject>
#include <QMimeDatabase>
#include <QVBoxLayout>

#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

namespace qx {

namespace {

QString PermissionText(mode_t mode) {
    static constexpr std::pair<mode_t, char> kBits[] = {
        {S_IRUSR, 'r'}, {S_IWUSR, 'w'}, {S_IXUSR, 'x'}, {S_IRGRP, 'r'}, {S_IWGRP, 'w'},
        {S_IXGRP, 'x'}, {S_IROTH, 'r'}, {S_IWOTH, 'w'}, {S_IXOTH, 'x'}};
    QString text;
    for (const auto& [bit, letter] : kBits) {
        text += (mode & bit) != 0 ? QChar::fromLatin1(letter) : QChar(u'-');
    }
    return text;
}

QString Shown(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QString OwnerText(const struct stat& info) {
    const passwd* user = ::getpwuid(info.st_uid);
    const group* team = ::getgrgid(info.st_gid);
    return QStringLiteral("%1 (%2)").arg(
        user != nullptr ? QString::fromLocal8Bit(user->pw_name) : QString::number(info.st_uid),
        team != nullptr ? QString::fromLocal8Bit(team->gr_name) : QString::number(info.st_gid));
}

QString SizeAndFiles(std::int64_t bytes, int files) {
    return QCoreApplication::translate("qx::TLocalPropertiesForm", "%1 (%2 bytes, %n files)",
                                       nullptr, files)
        .arg(QString::fromStdString(FormatFileSize(bytes, DecimalPoint())),
             QLocale().toString(bytes));
}

// Bytes and files below the paths, links not followed; stops when asked to.
std::pair<std::int64_t, int> CountTree(const std::vector<std::string>& paths,
                                       const std::stop_token& stop) {
    namespace fs = std::filesystem;
    std::int64_t bytes = 0;
    int files = 0;
    for (const std::string& path : paths) {
        std::error_code error;
        const fs::path root(path);
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

TLocalPropertiesForm::TLocalPropertiesForm(const std::vector<std::string>& paths, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("LocalPropertiesForm"));
    const std::string& first = paths.front();
    const QString name = Shown(LocalBaseName(first));
    setWindowTitle(tr("Properties [%1]")
                       .arg(paths.size() == 1
                                ? (name.isEmpty() ? Shown(first) : name)
                                : tr("%n Items", nullptr, static_cast<int>(paths.size()))));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    const auto row = [&](const QString& label, const QString& text) {
        auto* value = new QLabel(text, this);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(label, value);
        return value;
    };
    std::string location = LocalParentFolder(first);
    if (location.size() > 1) {
        location.pop_back();
    }
    struct stat link {};
    struct stat info {};
    const bool known = ::lstat(first.c_str(), &link) == 0;
    if (known && ::stat(first.c_str(), &info) != 0) {
        info = link; // a dangling link
    }
    const bool folder = known && S_ISDIR(info.st_mode);
    if (paths.size() == 1) {
        row(tr("Name:"), name.isEmpty() ? Shown(first) : name);
        QString type =
            folder ? tr("Folder")
                   : QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension).comment();
        if (known && S_ISLNK(link.st_mode)) {
            std::error_code error;
            type =
                tr("Link to %1").arg(Shown(std::filesystem::read_symlink(first, error).string()));
        }
        row(tr("Type:"), type);
        row(tr("Location:"), Shown(location));
        m_size =
            row(tr("Size:"), folder ? tr("Counting...")
                                    : SizeAndFiles(static_cast<std::int64_t>(info.st_size), 1));
        row(tr("Modified:"),
            QLocale().toString(QDateTime::fromSecsSinceEpoch(info.st_mtime), QLocale::LongFormat));
        row(tr("Owner:"), known ? OwnerText(info) : QString());
        row(tr("Permissions:"), PermissionText(info.st_mode));
    } else {
        row(tr("Items:"), QString::number(paths.size()));
        row(tr("Location:"), Shown(location));
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
