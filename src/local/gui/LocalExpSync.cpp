// SPDX-License-Identifier: GPL-3.0-or-later
// Synchronize: this window's folder and the current remote explorer's, made alike.

#include "local/gui/LocalExpForm.h"

#include "remote/gui/RemoteExpForm.h"

namespace qx {

void TLocalExpForm::ToolSynchronizeActionExecute() {
    if (TRemoteExpForm* remote = CurrentRemoteExplorer()) {
        remote->Synchronize(LocalFolder());
    }
}

} // namespace qx
