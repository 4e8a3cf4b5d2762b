// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ShellIcons.h"

#include <QIcon>
#include <QString>

#include <mutex>
#include <unordered_map>
#include <vector>

namespace qx {

// Shell icons and type names from the MIME database and the icon theme. Icons get stable
// indexes in one shared list as file types are met, so that list items can keep a number;
// GetIconIndex and GetTypeName may be called from any thread, Icon() only from the
// user-interface thread.
class TQtShellIcons final : public TShellIcons {
public:
    TQtShellIcons();

    int GetIconIndex(const std::string& fileName) const override;
    std::string GetTypeName(const std::string& fileName) const override;

    // The picture of an index; a generic file icon for an unknown index.
    QIcon Icon(int index) const;
    // The same picture with the link overlay in its lower left corner.
    QIcon LinkIcon(int index) const;
    int Count() const;

private:
    int IndexOfIconName(const QString& name) const;

    mutable std::mutex m_mutex;
    mutable std::unordered_map<std::string, int> m_indexByName;
    mutable std::vector<QString> m_names;
    mutable std::vector<QIcon> m_icons;     // user-interface thread only, filled lazily
    mutable std::vector<QIcon> m_linkIcons; // with the link overlay; user-interface thread only
};

// The installed instance when it is the Qt one, else null.
const TQtShellIcons* QtShellIcons();

} // namespace qx
