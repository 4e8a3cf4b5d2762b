#pragma once

#include "local/gui/LocalExpForm.h"

class QAction;
class QMenu;

namespace qx {

// The local explorer's actions, by role, for the files of the window.
struct TLocalExpForm::TActions {
    QAction* Upload = nullptr;
    QAction* UploadInQueue = nullptr;
    QAction* Open = nullptr;
    QAction* Print = nullptr;
    QAction* UpOneLevel = nullptr;
    QAction* NewFolder = nullptr;
    QAction* Shortcut = nullptr;
    QAction* Delete = nullptr;
    QAction* Rename = nullptr;
    QAction* Filtering = nullptr;
    QAction* Properties = nullptr;
    QAction* ContextMenu = nullptr;
    QAction* Hide = nullptr;
    QAction* Cut = nullptr;
    QAction* Copy = nullptr;
    QAction* Paste = nullptr;
    QAction* SelectAll = nullptr;
    QAction* InvertSelection = nullptr;
    QAction* Toolbars[4] = {};
    QAction* Styles[4] = {};
    QAction* ViewStyleButton = nullptr;
    QAction* Arrange[4] = {};
    int ArrangeImage[4] = {};
    int ShownStyle = -1;
    QAction* Refresh = nullptr;
    QAction* FindFile = nullptr;
    QAction* FindComputer = nullptr;
    QAction* NetConnect = nullptr;
    QAction* NetDisconnect = nullptr;
    QMenu* Arranges = nullptr;
};

} // namespace qx
