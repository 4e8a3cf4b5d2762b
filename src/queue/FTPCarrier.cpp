// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/FTPCarrier.h"

namespace qx {

void TFTPCarrier::TakeJobFrom(const TFTPCarryItem& item) {
    static_cast<TCarryJob&>(*this) = item;
    FileSize = item.FileSize;
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
