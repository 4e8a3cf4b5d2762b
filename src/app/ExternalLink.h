// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

namespace qx {

// Starts the desktop's program for an address (a web page, a new mail).
using TUrlOpener = std::function<bool(const QUrl& url)>;

// Opens the address with the desktop's program for it. When no program can be started, a
// message box says so and shows the address (selectable, for copying): the shown text is the
// address as the user would type it elsewhere, for a mail the bare mail address.
void OpenExternalLink(QWidget* parent, const QUrl& url, const QString& shownAddress,
                      const TUrlOpener& open = {});

} // namespace qx
