// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Translatable.h"

// The requests of the threaded FTP client, one line each:
//   X(Name, code, status text, consumes HostFileNames, consumes LocalFileNames)
// Name gives the request method TThreadedFTPClient::Name(), its done event
// TThreadedFTPClient::OnNameDone and the operation TFTPClientThread::OpName() that the worker
// runs for it. A new request is a line here and its operation; Abort has a code of its own.
#define QX_FTP_REQUESTS(X)                                                                         \
    X(Connect, 1124, QX_TRANSLATE_NOOP("qx::Core", "% Connecting"), false, false)                  \
    X(ChangeFolder, 1125, QX_TRANSLATE_NOOP("qx::Core", "% Changing Path"), false, false)          \
    X(GetFolder, 1126, QX_TRANSLATE_NOOP("qx::Core", "% Getting Path"), false, false)              \
    X(GetListItems, 1127, QX_TRANSLATE_NOOP("qx::Core", "% Listing"), false, false)                \
    X(Rename, 1128, QX_TRANSLATE_NOOP("qx::Core", "% Renaming"), false, false)                     \
    X(Remove, 1129, QX_TRANSLATE_NOOP("qx::Core", "% Removing"), true, false)                      \
    X(DownloadFile, 1130, QX_TRANSLATE_NOOP("qx::Core", "% Downloading"), false, false)            \
    X(UploadFile, 1131, QX_TRANSLATE_NOOP("qx::Core", "% Uploading"), false, false)                \
    X(MakeFolder, 1133, QX_TRANSLATE_NOOP("qx::Core", "% Making Folder"), false, false)            \
    X(Downloads, 1134, QX_TRANSLATE_NOOP("qx::Core", "% Downloading"), true, true)                 \
    X(Uploads, 1135, QX_TRANSLATE_NOOP("qx::Core", "% Uploading"), true, true)                     \
    X(Quit, 1136, QX_TRANSLATE_NOOP("qx::Core", "% Quitting"), false, false)                       \
    X(ChangePerms, 1137, QX_TRANSLATE_NOOP("qx::Core", "% Changing Permission"), true, false)      \
    X(Uppercase, 1138, QX_TRANSLATE_NOOP("qx::Core", "% Uppercasing"), true, false)                \
    X(Lowercase, 1139, QX_TRANSLATE_NOOP("qx::Core", "% Lowercasing"), true, false)
