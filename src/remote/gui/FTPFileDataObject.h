// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "remote/FTPFileData.h"

#include <QMimeData>
#include <QStringList>

#include <memory>

namespace qx {

// The program's own drag and clipboard format: remote entries (TFTPFileData) under the MIME
// type application/x-quorvin-explorer-files ("Quorvin Explorer Files"). The data lives in the
// object itself; its bytes only tell that it is there, so other programs cannot read it.
class TFTPFileDataObject final : public QMimeData {
    Q_OBJECT
public:
    static constexpr const char* kMimeType = "application/x-quorvin-explorer-files";
    static constexpr const char* kFormatName = "Quorvin Explorer Files";

    explicit TFTPFileDataObject(TFTPFileData data);
    const TFTPFileData& Data() const { return *m_data; }

private:
    std::shared_ptr<const TFTPFileData> m_data;
};

// True when the data carries remote entries of this program.
bool HasRemoteFilesFormat(const QMimeData* data);
// True when the data carries local files (the desktop's file-drop format, text/uri-list).
bool HasFileDropFormat(const QMimeData* data);
// The local paths of a file drop, in the order given (their bytes as the file system has
// them); empty when there are none.
std::vector<std::string> GetDroppedFileNames(const QMimeData* data);
// The remote entries of the data, or none; valid while the data object lives.
const TFTPFileData* GetRemoteFilesData(const QMimeData* data);

} // namespace qx
