// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/FTPCarryItem.h"

namespace qx {

const char* TransferTypeName(TFTPTransferType type) {
    switch (type) {
    case TFTPTransferType::ftpTypeASCII:
        return "ASCII";
    case TFTPTransferType::ftpTypeBinary:
        return "Binary";
    case TFTPTransferType::ftpTypeAuto:
        return "Auto";
    }
    return "Binary";
}

} // namespace qx
