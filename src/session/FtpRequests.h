// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The requests of the threaded FTP client, one line each:
//   X(Name, code, status text, consumes HostFileNames, consumes LocalFileNames)
// Name gives the request method TThreadedFTPClient::Name(), its done event
// TThreadedFTPClient::OnNameDone and the operation TFTPClientThread::OpName() that the worker
// runs for it. A new request is a line here and its operation; Abort has a code of its own.
#define QX_FTP_REQUESTS(X)                                                                         \
    X(Connect, 1124, "% Connecting", false, false)                                                 \
    X(ChangeFolder, 1125, "% Changing Path", false, false)                                         \
    X(GetFolder, 1126, "% Getting Path", false, false)                                             \
    X(GetListItems, 1127, "% Listing", false, false)                                               \
    X(Rename, 1128, "% Renaming", false, false)                                                    \
    X(Remove, 1129, "% Removing", true, false)                                                     \
    X(DownloadFile, 1130, "% Downloading", false, false)                                           \
    X(UploadFile, 1131, "% Uploading", false, false)                                               \
    X(MakeFolder, 1133, "% Making Folder", false, false)                                           \
    X(Downloads, 1134, "% Downloading", true, true)                                                \
    X(Uploads, 1135, "% Uploading", true, true)                                                    \
    X(Quit, 1136, "% Quiting", false, false)                                                       \
    X(ChangePerms, 1137, "% Changing Permission", true, false)                                     \
    X(Uppercase, 1138, "% Uppercasing", true, false)                                               \
    X(Lowercase, 1139, "% Lowercasing", true, false)
