#pragma once

#include "remote/gui/RemoteExpForm.h"

class QAction;

namespace qx {

// The remote explorer's actions, for the menus, toolbars and pop-up menus that share them.
struct TRemoteExpForm::TActions {
    QAction* Download = nullptr;
    QAction* DownloadTo = nullptr;
    QAction* DownloadInQueue = nullptr;
    QAction* Open = nullptr;
    QAction* OnlineEdit = nullptr;
    QAction* Print = nullptr;
    QAction* UpOneLevel = nullptr;
    QAction* NewFolder = nullptr;
    QAction* ChangeFolder = nullptr;
    QAction* Delete = nullptr;
    QAction* Rename = nullptr;
    QAction* ChangePerm = nullptr;
    QAction* Filtering = nullptr;
    QAction* Properties = nullptr;
    QAction* Close = nullptr;
    QAction* Copy = nullptr;
    QAction* Paste = nullptr;
    QAction* CopyURL = nullptr;
    QAction* SelectAll = nullptr;
    QAction* InvertSelection = nullptr;
    QAction* LogPanel = nullptr;
    QAction* Toolbars[4] = {}; // File, Edit, View, Tool
    QAction* Styles[4] = {};   // large icons, small icons, list, details
    QAction* Arrange[5] = {};  // by name, type, size, date, permission
    int ArrangeImage[5] = {};  // 0 none, 1 ascending, 2 descending: the image shown
    QAction* Refresh = nullptr;
    QAction* ServerInfo = nullptr;
    QAction* ViewStyleButton = nullptr;
    int ShownStyle = -1;
    QAction* Abort = nullptr;
    QAction* Resuming = nullptr;
    QAction* Types[3] = {}; // ASCII, binary, auto
    QAction* TypeButton = nullptr;
    int ShownType = -1;
    QAction* Telnet = nullptr;
};

} // namespace qx
