// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowPlace.h"

namespace qx {

void TWindowPlace::WritePlace(TConfigStore& store, std::string_view key) const {
    store.WriteNumber(key, "Left", Left);
    store.WriteNumber(key, "Top", Top);
    store.WriteNumber(key, "Width", Width);
    store.WriteNumber(key, "Height", Height);
}

} // namespace qx
