// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "remote/RemoteEditFile.h"

#include <string>

namespace qx {

// The texts of the online editor's caption and status bar (the window translates the words of
// the status bar).

// "[host folder file]", the host and the path run together.
std::string EditFileTitle(const TRemoteEditFile& file);
// The part of the caption after the window's name; empty without a page.
std::string EditorCaptionText(const TRemoteEditFile* file);

// The four panels of the status bar.
struct TEditorStatus {
    std::string Caret;    // "%3d: %3d", line and column from 1
    std::string Modified; // "Modified" or empty
    std::string Mode;     // "Insert" or "Overwrite"
    std::string CapsLock; // "Caps Lock" or empty
};
TEditorStatus EditorStatus(int line, int column, bool modified, bool overwrite, bool capsLock);

} // namespace qx
