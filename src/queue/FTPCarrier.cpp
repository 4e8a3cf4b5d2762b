// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/FTPCarrier.h"

namespace qx {

void TFTPCarrier::TakeJobFrom(const TFTPCarryItem& item) {
    FileName = item.FileName;
    SrcHostName = item.SrcHostName;
    SrcPort = item.SrcPort;
    SrcUserName = item.SrcUserName;
    SrcPassword = item.SrcPassword;
    SrcPath = item.SrcPath;
    DestHostName = item.DestHostName;
    DestPort = item.DestPort;
    DestUserName = item.DestUserName;
    DestPassword = item.DestPassword;
    DestPath = item.DestPath;
    FileSize = item.FileSize;
    ResumeTransfer = item.ResumeTransfer;
    SrcTransferType = item.SrcTransferType;
    DestTransferType = item.DestTransferType;
    SrcEncryption = item.SrcEncryption;
    DestEncryption = item.DestEncryption;
    SrcProtocol = item.SrcProtocol;
    SrcSsh = item.SrcSsh;
    DestProtocol = item.DestProtocol;
    DestSsh = item.DestSsh;
    SrcTimeZoneOffset = item.SrcTimeZoneOffset;
    DestTimeZoneOffset = item.DestTimeZoneOffset;
    PassiveMode = item.PassiveMode;
    Depth = item.Depth;
    LocalRoot = item.LocalRoot;
    UploadToTemporaryName = item.UploadToTemporaryName;
}

bool TFTPCarrier::StartJobFor(const TFTPCarryItem& item) {
    static constexpr unsigned kFileJobs[] = {carrier_job::Download, carrier_job::Upload,
                                             carrier_job::Transfer};
    static constexpr unsigned kFolderJobs[] = {
        carrier_job::ExploreDownload, carrier_job::ExploreUpload, carrier_job::ExploreTransfer};
    const auto direction = static_cast<std::size_t>(item.Direction);
    if (direction > 2) {
        return false;
    }
    RunJob(item.IsFolder ? kFolderJobs[direction] : kFileJobs[direction]);
    return true;
}

} // namespace qx
