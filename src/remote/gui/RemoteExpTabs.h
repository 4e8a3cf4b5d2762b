#pragma once

#include <QString>

class QWidget;

namespace qx {

// The place where remote explorers show themselves as tabs and set the caption text: the
// main window.
class TRemoteExpTabs {
public:
    virtual int AddRemoteExpTab(const QString& hostName, QWidget* explorer) = 0;
    virtual void DeleteRemoteExpTab(QWidget* explorer) = 0;
    virtual void SelectRemoteExpTab(QWidget* explorer) = 0;
    // The text the active explorer shows after the product name in the caption.
    virtual void SetCaptionText(const QString& text) = 0;

protected:
    ~TRemoteExpTabs() = default;
};

} // namespace qx
