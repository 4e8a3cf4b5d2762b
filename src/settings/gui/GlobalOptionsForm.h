// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/GlobalOptionsEditor.h"
#include "settings/gui/GlobalOptionsFormPages.h"
#include "widgets/CaptionedDialog.h"

#include <functional>

class QLineEdit;
class QPushButton;
class QTabWidget;

namespace qx {

class TGlobalOptions;
class TProxyFields;
class TSoundPlayer;

// The modal options dialog. "OK" copies the controls into the options and saves them;
// "Cancel" changes nothing.
class TGlobalOptionsForm final : public TCaptionedDialog {
    Q_OBJECT
public:
    // Plays a wave file asynchronously; a missing file or sound device stays silent.
    using TPlaySound = std::function<void(const QString& file)>;

    explicit TGlobalOptionsForm(TGlobalOptions& options, QWidget* parent = nullptr);
    ~TGlobalOptionsForm() override;

    // Replaces the built-in player of the "Play Wav" buttons.
    void SetPlaySound(TPlaySound playSound) { m_playSound = std::move(playSound); }

    static constexpr int kHelpContext = 1007;

private:
    void FillControls();
    void ConnectButtons();
    void SelectFont();
    void SelectColor();
    void BrowseFolder();
    void SelectWav(QLineEdit& edit);
    void SelectProgram(QLineEdit& edit);
    void PlayWav(const QString& file);
    void Confirm();

    TGlobalOptions& m_options;
    TGlobalOptionsEditor m_editor;
    TGlobalOptionsControls m_controls;
    TPlaySound m_playSound;
    QTabWidget* m_pages = nullptr;
    TProxyFields* m_proxy = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    TSoundPlayer* m_sounds = nullptr; // when the program plays none for the dialog
};

} // namespace qx
