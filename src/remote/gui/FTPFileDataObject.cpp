// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/gui/FTPFileDataObject.h"

#include <QCoreApplication>
#include <QFile>
#include <QUrl>

namespace qx {

TFTPFileDataObject::TFTPFileDataObject(TFTPFileData data)
    : m_data(std::make_shared<const TFTPFileData>(std::move(data))) {
    // A token of this process: the format is there, the entries are not readable elsewhere.
    setData(QLatin1String(kMimeType), QByteArray::number(QCoreApplication::applicationPid()));
}

bool HasRemoteFilesFormat(const QMimeData* data) {
    return GetRemoteFilesData(data) != nullptr;
}

bool HasFileDropFormat(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return false;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> GetDroppedFileNames(const QMimeData* data) {
    std::vector<std::string> names;
    if (data == nullptr) {
        return names;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            names.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
        }
    }
    return names;
}

const TFTPFileData* GetRemoteFilesData(const QMimeData* data) {
    const auto* own = qobject_cast<const TFTPFileDataObject*>(data);
    return own != nullptr ? &own->Data() : nullptr;
}

} // namespace qx
