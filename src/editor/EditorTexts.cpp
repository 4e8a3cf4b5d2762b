// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorTexts.h"

#include <cstdio>

namespace qx {

std::string EditFileTitle(const TRemoteEditFile& file) {
    return "[" + file.HostName + file.HostDirName + file.FileName + "]";
}

std::string EditorCaptionText(const TRemoteEditFile* file) {
    return file != nullptr ? EditFileTitle(*file) : std::string();
}

TEditorStatus EditorStatus(int line, int column, bool modified, bool overwrite, bool capsLock) {
    char caret[32];
    std::snprintf(caret, sizeof caret, "%3d: %3d", line, column);
    return {caret, modified ? "Modified" : "", overwrite ? "Overwrite" : "Insert",
            capsLock ? "Caps Lock" : ""};
}

} // namespace qx
