// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace qx {

// What the tab of an explorer is named after: its host; the user, the port and the site tell
// apart tabs that would read alike.
struct TRemoteExpTabName {
    QString HostName;
    QString UserName;
    QString Port;
    QString SiteName; // none for a quick connection
};

// The place where remote explorers show themselves as tabs and set the caption text: the
// main window.
class TRemoteExpTabs {
public:
    virtual int AddRemoteExpTab(const TRemoteExpTabName& name, QWidget* explorer) = 0;
    virtual void DeleteRemoteExpTab(QWidget* explorer) = 0;
    // The explorer is closing: its tab stays until it has gone, but no longer shows it.
    virtual void DisableRemoteExpTab(QWidget* explorer) = 0;
    virtual void SelectRemoteExpTab(QWidget* explorer) = 0;
    // The text the active explorer shows after the product name in the caption.
    virtual void SetCaptionText(const QString& text) = 0;

protected:
    ~TRemoteExpTabs() = default;
};

} // namespace qx
