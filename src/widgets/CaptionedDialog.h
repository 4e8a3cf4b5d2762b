// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <initializer_list>

class QDialogButtonBox;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace qx {

class TTitlePanel;

// The width a window needs for the window manager to show its title whole: the title in the
// bold face of title bars, and room for the icon and the buttons beside it.
int TitleBarWidth(const QWidget& window);

// The frame the small dialogs of the explorers share: the program's font, a title panel with
// the company text over the body, a size fixed by the contents but never narrower than the
// title, and a place in the middle of the screen (not over the parent) when first shown.
class TCaptionedDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kCompanyText = "Pellucor's";

    void setVisible(bool visible) override;

protected:
    // A size of 0 or less keeps the default point size.
    TCaptionedDialog(const QString& fontName, int fontSize, QWidget* parent);

    TTitlePanel& TitlePanel() const { return *m_title; }
    // The title panel's texts, and the window's title: the given one, or by default the
    // company text, the application text and the caption.
    void SetTitles(const QString& application, const QString& caption,
                   const QString& windowTitle = {});
    // Where a dialog puts its controls and buttons, inside the usual margins.
    QVBoxLayout& Body() const { return *m_body; }
    // Puts the contents into the body with an OK button ("OkBitBtn", default, focused) under it.
    void AddContentsWithOkButton(QWidget* contents);
    // Puts the contents into the body with a row of the buttons, aligned to the right, under it.
    void AddContentsWithButtonRow(QWidget* contents, std::initializer_list<QPushButton*> buttons);
    // An OK button ("OkBitBtn", default) that accepts the dialog and a Cancel button
    // ("CancelBitBtn") that rejects it.
    QDialogButtonBox* NewOkCancelButtons();

    void showEvent(QShowEvent* event) override;

private:
    void CentreOnScreen();

    TTitlePanel* m_title;
    QVBoxLayout* m_body;
    bool m_placed = false;
};

} // namespace qx
